// Conversions between Unix seconds and the local date-time texts the server sends.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace veltra {

struct LocalDateTime {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Reads a local date-time text: the date as year, month and day separated by "-",
// "/" or "." (or written 2024年1月5日), optionally followed by a blank or "T" and
// hour:minute[:second]. nullopt when it is no valid date-time.
std::optional<LocalDateTime> ParseLocalDateTime(std::string_view text);

// The instant of a local date-time in the machine's own time zone, in Unix seconds
// (or milliseconds). nullopt when the calendar time cannot be converted.
std::optional<int64_t> LocalToUnix(const LocalDateTime& local, bool milliseconds = false);

}  // namespace veltra
