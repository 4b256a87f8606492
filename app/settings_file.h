// The user's settings: the plan period setting and the bet count, kept in "配置.ini" in
// one section named after the application.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "app/ini_file.h"

namespace veltra {

// File name of the settings file; it lies in the directory the program was started in.
inline constexpr std::string_view kSettingsFileName = "配置.ini";
// The plan period setting (decimal integer text); "3" when missing.
inline constexpr std::string_view kPeriodSettingKey = "公式期数";
inline constexpr std::string_view kPeriodSettingDefault = "3";
// The bet count (decimal integer text); its default is derived from the bet range.
inline constexpr std::string_view kBetCountKey = "选择注数";

// The settings section of one application in the settings file. Keeps no copy: every
// read sees the file as it is at that moment.
class SettingsFile {
  public:
    SettingsFile(std::filesystem::path path, std::string applicationName);

    const std::filesystem::path& Path() const { return file.Path(); }

    // The stored text of key, or defaultValue when the file, the section or the key is
    // missing or the file cannot be read. Never creates the file.
    std::string ReadSetting(std::string_view key, std::string_view defaultValue) const;

    // Stores value under key, creating the file and the section when missing. False,
    // with the file as it was, when the value cannot be stored (see IniFile::Write).
    bool WriteSetting(std::string_view key, std::string_view value) const;

    // Marks the file hidden where the platform has such an attribute. False when the
    // file does not exist (it is not created).
    bool Hide() const;

  private:
    IniFile file;
    std::string applicationName;
};

}  // namespace veltra
