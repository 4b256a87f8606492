#include <gtest/gtest.h>

#include <sstream>

#include "base/text_integer.h"
#include "tests/support/temp_dir.h"
#include "tools/plan_replay_command.h"

namespace veltra {
namespace {

struct ReplayRun {
    int code;
    std::string out;
    std::string err;
};

ReplayRun Replay(const std::vector<std::string>& args, const std::string& input = "") {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int code = RunPlanReplay(args, in, out, err);
    return {code, out.str(), err.str()};
}

// The 和值大小 forecast of a seed: "小" when the generator's first yield is even.
std::string Forecast(int64_t seed) {
    const uint32_t state = static_cast<uint32_t>(WrapInt32(seed)) * 214013u + 2531011u;
    return ((state >> 16) & 0x7FFF) % 2 == 0 ? "小" : "大";
}

TEST(PlanReplay, LiveRunFollowsByHand) {
    // Oldest last, as in the draw list. Live, periodCount 1: every draw decides the
    // open forecast, and every forecast's seed is serial + uptime + plan seed, the
    // uptime being 5000, 5010, 5020 for the three draws.
    const std::string history =
        "t|+|20261211043|+|2026-12-11 15:30:00|+|1,1,2|+|9\r\n"
        "t|+|20261211042|+|2026-12-11 15:20:00|+|6,6,5|+|8\r\n"
        "\r\n"
        "t|+|20261211041|+|2026-12-11 15:10:00|+|1,2,3|+|7\r\n";
    const ReplayRun run = Replay(
        {"-", "--live", "--periods", "1", "--uptime", "5000", "--uptime-step", "10"}, history);
    ASSERT_EQ(run.code, 0) << run.err;

    const int64_t planSeed = 0xb49bca;
    const std::string f41 = Forecast(41 + 5000 + planSeed);  // first window, made by draw 041
    const std::string f42 = f41;                             // issued by the same draw, same seed
    const std::string f43 = Forecast(42 + 5010 + planSeed);
    const std::string f44 = Forecast(43 + 5020 + planSeed);
    const auto line = [](const char* serial, const std::string& forecast, const char* numbers,
                         bool big) {
        const bool hit = (forecast == "大") == big;
        return std::string(serial) + "期 和值大小【" + forecast + "】 <" + serial + "期-" +
               numbers + ">" + (hit ? "→中" : "→无") + "\r\n";
    };
    const std::string lines = line("041", f41, "1,2,3", false) + line("042", f42, "6,6,5", true) +
                              line("043", f43, "1,1,2", false) + "044期 和值大小【" + f44 +
                              "】 等开\r\n";
    int hits = 0;
    hits += f41 == "小";
    hits += f42 == "大";
    hits += f43 == "小";
    const std::string rates[] = {"0", "25", "50", "75"};
    EXPECT_EQ(run.out, lines + "\r\n\r\n当前计划统计：总计4期，中" + std::to_string(hits) +
                           "期，挂" + std::to_string(3 - hits) + "期，中奖率为" + rates[hits] +
                           "%\r\n彩票有风险，投注需谨慎！");
}

TEST(PlanReplay, RebuildIsReproducibleWithAFixedUptime) {
    test::TempDir dir;
    std::string history;
    for (int serial = 60; serial >= 1; --serial) {
        history += "t|+|20261211" + std::string(serial < 10 ? "00" : "0") + std::to_string(serial) +
                   "|+|2026-12-11 08:30:00|+|" + std::to_string(serial % 6 + 1) + ",3," +
                   std::to_string(serial % 5 + 1) + "|+|" + std::to_string(serial * 1000 + 1) +
                   "\n";
    }
    const std::string file = dir.Write("history.txt", history).string();
    const ReplayRun first = Replay({file, "--uptime", "123", "--uptime-step", "7"});
    const ReplayRun second = Replay({"--uptime", "123", "--uptime-step", "7", file});
    ASSERT_EQ(first.code, 0) << first.err;
    EXPECT_EQ(first.out, second.out);
    // Only the newest 50 draws are replayed: windows of 3 from serial 011 on.
    EXPECT_TRUE(first.out.starts_with("011-013期 和值大小【")) << first.out;
    EXPECT_NE(first.out.find("等开\r\n\r\n\r\n当前计划统计：总计"), std::string::npos);
    EXPECT_TRUE(first.out.ends_with("%\r\n彩票有风险，投注需谨慎！"));
    EXPECT_NE(Replay({file, "--uptime", "124", "--uptime-step", "7"}).out, first.out);

    const ReplayRun single =
        Replay({file, "--periods", "1", "--uptime", "123", "--plan", "和值单双"});
    ASSERT_EQ(single.code, 0) << single.err;
    EXPECT_TRUE(single.out.starts_with("011期 和值单双【")) << single.out;
}

TEST(PlanReplay, BadInputIsRefusedWithAClearMessage) {
    test::TempDir dir;
    const std::string bad =
        dir.Write("bad.txt", "t|+|1|+|x|+|1,2,3|+|5\n\nt|+|2|+|x|+|1,2,3\n").string();
    const std::string good = dir.Write("good.txt", "t|+|20261211001|+|x|+|1,2,3|+|5\n").string();
    struct Case {
        std::vector<std::string> args;
        int code;
        const char* message;
    } cases[] = {
        {{(dir.Path() / "missing.txt").string()}, 1, "cannot read"},
        {{bad}, 1, "line 3: expected 5 fields"},
        {{good, "--plan", "和值"}, 1, "unknown plan type 和值"},
        {{good, "--periods", "0"}, 2, "--periods must be 1, 2 or 3"},
        {{good, "--periods", "2x"}, 2, "--periods must be 1, 2 or 3"},
        {{good, "--periods"}, 2, "--periods needs a value"},
        {{good, "--uptime", "abc"}, 2, "--uptime needs an integer"},
        {{good, "--fast"}, 2, "unknown option --fast"},
        {{}, 2, "no FILE given"},
        {{good, good}, 2, "more than one FILE"},
    };
    for (const Case& c : cases) {
        const ReplayRun run = Replay(c.args);
        EXPECT_EQ(run.code, c.code) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

}  // namespace
}  // namespace veltra
