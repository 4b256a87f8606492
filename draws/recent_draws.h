// The recent draws, newest first and 1-based: the history the plan is rebuilt from
// and to which every live draw is added.
#pragma once

#include <deque>

#include "draws/draw_record.h"

namespace veltra {

class RecentDraws {
  public:
    int Count() const { return static_cast<int>(records.size()); }
    // The record at a 1-based index; a fresh record when the index is out of range.
    const DrawRecord& At(int index) const;
    void InsertFront(DrawRecord record) { records.push_front(std::move(record)); }
    // Exactly count fresh records; the old ones are released.
    void Resize(int count);
    DrawRecord& operator[](int index) { return records.at(static_cast<size_t>(index - 1)); }

  private:
    std::deque<DrawRecord> records;
};

}  // namespace veltra
