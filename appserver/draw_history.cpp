// Parsing and serving a draw-history file.
#include "appserver/draw_history.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "appserver/draw_simulator.h"
#include "base/text_split.h"

namespace veltra {
namespace {

// True when text is well-formed UTF-8 (no overlongs, no surrogates).
bool IsUtf8(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        size_t length = 0;
        uint32_t min = 0;
        uint32_t code = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            length = 2, code = c & 0x1F, min = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3, code = c & 0x0F, min = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4, code = c & 0x07, min = 0x10000;
        } else {
            return false;
        }
        if (i + length > text.size()) return false;
        for (size_t k = 1; k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

bool FieldIsSafe(std::string_view field) {
    return std::none_of(field.begin(), field.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == 0x7F || c == '"' || c == '\\';
    });
}

// The date of a row: from its draw time, else from a period number's first 8 digits.
std::optional<CivilTime> DateOfRow(const DrawRow& row) {
    if (row.drawTime.size() >= 10) {
        const size_t space = row.drawTime.find(' ');
        if (auto time = ParseDateTime(std::string_view(row.drawTime).substr(0, space))) {
            return time;
        }
    }
    if (row.period.size() >= 8 && std::all_of(row.period.begin(), row.period.begin() + 8,
                                              [](char c) { return c >= '0' && c <= '9'; })) {
        const std::string text =
            row.period.substr(0, 4) + "-" + row.period.substr(4, 2) + "-" + row.period.substr(6, 2);
        return ParseDateTime(text);
    }
    return std::nullopt;
}

}  // namespace

DrawHistory::LoadResult DrawHistory::Parse(std::string_view text) {
    LoadResult result;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    if (!IsUtf8(text)) {
        result.error = "the history is not UTF-8 text";
        return result;
    }
    int lineNumber = 0;
    for (std::string line : SplitText(text, "\n")) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find_first_not_of(" \t") == std::string::npos) continue;
        const std::vector<std::string> fields = SplitText(line, "|+|");
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (fields.size() != 5 || line.size() < 3 || line.substr(line.size() - 3) == "|+|") {
            result.error = where + "a draw needs five fields joined by |+|";
            return result;
        }
        if (!std::all_of(fields.begin(), fields.end(), FieldIsSafe)) {
            result.error = where + "a field holds a control character, quote or backslash";
            return result;
        }
        result.history.rows.push_back(
            DrawRow{fields[0], fields[1], fields[2], fields[3], fields[4]});
    }
    if (result.history.rows.empty()) {
        result.error = "the history holds no draws";
        return result;
    }
    result.ok = true;
    return result;
}

DrawHistory::LoadResult DrawHistory::Load(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        LoadResult result;
        result.error = "cannot read " + path;
        return result;
    }
    std::ostringstream bytes;
    bytes << file.rdbuf();
    LoadResult result = Parse(bytes.str());
    if (!result.ok) result.error = path + ": " + result.error;
    return result;
}

DrawRow DrawHistory::Newest(int64_t) const {
    return rows.front();
}

DrawRow DrawHistory::Coming(int64_t) const {
    const DrawRow& newest = rows.front();
    DrawRow coming;
    coming.tag = newest.tag;
    const std::string& period = newest.period;
    if (period.size() != 11 ||
        !std::all_of(period.begin(), period.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return coming;
    }
    const std::optional<CivilTime> date =
        ParseDateTime(period.substr(0, 4) + "-" + period.substr(4, 2) + "-" + period.substr(6, 2));
    const int serial = std::stoi(period.substr(8, 3));
    if (!date || serial < 1 || serial > DrawSimulator::kPeriodsPerDay) return coming;
    int64_t day = DaysFromCivil(date->year, date->month, date->day);
    int nextSerial = serial + 1;
    if (nextSerial > DrawSimulator::kPeriodsPerDay) {
        ++day;
        nextSerial = 1;
    }
    CivilTime next = CivilFromDays(day);
    const int second =
        DrawSimulator::kFirstDrawSecond + (nextSerial - 1) * DrawSimulator::kIntervalSeconds;
    next.hour = second / 3600;
    next.minute = second / 60 % 60;
    char serialText[16];
    std::snprintf(serialText, sizeof serialText, "%03d", nextSerial);
    coming.period = CompactDate(next) + serialText;
    coming.drawTime = FormatDateTime(next);
    return coming;
}

std::vector<DrawRow> DrawHistory::Recent(int64_t, int count) const {
    const size_t n = std::min(rows.size(), static_cast<size_t>(std::max(0, count)));
    return std::vector<DrawRow>(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(n));
}

std::vector<DrawRow> DrawHistory::OnDate(int64_t, const CivilTime& date) const {
    std::vector<DrawRow> result;
    for (const DrawRow& row : rows) {
        const std::optional<CivilTime> day = DateOfRow(row);
        if (day && day->year == date.year && day->month == date.month && day->day == date.day) {
            result.push_back(row);
        }
    }
    return result;
}

}  // namespace veltra
