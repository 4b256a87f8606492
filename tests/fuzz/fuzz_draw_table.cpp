// Draw lists as text: the draw table of a reply, and the plan-replay tool's history
// file, which shares the row format.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "draws/draw_table.h"
#include "tests/fuzz/fuzz_check.h"
#include "tools/draw_history_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace veltra;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    DrawTable table;
    const bool parsed = ParseDrawTable(text, table);
    FUZZ_CHECK(parsed == !text.empty());
    FUZZ_CHECK((table.Rows() == 0) == (table.Columns() == 0));
    for (int row = 0; row <= table.Rows() + 1; ++row) {
        for (int column = 0; column <= table.Columns() + 1; ++column) {
            const std::string& cell = table.Cell(row, column);
            const bool inside =
                row >= 1 && row <= table.Rows() && column >= 1 && column <= table.Columns();
            if (!inside) FUZZ_CHECK(cell.empty());
            // A cell is a field of the text: never longer, never holding a separator.
            FUZZ_CHECK(cell.size() <= size && cell.find("|+|") == std::string::npos);
        }
    }

    const DrawHistory replayHistory = ParseDrawHistory(text);
    FUZZ_CHECK(replayHistory.ok == replayHistory.error.empty());
    if (!replayHistory.ok) FUZZ_CHECK(replayHistory.draws.empty());
    return 0;
}
