// POSIX has no hidden attribute: a file is hidden by a leading dot in its name, which
// the program does not change. The operation reports only whether the file is there.
#include "platform/file_attributes.h"

#include <system_error>

namespace veltra {

bool SetHiddenAttribute(const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    return !error && std::filesystem::exists(status);
}

}  // namespace veltra
