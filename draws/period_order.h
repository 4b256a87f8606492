// Which of two period numbers names the earlier draw, where that can be told.
#pragma once

#include <string_view>

namespace veltra {

// True when period names a draw before reference: both are period numbers that begin
// with their date (all digits, eight or more, of one length) and period is the
// smaller. Serials too short to hold a date start again every day, and numbers of
// different forms cannot be compared: false for them.
bool IsEarlierPeriod(std::string_view period, std::string_view reference);

}  // namespace veltra
