// The local application server's draw-history file: read, then served as the newest
// draw, the coming period, the recent draws and the draws of a date.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "appserver/civil_time.h"
#include "appserver/draw_history.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace veltra;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const DrawHistory::LoadResult loaded = DrawHistory::Parse(text);
    FUZZ_CHECK(loaded.ok == loaded.error.empty());
    if (!loaded.ok) return 0;
    const DrawHistory& history = loaded.history;
    FUZZ_CHECK(!history.Rows().empty());
    history.Newest(0);
    history.Coming(0);
    FUZZ_CHECK(history.Recent(0, 3).size() <= 3);
    // The dates the first rows name, and one no row names.
    for (size_t i = 0; i < history.Rows().size() && i < 8; ++i) {
        const std::string& drawTime = history.Rows()[i].drawTime;
        if (const auto date = ParseDateTime(drawTime.substr(0, 10))) history.OnDate(0, *date);
    }
    history.OnDate(0, CivilTime{2024, 1, 5});
    return 0;
}
