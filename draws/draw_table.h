// A table of texts, rows by columns, filled row by row: the form in which the draw
// lists of the server are handed on.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace veltra {

class DrawTable {
  public:
    int Rows() const { return rows; }
    int Columns() const { return columns; }
    // The cell at a 1-based row and column; empty outside the table.
    const std::string& Cell(int row, int column) const;
    // Makes the table rows x columns from cells taken row by row: surplus cells are
    // dropped, missing ones are empty. A zero dimension gives the empty table.
    void Assign(int rowCount, int columnCount, std::vector<std::string> cells);

  private:
    int rows = 0;
    int columns = 0;
    std::vector<std::string> cellTexts;
};

// Fills table from a draw list: rows separated by CR LF, fields by "|+|". The
// column count is the number of fields over the number of rows (rounded down); the
// fields fill the table row by row. False for an empty text (table unchanged);
// a list of nothing but line breaks gives the empty table.
bool ParseDrawTable(std::string_view text, DrawTable& table);

// True when every row of a draw list has the same number of fields, so that the
// table ParseDrawTable makes of it holds each row's fields in that row. A row with a
// field missing or one too many (an empty row too) shifts every row after it.
bool DrawListRowsAlign(std::string_view text);

}  // namespace veltra
