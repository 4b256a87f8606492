// Our reader and writer of INI files with the Windows private-profile rules: GBK bytes
// on disk, CR LF line ends, "[section]" headers and "key=value" lines.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace veltra {

// One INI file, named by its path. Holds no content: every call reads the file as it
// is at that moment. Texts passed in and out are UTF-8.
//
// Rules: section and key names compare without regard to ASCII case (other characters
// byte for byte); names and values are trimmed of blanks, and a value enclosed in one
// pair of matching quotes loses them; the first section of a name wins, and within it
// the first key of a name. Comment lines (';'), blank lines, lines outside any section
// and lines that are not valid GBK are not understood: reads pass over them and writes
// keep them byte for byte. A line starting with '[' that is not valid GBK still ends
// the section above it.
class IniFile {
  public:
    explicit IniFile(std::filesystem::path path);

    const std::filesystem::path& Path() const { return path; }

    // The value of key in section, or fallback when the file, the section or the key is
    // missing or the file cannot be read. Never creates or changes the file.
    std::string Read(std::string_view section, std::string_view key,
                     std::string_view fallback) const;

    // Sets key in section to value: an existing key line gets the new value in place,
    // a missing key is added after the section's last entry, a missing section is added
    // at the end of the file, and a missing file is created. Every other line stays as
    // it was. The file is replaced as a whole (temporary file, sync, rename), so it
    // never holds a partial write.
    // False, with the file untouched, when the file exists but cannot be read, when the
    // new file cannot be written, or when the texts cannot be stored faithfully: a
    // section or key name that is empty, holds '=' (key) or starts with '[' or ';'
    // (key), any text holding CR, LF or NUL, or a text that has no GBK form.
    bool Write(std::string_view section, std::string_view key, std::string_view value) const;

  private:
    std::filesystem::path path;
};

}  // namespace veltra
