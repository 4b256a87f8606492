// Plan engine figures: a start-up rebuild over 50 draws, and one live draw (with the
// box text and statistics) on a plan that already holds a year of entries.
#include <benchmark/benchmark.h>

#include "base/lcg_random.h"
#include "plan/plan_display.h"
#include "platform/headless/headless_window_system.h"

namespace veltra {
namespace {

class BenchUptime final : public Clock {
  public:
    int64_t NowUnixSeconds() override { return 0; }
    int32_t UptimeMilliseconds() override { return uptime += 17; }
    int32_t uptime = 1000;
};

DrawRecord Draw(int index, LcgRandom& dice) {
    DrawRecord r;
    const int serial = index % 82 + 1;
    r.period = "2026121" + std::to_string(index / 82 % 10) + (serial < 10 ? "00" : "0") +
               std::to_string(serial);
    r.numbers = std::to_string(dice.Range(1, 6)) + "," + std::to_string(dice.Range(1, 6)) + "," +
                std::to_string(dice.Range(1, 6));
    r.seed = 1000 + index;
    return r;
}

struct Fixture {
    Fixture() {
        book.AddPlanByType("和值大小", "和值大小", 1);
        book.SetResetOnMisses(0);
        display.Bind("main", "编辑框_计划", "和值大小");
        LcgRandom dice;
        dice.Seed(7);
        for (int i = 0; i < 50; ++i) draws.InsertFront(Draw(i, dice));
    }
    HeadlessWindowSystem windows;
    BenchUptime uptime;
    PlanBook book{uptime};
    RecentDraws draws;
    AppState state;
    ProductProfile profile = ThisProduct();
    PlanDisplay display{windows, book, draws, state, profile, uptime};
};

void BM_Rebuild50(benchmark::State& s) {
    Fixture f;
    for (auto _ : s) f.display.Rebuild(3);
}
BENCHMARK(BM_Rebuild50)->Unit(benchmark::kMicrosecond);

// One live draw on a plan holding range(0) entries (each round adds one more;
// 64 rounds leave the size as good as it was).
void BM_LiveDraw(benchmark::State& s) {
    Fixture f;
    LcgRandom dice;
    dice.Seed(11);
    int index = 0;
    while (f.book.PlanAt(1)->EntryCount() < s.range(0)) {
        const DrawRecord draw = Draw(index++, dice);
        f.book.OnDraw(draw.period, draw.numbers, 5 + index, "");
    }
    for (auto _ : s) {
        f.display.OnNewDraw(Draw(index++, dice));
    }
    s.SetComplexityN(s.range(0));
}
BENCHMARK(BM_LiveDraw)
    ->RangeMultiplier(4)
    ->Range(1 << 10, 30000)
    ->Iterations(64)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veltra

BENCHMARK_MAIN();
