// The settings section over the INI file and the platform's file attributes.
#include "app/settings_file.h"

#include <utility>

#include "platform/file_attributes.h"

namespace veltra {

SettingsFile::SettingsFile(std::filesystem::path path, std::string applicationName)
    : file(std::move(path)), applicationName(std::move(applicationName)) {}

std::string SettingsFile::ReadSetting(std::string_view key, std::string_view defaultValue) const {
    return file.Read(applicationName, key, defaultValue);
}

bool SettingsFile::WriteSetting(std::string_view key, std::string_view value) const {
    return file.Write(applicationName, key, value);
}

bool SettingsFile::Hide() const {
    return SetHiddenAttribute(file.Path());
}

}  // namespace veltra
