// Ordering dated period numbers.
#include "draws/period_order.h"

#include <algorithm>

namespace veltra {
namespace {

constexpr size_t kDatedPeriodDigits = 8;

bool AllDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

bool IsEarlierPeriod(std::string_view period, std::string_view reference) {
    return period.size() == reference.size() && reference.size() >= kDatedPeriodDigits &&
           AllDigits(period) && AllDigits(reference) && period < reference;
}

}  // namespace veltra
