// The draw table and the parsing of draw lists.
#include "draws/draw_table.h"

#include <algorithm>

#include "base/text_split.h"

namespace veltra {

const std::string& DrawTable::Cell(int row, int column) const {
    static const std::string kEmpty;
    if (row < 1 || row > rows || column < 1 || column > columns) return kEmpty;
    return cellTexts[static_cast<size_t>(row - 1) * static_cast<size_t>(columns) +
                     static_cast<size_t>(column - 1)];
}

void DrawTable::Assign(int rowCount, int columnCount, std::vector<std::string> cells) {
    if (rowCount <= 0 || columnCount <= 0) {
        rows = 0;
        columns = 0;
        cellTexts.clear();
        return;
    }
    rows = rowCount;
    columns = columnCount;
    cellTexts = std::move(cells);
    cellTexts.resize(static_cast<size_t>(rows) * static_cast<size_t>(columns));
}

bool ParseDrawTable(std::string_view text, DrawTable& table) {
    if (text.empty()) return false;
    const std::vector<std::string> rows = SplitText(text, "\r\n");
    std::vector<std::string> flat;
    for (const std::string& row : rows) {
        std::vector<std::string> pieces = SplitText(row, "|+|");
        for (std::string& piece : pieces) flat.push_back(std::move(piece));
    }
    const size_t columns = rows.empty() ? 0 : flat.size() / rows.size();
    table.Assign(static_cast<int>(rows.size()), static_cast<int>(columns), std::move(flat));
    return true;
}

bool DrawListRowsAlign(std::string_view text) {
    const std::vector<std::string> rows = SplitText(text, "\r\n");
    if (rows.empty()) return true;
    const size_t width = SplitText(rows.front(), "|+|").size();
    return std::all_of(rows.begin(), rows.end(), [width](const std::string& row) {
        return SplitText(row, "|+|").size() == width;
    });
}

}  // namespace veltra
