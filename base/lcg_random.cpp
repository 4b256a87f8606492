// The process-wide generator instance.
#include "base/lcg_random.h"

namespace veltra {

LcgRandom& SharedRandom() {
    static LcgRandom generator;
    return generator;
}

}  // namespace veltra
