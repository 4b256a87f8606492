// Writing the carried updater out as an executable file. The bytes themselves are
// generated from the built updater at build time.
#include "updater/carried_updater.h"

#include "updater/replacement_file.h"

namespace veltra {

bool WriteCarriedUpdater(const std::filesystem::path& target) {
    ReplacementFile file;
    return file.Create(target) && file.Write(CarriedUpdater()) && file.Commit(0755);
}

}  // namespace veltra
