// Draw history parsing for the replay tool.
#include "tools/draw_history_file.h"

#include "base/text_integer.h"
#include "base/text_split.h"

namespace veltra {

DrawHistory ParseDrawHistory(std::string_view text) {
    DrawHistory history;
    int lineNumber = 0;
    for (std::string line : SplitText(text, "\n")) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        const std::vector<std::string> fields = SplitText(line, "|+|");
        if (fields.size() != 5) {
            history.error = "line " + std::to_string(lineNumber) +
                            ": expected 5 fields joined by |+|, found " +
                            std::to_string(fields.size());
            history.draws.clear();
            return history;
        }
        DrawRecord record;
        record.tag = fields[0];
        record.period = fields[1];
        record.drawTime = fields[2];
        record.numbers = fields[3];
        record.seed = Int32OfText(fields[4]);
        history.draws.push_back(std::move(record));
    }
    history.ok = true;
    return history;
}

}  // namespace veltra
