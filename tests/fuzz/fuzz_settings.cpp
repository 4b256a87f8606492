// Settings files as found on disk: both keys read, a key written, and the written
// value read back while every other key reads as before.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/settings_file.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

namespace fs = std::filesystem;

// A folder of this run on a memory file system when there is one: every write of the
// settings file is synced to disk.
// Kept until the very end of the process, when the folder is removed.
const fs::path& WorkFolder() {
    static const fs::path* folder = [] {
        std::error_code error;
        const fs::path base =
            fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm") : fs::temp_directory_path();
        auto* made = new fs::path(base / ("veltra-fuzz-settings-" + std::to_string(::getpid())));
        fs::create_directories(*made);
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(WorkFolder(), ignored);
        });
        return made;
    }();
    return *folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace veltra;
    const fs::path path = WorkFolder() / "配置.ini";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const SettingsFile settings(path, "Veltra吉林快3平刷和值大小");
    const std::string period = settings.ReadSetting(kPeriodSettingKey, kPeriodSettingDefault);
    const std::string bets = settings.ReadSetting(kBetCountKey, "7.5");

    if (settings.WriteSetting(kPeriodSettingKey, "2")) {
        FUZZ_CHECK(settings.ReadSetting(kPeriodSettingKey, kPeriodSettingDefault) == "2");
        FUZZ_CHECK(settings.ReadSetting(kBetCountKey, "7.5") == bets);
    } else {
        FUZZ_CHECK(settings.ReadSetting(kPeriodSettingKey, kPeriodSettingDefault) == period);
    }
    return 0;
}
