#include "updater/carried_updater.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"
#include "tests/updater/test_payload.h"

namespace veltra {
namespace {

using test::Listing;
using test::Mode;
using test::ReadBytes;

TEST(CarriedUpdater, IsTheBuiltUpdater) {
    const std::string built = ReadBytes(VELTRA_UPDATER_BINARY);
    ASSERT_FALSE(built.empty());
    const std::span<const unsigned char> carried = CarriedUpdater();
    EXPECT_EQ(std::string(carried.begin(), carried.end()), built);
}

TEST(CarriedUpdater, WritesAnExecutableCopyReplacingAnyFileThere) {
    test::TempDir temp;
    const std::filesystem::path target = temp.Path() / "更新器";
    ASSERT_TRUE(WriteCarriedUpdater(target));
    EXPECT_EQ(ReadBytes(target), ReadBytes(VELTRA_UPDATER_BINARY));
    EXPECT_EQ(Mode(target), 0755u);

    temp.Write("更新器", "stale");
    ASSERT_TRUE(WriteCarriedUpdater(target));
    EXPECT_EQ(ReadBytes(target), ReadBytes(VELTRA_UPDATER_BINARY));
    EXPECT_EQ(Listing(temp.Path()), std::set<std::string>{"更新器"});
}

TEST(CarriedUpdater, FailedWriteLeavesNothingBehind) {
    test::TempDir temp;
    // A missing directory, and a directory in the way of the rename.
    EXPECT_FALSE(WriteCarriedUpdater(temp.Path() / "missing" / "更新器"));
    temp.Write("更新器/keep", "x");
    EXPECT_FALSE(WriteCarriedUpdater(temp.Path() / "更新器"));
    EXPECT_EQ(Listing(temp.Path()), std::set<std::string>{"更新器"});
    EXPECT_EQ(ReadBytes(temp.Path() / "更新器" / "keep"), "x");
}

}  // namespace
}  // namespace veltra
