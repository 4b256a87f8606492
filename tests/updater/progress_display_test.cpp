#include "updater/progress_display.h"

#include <gtest/gtest.h>

#include <sstream>

namespace veltra {
namespace {

constexpr int64_t kMiB = 1024 * 1024;

TEST(ProgressDisplay, LinesAtEveryTenthThatIsReached) {
    std::ostringstream out;
    ProgressDisplay progress(out, false);
    for (const int64_t received : {0, 50, 100, 104, 350, 999, 1000, 1000}) {
        progress.Update(received * kMiB / 100, 10 * kMiB);
    }
    progress.Finish();
    EXPECT_EQ(out.str(),
              "已下载 10% (1.0 MB / 10.0 MB)\n"
              "已下载 30% (3.5 MB / 10.0 MB)\n"
              "已下载 90% (10.0 MB / 10.0 MB)\n"
              "已下载 100% (10.0 MB / 10.0 MB)\n");
}

TEST(ProgressDisplay, LinesAtEveryMebibyteWhenTheSizeIsUnknown) {
    std::ostringstream out;
    ProgressDisplay progress(out, false);
    for (const int64_t received : {kMiB / 2, kMiB, kMiB + 1, 5 * kMiB / 2}) {
        progress.Update(received, 0);
    }
    EXPECT_EQ(out.str(), "已下载 1.0 MB\n已下载 2.0 MB\n");
}

TEST(ProgressDisplay, BarIsRedrawnInPlaceAndEndedByFinish) {
    std::ostringstream out;
    ProgressDisplay progress(out, true);
    progress.Update(kMiB, 4 * kMiB);
    progress.Update(kMiB, 4 * kMiB);  // same text: not drawn again
    progress.Update(4 * kMiB, 4 * kMiB);
    EXPECT_EQ(out.str(),
              "\r[#######-----------------------]  25%  1.0 MB / 4.0 MB"
              "\r[##############################] 100%  4.0 MB / 4.0 MB");
    progress.Finish();
    EXPECT_EQ(out.str().back(), '\n');
}

}  // namespace
}  // namespace veltra
