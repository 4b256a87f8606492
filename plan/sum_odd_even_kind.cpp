// The sum odd/even method.
#include "plan/sum_odd_even_kind.h"

#include "base/lcg_random.h"

namespace veltra {

void SumOddEvenKind::Configure(int first, int count, std::string_view kindName) {
    firstPosition = first;
    positionCount = count;
    SetName(kindName);
}

std::string SumOddEvenKind::取下期预测(int seed) const {
    SharedRandom().Seed(seed);
    return SharedRandom().Range(1, 2) == 1 ? "单" : "双";
}

bool SumOddEvenKind::验证预测(const DrawNumbers& numbers, std::string_view forecast) const {
    const int64_t sum = SumOfPositions(numbers, firstPosition, positionCount);
    return forecast == (sum % 2 != 0 ? "单" : "双");
}

}  // namespace veltra
