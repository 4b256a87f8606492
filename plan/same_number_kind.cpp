// The same-number method: e.g. 44; hits when it occurs in the three numbers joined
// in their drawn order (144 for 1, 4, 4).
#include "plan/same_number_kind.h"

#include "base/lcg_random.h"

namespace veltra {

void SameNumberKind::Configure(int count, std::string_view kindName) {
    repeatCount = count;
    SetName(kindName);
}

std::string SameNumberKind::取下期预测(int seed) const {
    SharedRandom().Seed(seed);
    const std::string face = std::to_string(SharedRandom().Range(1, 6));
    std::string forecast;
    for (int i = 0; i < repeatCount; ++i) forecast += face;
    return forecast;
}

bool SameNumberKind::验证预测(const DrawNumbers& numbers, std::string_view forecast) const {
    std::string joined;
    for (size_t i = 0; i < numbers.size() && i < 3; ++i) joined += numbers[i];
    return ContainsText(joined, forecast);
}

}  // namespace veltra
