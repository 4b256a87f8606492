// The whole program against a server that goes down, stalls or answers with replies
// the program cannot read: the countdown goes on, "正在开奖……" stays while no draw
// can be had, nothing on screen comes from an unreadable reply, and the next draw is
// taken once the server is sound again.
#include <gtest/gtest.h>

#include <chrono>

#include "app/main_window_design.h"
#include "tests/faults/program_under_test.h"

namespace veltra {
namespace {

using test::k1005;
using test::kDraw011;
using test::kDraw012;
using test::ProgramInstance;
using test::ProgramUnderTest;

constexpr const char* kDrawing = "正在开奖……";

// What the user sees of the draws and the plan.
struct Screen {
    std::string period;
    std::string dice;
    int historyRows = 0;
    std::string topPeriod;
    std::string plan;
    bool operator==(const Screen&) const = default;
};

Screen ScreenOf(const ProgramInstance& p) {
    std::string dice;
    for (const int i : {0, 2, 4}) dice += p.Text(control::kDrawNumber[i]);
    return {p.Text(control::kCurrentPeriod), dice, p.HistoryRows(), p.TopPeriod(), p.Plan()};
}

std::ostream& operator<<(std::ostream& out, const Screen& s) {
    return out << s.period << " [" << s.dice << "] rows " << s.historyRows << " top "
               << s.topPeriod;
}

// The period of the draw the plan's newest forecast was last checked against.
std::string LastVerified(ProgramInstance& p) {
    const PlanRecord* plan = p.application->Context().planBook.PlanAt(1);
    return plan && !plan->entries.empty() ? plan->entries.back().drawSerial : std::string();
}

bool IsCountdown(const std::string& text) {
    return text.size() > 3 && text.find("：") != std::string::npos && text != kDrawing;
}

struct MidRunCase {
    const char* name;
    std::vector<std::string> serverArgs;  // the server while it misbehaves
    bool down = false;                    // no server at all
    int64_t serverNow = kDraw011 + 10;    // its frozen time
};

void PrintTo(const MidRunCase& c, std::ostream* out) {
    *out << c.name;
}

class ServerFaultsMidRun : public ::testing::TestWithParam<MidRunCase> {};

// The program runs; at the draw time of 011 the server misbehaves for three polls
// (18 s), then comes back sound. A second copy of the program, which sleeps through
// the fault, takes 011 at the same moment: both must then show the same plan.
TEST_P(ServerFaultsMidRun, TheCountdownWaitsAndTheNextDrawComesWhenTheServerIsBack) {
    const MidRunCase& c = GetParam();
    ProgramUnderTest fixture;
    ASSERT_TRUE(fixture.Serve({}, k1005));
    fixture.clock.now = k1005;
    ProgramInstance program, reference;
    ASSERT_TRUE(fixture.Start(program));
    ASSERT_TRUE(fixture.Start(reference));
    program.WorkingTick();
    EXPECT_EQ(program.Text(control::kDrawTime), "05：00");
    const Screen before = ScreenOf(program);
    ASSERT_EQ(before.period, "当前期号：20261211010");
    ASSERT_EQ(before.historyRows, 50);
    ASSERT_EQ(LastVerified(program), "010");

    fixture.clock.now = kDraw011 + 10;
    if (c.down) {
        fixture.KillServer();
    } else {
        ASSERT_TRUE(fixture.Serve(c.serverArgs, c.serverNow));
    }
    for (int poll = 0; poll < 3; ++poll) {
        program.WorkingTick();
        EXPECT_EQ(program.Text(control::kDrawTime), kDrawing) << poll;
        EXPECT_TRUE(ScreenOf(program) == before) << poll << ": " << ScreenOf(program);
        EXPECT_EQ(program.application->Context().recentDraws.Count(), 50);
        EXPECT_EQ(LastVerified(program), "010");
        fixture.clock.now += 6;
    }
    EXPECT_TRUE(program.windows.Messages().empty());
    if (!c.down) {
        EXPECT_GE(fixture.Requests("newphase"), 3) << "the polls reached the server";
    }

    ASSERT_TRUE(fixture.Serve({}, kDraw011 + 20));
    program.WorkingTick();
    reference.WorkingTick();
    const Screen after = ScreenOf(program);
    EXPECT_EQ(after.period, "当前期号：20261211011");
    EXPECT_EQ(after.historyRows, 51);
    EXPECT_EQ(after.topPeriod, "20261211011");
    EXPECT_EQ(LastVerified(program), "011");
    EXPECT_TRUE(after == ScreenOf(reference)) << after << " / reference " << ScreenOf(reference);
    program.WorkingTick();
    EXPECT_TRUE(IsCountdown(program.Text(control::kDrawTime))) << program.Text(control::kDrawTime);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ServerFaultsMidRun,
    ::testing::Values(MidRunCase{"ServerKilled", {}, true},
                      MidRunCase{"EmptyBodies", {"--fault", "empty"}},
                      MidRunCase{"BrokenJson", {"--fault", "broken"}},
                      MidRunCase{"Refusals", {"--fault", "refuse"}},
                      MidRunCase{"HandshakeKeySealedWrongly", {"--fault", "badseal:handshake"}},
                      MidRunCase{"DrawSealedWrongly", {"--fault", "badseal:newestdraw"}},
                      MidRunCase{"DrawNotJson", {"--fault", "baddata:newestdraw"}},
                      MidRunCase{"DrawEmpty", {"--fault", "emptydata:newestdraw"}},
                      MidRunCase{"DrawOfSevenFields", {"--fault", "fewerfields:newestdraw"}},
                      MidRunCase{"DrawOfNineFields", {"--fault", "morefields:newestdraw"}},
                      // Restarted from older data: its newest draw is 009.
                      MidRunCase{"PeriodGoesBack", {}, false, k1005 - 600}),
    [](const ::testing::TestParamInfo<MidRunCase>& info) { return info.param.name; });

// A server that answers only after the transport has given up: every working tick
// returns within the transport's timeouts, long before the server's reply would come.
TEST(ServerFaults, ASlowServerHoldsTheProgramNoLongerThanTheTimeouts) {
    HttpTransport::Limits limits;
    limits.connectTimeoutMs = 2'000;
    limits.totalTimeoutMs = 2'000;
    ProgramUnderTest fixture(limits);
    ASSERT_TRUE(fixture.Serve({}, k1005));
    fixture.clock.now = k1005;
    ProgramInstance program;
    ASSERT_TRUE(fixture.Start(program));
    const Screen before = ScreenOf(program);

    constexpr int kServerDelayMs = 30'000;
    fixture.clock.now = kDraw011 + 10;
    ASSERT_TRUE(
        fixture.Serve({"--fault", "slow=" + std::to_string(kServerDelayMs)}, kDraw011 + 10));
    for (int poll = 0; poll < 2; ++poll) {
        const auto started = std::chrono::steady_clock::now();
        program.WorkingTick();
        const auto held = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - started);
        // One poll makes at most three requests (newest period, handshake, call).
        EXPECT_LT(held.count(), 3 * limits.totalTimeoutMs + 3'000) << poll;
        EXPECT_EQ(program.Text(control::kDrawTime), kDrawing);
        EXPECT_TRUE(ScreenOf(program) == before) << ScreenOf(program);
        fixture.clock.now += 6;
    }
    ASSERT_TRUE(fixture.Serve({}, kDraw011 + 20));
    program.WorkingTick();
    EXPECT_EQ(program.Text(control::kCurrentPeriod), "当前期号：20261211011");
    EXPECT_EQ(program.HistoryRows(), 51);
}

// A coming draw time that is no date: the draw is taken, the next one counts as due
// at once, so the label says "正在开奖……" and the program asks once every 6 s until
// the next draw comes; then the countdown is back.
TEST(ServerFaults, ADrawTimeThatIsNoDateKeepsPollingEverySixSeconds) {
    ProgramUnderTest fixture;
    ASSERT_TRUE(fixture.Serve({}, k1005));
    fixture.clock.now = k1005;
    ProgramInstance program;
    ASSERT_TRUE(fixture.Start(program));

    fixture.clock.now = kDraw011 + 10;
    ASSERT_TRUE(fixture.Serve({"--fault", "baddate:newestdraw"}, kDraw011 + 10));
    program.WorkingTick();
    EXPECT_EQ(program.Text(control::kCurrentPeriod), "当前期号：20261211011");
    EXPECT_EQ(program.HistoryRows(), 51);
    EXPECT_EQ(program.application->Context().periodClock.NextDrawTime(), 0);
    const Screen taken = ScreenOf(program);
    for (int second = 0; second <= 12; ++second) {
        program.WorkingTick();
        EXPECT_EQ(program.Text(control::kDrawTime), kDrawing);
        fixture.clock.now += 1;
    }
    EXPECT_EQ(fixture.Requests("newestdraw"), 3);  // at 0, 6 and 12 s: no busy loop
    EXPECT_TRUE(ScreenOf(program) == taken) << ScreenOf(program);

    fixture.clock.now = kDraw012 + 10;
    ASSERT_TRUE(fixture.Serve({}, kDraw012 + 10));
    program.WorkingTick();
    EXPECT_EQ(program.Text(control::kCurrentPeriod), "当前期号：20261211012");
    EXPECT_EQ(program.HistoryRows(), 52);
    program.WorkingTick();
    EXPECT_TRUE(IsCountdown(program.Text(control::kDrawTime))) << program.Text(control::kDrawTime);
}

// The newest draw cannot be read at start-up while the draw list can: the program
// comes up in the drawing state and, once the server is sound, shows the newest draw
// without listing or verifying it a second time (it heads the history already).
TEST(ServerFaults, ANewestDrawUnreadableAtStartUpIsShownOnceTheServerIsBack) {
    ProgramUnderTest fixture;
    ASSERT_TRUE(fixture.Serve({"--fault", "broken:newestdraw"}, k1005));
    fixture.clock.now = k1005;
    ProgramInstance program;
    ASSERT_TRUE(fixture.Start(program));
    EXPECT_TRUE(program.windows.Messages().empty());
    EXPECT_EQ(program.Text(control::kCurrentPeriod), "当前期号：");
    EXPECT_EQ(program.HistoryRows(), 50);
    const std::string plan = program.Plan();
    program.WorkingTick();
    EXPECT_EQ(program.Text(control::kDrawTime), kDrawing);

    ASSERT_TRUE(fixture.Serve({}, k1005));
    fixture.clock.now += 6;
    program.WorkingTick();
    EXPECT_EQ(program.Text(control::kCurrentPeriod), "当前期号：20261211010");
    EXPECT_EQ(program.HistoryRows(), 50);
    EXPECT_EQ(program.application->Context().recentDraws.Count(), 50);
    EXPECT_TRUE(program.Plan() == plan) << "the plan took the newest draw again";
    EXPECT_EQ(LastVerified(program), "010");
    program.WorkingTick();
    EXPECT_EQ(program.Text(control::kDrawTime), "04：54");

    fixture.clock.now = kDraw011 + 10;
    ASSERT_TRUE(fixture.Serve({}, kDraw011 + 10));
    program.WorkingTick();
    EXPECT_EQ(program.TopPeriod(), "20261211011");
    EXPECT_EQ(program.HistoryRows(), 51);
    EXPECT_EQ(LastVerified(program), "011");
}

// A draw list the program cannot read at start-up ends the program with the two
// messages of a failed list, and no plan or history is shown from it; rows of the
// wrong width count as unreadable, since their fields would land in other draws.
TEST(ServerFaults, AnUnreadableDrawListAtStartUpEndsTheProgramWithItsMessages) {
    struct Case {
        const char* fault;
        const char* reason;
    } cases[] = {
        {"empty:select_draw", "服务器访问失败! 错误代码：9999"},
        {"broken:select_draw", "服务器访问错误! 错误代码：9999"},
        {"refuse:select_draw", "服务器繁忙，请稍后再试 错误代码：10"},
        {"fewerfields:select_draw", "服务器访问错误!2 错误代码：9999"},
        {"morefields:select_draw", "服务器访问错误!2 错误代码：9999"},
    };
    ProgramUnderTest fixture;
    fixture.clock.now = k1005;
    for (const Case& c : cases) {
        ASSERT_TRUE(fixture.Serve({"--fault", c.fault}, k1005));
        ProgramInstance program;
        EXPECT_FALSE(fixture.Start(program)) << c.fault;
        EXPECT_EQ(program.exitCode, 0);
        ASSERT_EQ(program.windows.Messages().size(), 2u) << c.fault;
        EXPECT_EQ(program.windows.Messages()[0].text,
                  std::string("查询最近开奖数据失败！获取最新开奖数据失败!") + c.reason);
        EXPECT_EQ(program.windows.Messages()[1].text, "获取网络开奖数据失败！");
        EXPECT_FALSE(program.windows.WindowVisible(kMainWindow)) << c.fault;
        EXPECT_TRUE(program.Plan().empty()) << c.fault;
    }
}

}  // namespace
}  // namespace veltra
