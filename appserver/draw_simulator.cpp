// Schedule arithmetic on one running period index, and the dice drawn per period.
#include "appserver/draw_simulator.h"

#include <algorithm>
#include <cstdio>

#include "base/lcg_random.h"
#include "base/md5_hex.h"
#include "base/text_integer.h"
#include "server/hex_text.h"

namespace veltra {
namespace {

int64_t FloorDiv(int64_t a, int64_t b) {
    return a / b - ((a % b != 0 && (a < 0) != (b < 0)) ? 1 : 0);
}

int64_t FloorMod(int64_t a, int64_t b) {
    return a - FloorDiv(a, b) * b;
}

}  // namespace

DrawSimulator::DrawSimulator(const LocalZone& zone, int64_t seed) : zone(zone), seed(seed) {}

DrawSimulator::DrawSimulator(const LocalZone& zone, int64_t seed, int intervalSeconds,
                             int64_t startSeconds)
    : zone(zone), seed(seed), interval(std::max(1, intervalSeconds)) {
    const CivilTime start = zone.ToLocal(startSeconds);
    demoFirstIndex = DaysFromCivil(start.year, start.month, start.day) * kPeriodsPerDay;
    demoFirstDraw = (FloorDiv(startSeconds, interval) + 1) * interval;
}

int64_t DrawSimulator::NewestIndex(int64_t now) const {
    if (interval > 0) return demoFirstIndex + FloorDiv(now - demoFirstDraw, interval);
    const CivilTime local = zone.ToLocal(now);
    const int64_t day = DaysFromCivil(local.year, local.month, local.day);
    const int secondOfDay = local.hour * 3600 + local.minute * 60 + local.second;
    if (secondOfDay < kFirstDrawSecond) return day * kPeriodsPerDay - 1;
    const int64_t serial =
        std::min<int64_t>(kPeriodsPerDay - 1, (secondOfDay - kFirstDrawSecond) / kIntervalSeconds);
    return day * kPeriodsPerDay + serial;
}

DrawRow DrawSimulator::RowOf(int64_t index, bool withDraw) const {
    const int64_t day = FloorDiv(index, kPeriodsPerDay);
    const int serial = static_cast<int>(FloorMod(index, kPeriodsPerDay));
    const CivilTime date = CivilFromDays(day);
    CivilTime drawTime = date;
    if (interval > 0) {
        drawTime = zone.ToLocal(demoFirstDraw + (index - demoFirstIndex) * interval);
    } else {
        const int second = kFirstDrawSecond + serial * kIntervalSeconds;
        drawTime.hour = second / 3600;
        drawTime.minute = second / 60 % 60;
        drawTime.second = second % 60;
    }
    char serialText[16];
    std::snprintf(serialText, sizeof serialText, "%03d", serial + 1);
    DrawRow row;
    row.tag = kTag;
    row.period = CompactDate(date) + serialText;
    row.drawTime = FormatDateTime(drawTime);
    if (withDraw) DrawOf(row.period, &row.numbers, &row.seed);
    return row;
}

void DrawSimulator::DrawOf(const std::string& period, std::string* numbers,
                           std::string* drawSeed) const {
    const std::string digest = Md5Hex(std::to_string(seed) + "|" + period);
    LcgRandom dice;
    dice.Seed(WrapInt32(ParseNumber(digest.substr(0, 8), kBase16)));
    *numbers = std::to_string(dice.Range(1, 6));
    for (int i = 0; i < 2; ++i) *numbers += "," + std::to_string(dice.Range(1, 6));
    int32_t value = WrapInt32(ParseNumber(digest.substr(8, 8), kBase16));
    if (value == 0) value = 1;
    *drawSeed = std::to_string(value);
}

DrawRow DrawSimulator::Newest(int64_t now) const {
    return RowOf(NewestIndex(now), true);
}

DrawRow DrawSimulator::Coming(int64_t now) const {
    return RowOf(NewestIndex(now) + 1, false);
}

std::vector<DrawRow> DrawSimulator::Recent(int64_t now, int count) const {
    std::vector<DrawRow> rows;
    const int64_t newest = NewestIndex(now);
    for (int i = 0; i < count; ++i) rows.push_back(RowOf(newest - i, true));
    return rows;
}

std::vector<DrawRow> DrawSimulator::OnDate(int64_t now, const CivilTime& date) const {
    const int64_t first = DaysFromCivil(date.year, date.month, date.day) * kPeriodsPerDay;
    const int64_t last = std::min(first + kPeriodsPerDay - 1, NewestIndex(now));
    std::vector<DrawRow> rows;
    for (int64_t index = last; index >= first; --index) rows.push_back(RowOf(index, true));
    return rows;
}

}  // namespace veltra
