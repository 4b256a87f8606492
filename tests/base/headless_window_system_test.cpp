#include "platform/headless/headless_window_system.h"

#include <gtest/gtest.h>

namespace veltra {
namespace {

TEST(HeadlessWindowSystem, KeepsControlTextAndAnswersMessagesInOrder) {
    HeadlessWindowSystem windows;
    EXPECT_EQ(windows.Text("main", "box"), "");
    windows.SetText("main", "box", "计划");
    windows.SetSelectionStart("main", "box", -1);
    EXPECT_EQ(windows.Text("main", "box"), "计划");
    EXPECT_EQ(windows.Control("main", "box")->selectionStart, -1);

    windows.ScriptAnswers({MessageResult::Cancel, MessageResult::Cancel});
    EXPECT_EQ(windows.ShowMessage("offer", MessageButtons::OkCancel), MessageResult::Cancel);
    EXPECT_EQ(windows.ShowMessage("note", MessageButtons::Ok), MessageResult::Ok);
    EXPECT_EQ(windows.ShowMessage("again", MessageButtons::OkCancel), MessageResult::Ok);
    ASSERT_EQ(windows.Messages().size(), 3u);
    EXPECT_EQ(windows.Messages()[0].text, "offer");

    int runs = 0;
    windows.SetPendingEventHook([&] { ++runs; });
    windows.ProcessPendingEvents();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(windows.PendingEventRuns(), 1);
}

}  // namespace
}  // namespace veltra
