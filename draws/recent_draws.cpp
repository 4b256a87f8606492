// The list of recent draws.
#include "draws/recent_draws.h"

namespace veltra {

const DrawRecord& RecentDraws::At(int index) const {
    static const DrawRecord kFresh;
    if (index < 1 || index > Count()) return kFresh;
    return records[static_cast<size_t>(index - 1)];
}

void RecentDraws::Resize(int count) {
    records.clear();
    records.resize(static_cast<size_t>(count < 0 ? 0 : count));
}

}  // namespace veltra
