#include "app/settings_file.h"

#include <gtest/gtest.h>

#include "base/gbk_text.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_dir.h"

namespace veltra {
namespace {

namespace fs = std::filesystem;

constexpr const char* kApplication = "Veltra吉林快3平刷和值大小";

std::string Gbk(const std::string& utf8) {
    return Utf8ToGbk(utf8).value();
}

TEST(SettingsFile, NoFileGivesDefaultsAndReadsCreateNothing) {
    test::TempDir dir;
    const SettingsFile settings(dir.Path() / kSettingsFileName, kApplication);
    EXPECT_EQ(settings.ReadSetting(kPeriodSettingKey, kPeriodSettingDefault), "3");
    EXPECT_EQ(settings.ReadSetting(kBetCountKey, "7.5"), "7.5");
    EXPECT_FALSE(settings.Hide());
    EXPECT_TRUE(fs::is_empty(dir.Path()));
}

TEST(SettingsFile, ChangedPeriodSettingMakesTwoLineFile) {
    test::TempDir dir;
    const SettingsFile settings(dir.Path() / kSettingsFileName, kApplication);
    ASSERT_TRUE(settings.WriteSetting(kPeriodSettingKey, "2"));
    const std::string expected = Gbk("[Veltra吉林快3平刷和值大小]\r\n公式期数=2\r\n");
    EXPECT_EQ(test::FileBytes(dir.Path() / "配置.ini"), expected);
    EXPECT_EQ(settings.ReadSetting(kPeriodSettingKey, kPeriodSettingDefault), "2");

    // Hiding is a no-op here that leaves the file as it is.
    EXPECT_TRUE(settings.Hide());
    EXPECT_EQ(test::FileBytes(dir.Path() / "配置.ini"), expected);

    ASSERT_TRUE(settings.WriteSetting(kBetCountKey, "10"));
    ASSERT_TRUE(settings.WriteSetting(kPeriodSettingKey, "1"));
    EXPECT_EQ(test::FileBytes(dir.Path() / "配置.ini"),
              Gbk("[Veltra吉林快3平刷和值大小]\r\n公式期数=1\r\n选择注数=10\r\n"));
}

TEST(SettingsFile, AnotherProductsSectionIsLeftAlone) {
    test::TempDir dir;
    const std::string other = Gbk("[Veltra吉林快3平刷和值单双]\r\n公式期数=1\r\n");
    const fs::path file = dir.Write("配置.ini", other);
    const SettingsFile settings(file, kApplication);
    EXPECT_EQ(settings.ReadSetting(kPeriodSettingKey, kPeriodSettingDefault), "3");
    ASSERT_TRUE(settings.WriteSetting(kPeriodSettingKey, "2"));
    EXPECT_EQ(test::FileBytes(file), other + Gbk("[Veltra吉林快3平刷和值大小]\r\n公式期数=2\r\n"));
}

TEST(SettingsFile, EveryReadSeesTheFileAsItIsNow) {
    test::TempDir dir;
    const SettingsFile settings(dir.Path() / kSettingsFileName, kApplication);
    struct Step {
        std::string content;  // written behind the object's back
        const char* period;
        const char* betCount;
    };
    const Step steps[] = {
        {"[VELTRA吉林快3平刷和值大小]\r\n 公式期数 = 2 \r\n选择注数=7.5\r\n", "2", "7.5"},
        {"[veltra吉林快3平刷和值大小]\n公式期数=x\n", "x", "<default>"},
        {"", "3", "<default>"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.content);
        dir.Write(kSettingsFileName.data(), Gbk(step.content));
        EXPECT_EQ(settings.ReadSetting(kPeriodSettingKey, kPeriodSettingDefault), step.period);
        EXPECT_EQ(settings.ReadSetting(kBetCountKey, "<default>"), step.betCount);
    }
}

TEST(SettingsFile, FailedWriteReportsFalse) {
    test::TempDir dir;
    // A directory where the file should be cannot be replaced.
    fs::create_directory(dir.Path() / kSettingsFileName);
    const SettingsFile settings(dir.Path() / kSettingsFileName, kApplication);
    EXPECT_FALSE(settings.WriteSetting(kPeriodSettingKey, "2"));
    EXPECT_EQ(settings.ReadSetting(kPeriodSettingKey, kPeriodSettingDefault), "3");
    EXPECT_TRUE(fs::is_directory(dir.Path() / kSettingsFileName));
}

}  // namespace
}  // namespace veltra
