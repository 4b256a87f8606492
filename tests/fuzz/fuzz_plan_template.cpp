// Plan template texts: entries, names, comments and sections read, every section's
// words expanded and joined as written and as expanded.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "plan/plan_template.h"
#include "plan/template_entry.h"
#include "platform/headless/headless_window_system.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

// Words in a joined text: each is followed by a space or by CR LF, and holds neither.
size_t WordCount(std::string_view joined) {
    size_t count = 0;
    for (size_t i = 0; i < joined.size(); ++i) {
        if (joined[i] == ' ') ++count;
        if (joined[i] == '\r' && i + 1 < joined.size() && joined[i + 1] == '\n') ++count;
    }
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace veltra;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    HeadlessWindowSystem windows;
    PlanTemplate planTemplate(windows);
    std::vector<TemplateEntry> entries(2);
    const int count = planTemplate.ParseTemplate(text, entries);
    FUZZ_CHECK(count >= 0 && static_cast<size_t>(count) == entries.size());
    // At most one format message per entry, for the entries without a name.
    FUZZ_CHECK(windows.Messages().size() <= entries.size());
    for (const TemplateEntry& entry : entries) {
        FUZZ_CHECK(entry.sectionCount >= 0 &&
                   static_cast<size_t>(entry.sectionCount) == entry.sections.size());
        for (const TemplateSection& section : entry.sections) {
            // Every word is added to both lists, expanded or not.
            FUZZ_CHECK(WordCount(section.written) == WordCount(section.expanded));
        }
    }
    return 0;
}
