// The linear congruential generator every forecast is drawn from.
#pragma once

#include <cstdint>

namespace veltra {

// state = state * 214013 + 2531011 (mod 2^32); each draw yields (state >> 16) & 0x7FFF.
class LcgRandom {
  public:
    void Seed(int32_t seed) { state = static_cast<uint32_t>(seed); }
    int Next() {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7FFF);
    }
    // A number in [lo, hi]: lo + yield mod (hi - lo + 1). hi < lo yields lo.
    int Range(int lo, int hi) {
        const int yield = Next();
        if (hi < lo) return lo;
        return lo + static_cast<int>(yield % (static_cast<int64_t>(hi) - lo + 1));
    }
    uint32_t State() const { return state; }

  private:
    uint32_t state = 1;  // the state before the first seeding
};

// The one process-wide generator: reseeded by every forecast, and continued by the
// replay's weighted coin from whatever state the last forecast left.
LcgRandom& SharedRandom();

}  // namespace veltra
