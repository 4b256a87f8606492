// Day numbers after the well-known civil-from-days arithmetic (era of 400 years).
#include "appserver/civil_time.h"

#include <charconv>
#include <cstdio>

namespace veltra {
namespace {

// Reads an unsigned decimal number of 1..maxDigits digits at the front of text.
std::optional<int> TakeNumber(std::string_view& text, size_t maxDigits) {
    size_t length = 0;
    while (length < text.size() && length < maxDigits + 1 && text[length] >= '0' &&
           text[length] <= '9') {
        ++length;
    }
    if (length == 0 || length > maxDigits) return std::nullopt;
    int value = 0;
    std::from_chars(text.data(), text.data() + length, value);
    text.remove_prefix(length);
    return value;
}

bool TakeChar(std::string_view& text, char c) {
    if (text.empty() || text.front() != c) return false;
    text.remove_prefix(1);
    return true;
}

}  // namespace

int64_t DaysFromCivil(int year, int month, int day) {
    const int64_t y = static_cast<int64_t>(year) - (month <= 2 ? 1 : 0);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yearOfEra = y - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

CivilTime CivilFromDays(int64_t days) {
    const int64_t z = days + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t dayOfEra = z - era * 146097;
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t mp = (5 * dayOfYear + 2) / 153;
    CivilTime time;
    time.day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    time.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    time.year = static_cast<int>(yearOfEra + era * 400 + (time.month <= 2 ? 1 : 0));
    return time;
}

bool IsValidDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

std::string FormatDateTime(const CivilTime& time) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", time.year, time.month,
                  time.day, time.hour, time.minute, time.second);
    return text;
}

std::string CompactDate(const CivilTime& time) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d%02d", time.year, time.month, time.day);
    return text;
}

std::optional<CivilTime> ParseDateTime(std::string_view text) {
    CivilTime time;
    const std::optional<int> year = TakeNumber(text, 4);
    if (!year || !TakeChar(text, '-')) return std::nullopt;
    const std::optional<int> month = TakeNumber(text, 2);
    if (!month || !TakeChar(text, '-')) return std::nullopt;
    const std::optional<int> day = TakeNumber(text, 2);
    if (!day || !IsValidDate(*year, *month, *day)) return std::nullopt;
    time.year = *year;
    time.month = *month;
    time.day = *day;
    if (text.empty()) return time;
    if (!TakeChar(text, ' ')) return std::nullopt;
    const std::optional<int> hour = TakeNumber(text, 2);
    if (!hour || !TakeChar(text, ':')) return std::nullopt;
    const std::optional<int> minute = TakeNumber(text, 2);
    if (!minute || !TakeChar(text, ':')) return std::nullopt;
    const std::optional<int> second = TakeNumber(text, 2);
    if (!second || !text.empty() || *hour > 23 || *minute > 59 || *second > 59) {
        return std::nullopt;
    }
    time.hour = *hour;
    time.minute = *minute;
    time.second = *second;
    return time;
}

}  // namespace veltra
