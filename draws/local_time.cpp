// Local date-time texts.
#include "draws/local_time.h"

#include <time.h>

#include "base/regex.h"
#include "base/text_integer.h"

namespace veltra {

std::optional<LocalDateTime> ParseLocalDateTime(std::string_view text) {
    static const Regex pattern(
        "\\s*(\\d{4})\\s*(?:[-/.]|年)\\s*(\\d{1,2})\\s*(?:[-/.]|月)\\s*(\\d{1,2})\\s*日?"
        "(?:(?:\\s+|T)(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?)?\\s*");
    const auto m = pattern.WholeMatch(text);
    if (!m) return std::nullopt;
    LocalDateTime t;
    t.year = static_cast<int>(IntegerOfText(m->Group(1)));
    t.month = static_cast<int>(IntegerOfText(m->Group(2)));
    t.day = static_cast<int>(IntegerOfText(m->Group(3)));
    t.hour = static_cast<int>(IntegerOfText(m->Group(4)));
    t.minute = static_cast<int>(IntegerOfText(m->Group(5)));
    t.second = static_cast<int>(IntegerOfText(m->Group(6)));
    static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (t.year % 4 == 0 && t.year % 100 != 0) || t.year % 400 == 0;
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > kDays[t.month - 1] ||
        (t.month == 2 && t.day == 29 && !leap) || t.hour > 23 || t.minute > 59 || t.second > 59) {
        return std::nullopt;
    }
    return t;
}

std::optional<int64_t> LocalToUnix(const LocalDateTime& local, bool milliseconds) {
    tm calendar{};
    calendar.tm_year = local.year - 1900;
    calendar.tm_mon = local.month - 1;
    calendar.tm_mday = local.day;
    calendar.tm_hour = local.hour;
    calendar.tm_min = local.minute;
    calendar.tm_sec = local.second;
    calendar.tm_isdst = -1;  // the zone's own rule for that date
    const time_t seconds = mktime(&calendar);
    if (seconds == static_cast<time_t>(-1) && !(local.year == 1969 || local.year == 1970))
        return std::nullopt;
    return milliseconds ? static_cast<int64_t>(seconds) * 1000 : static_cast<int64_t>(seconds);
}

}  // namespace veltra
