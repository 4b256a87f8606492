// Draws served from a draw-history file instead of the simulator: the file's rows as
// they are, newest first, whatever the time.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "appserver/draw_source.h"

namespace veltra {

class DrawHistory final : public DrawSource {
  public:
    struct LoadResult;

    // Reads the text of a history file: one draw per line (CR LF or LF), five fields
    // joined by "|+|" (tag, period, draw time, numbers, seed), newest first; blank
    // lines and a UTF-8 byte-order mark are skipped. Fails, naming the line, on a row
    // without exactly five fields, on text that is not UTF-8, on a control character,
    // quote or backslash in a field (they would not survive the draw list's nesting on
    // the wire), and on a file without rows.
    static LoadResult Parse(std::string_view text);
    // Reads the file, then Parse.
    static LoadResult Load(const std::string& path);

    // The first row.
    DrawRow Newest(int64_t now) const override;
    // After a period number yyyymmddNNN (NNN 001..082) the next one on the lottery's
    // daily schedule and its draw time; after any other period text only the tag.
    DrawRow Coming(int64_t now) const override;
    std::vector<DrawRow> Recent(int64_t now, int count) const override;
    // The rows whose draw time (or, when that is no date, period number) falls on the date.
    std::vector<DrawRow> OnDate(int64_t now, const CivilTime& date) const override;

    const std::vector<DrawRow>& Rows() const { return rows; }

  private:
    std::vector<DrawRow> rows;
};

struct DrawHistory::LoadResult {
    bool ok = false;
    DrawHistory history;
    std::string error;
};

}  // namespace veltra
