// The sum big/small method.
#include "plan/sum_big_small_kind.h"

#include "base/lcg_random.h"

namespace veltra {

void SumBigSmallKind::Configure(int first, int count, std::string_view kindName) {
    firstPosition = first;
    positionCount = count;
    SetName(kindName);
}

std::string SumBigSmallKind::取下期预测(int seed) const {
    SharedRandom().Seed(seed);
    return SharedRandom().Range(1, 2) == 1 ? "小" : "大";
}

bool SumBigSmallKind::验证预测(const DrawNumbers& numbers, std::string_view forecast) const {
    const int64_t sum = SumOfPositions(numbers, firstPosition, positionCount);
    return forecast == (sum <= 10 ? "小" : "大");
}

}  // namespace veltra
