// Calendar dates and times of day without a time zone, and their texts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace veltra {

// A local calendar date-time: year, month 1..12, day 1..31, hour, minute, second.
struct CivilTime {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;

    bool operator==(const CivilTime&) const = default;
};

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar.
int64_t DaysFromCivil(int year, int month, int day);

// The date of a day number (time of day 00:00:00).
CivilTime CivilFromDays(int64_t days);

// True for a date that exists (leap years included), years 1..9999.
bool IsValidDate(int year, int month, int day);

// "yyyy-mm-dd hh:mm:ss", every part zero-padded.
std::string FormatDateTime(const CivilTime& time);

// "yyyymmdd".
std::string CompactDate(const CivilTime& time);

// Reads "yyyy-m-d" (leading zeros optional). The whole text must be the date, except
// that a time of day may follow after one space ("yyyy-mm-dd hh:mm:ss"), whose fields
// are then read too. nullopt for anything else or a date that does not exist.
std::optional<CivilTime> ParseDateTime(std::string_view text);

}  // namespace veltra
