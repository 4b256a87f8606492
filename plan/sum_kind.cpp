// The sum methods' shared forecast and verification.
#include "plan/sum_kind.h"

#include "base/lcg_random.h"

namespace veltra {

void SumKind::Configure(int first, int count, std::string_view kindName) {
    firstPosition = first;
    positionCount = count;
    SetName(kindName);
}

std::string SumKind::取下期预测(int seed) const {
    SharedRandom().Seed(seed);
    return std::string(SharedRandom().Range(1, 2) == 1 ? FirstWord() : SecondWord());
}

bool SumKind::验证预测(const DrawNumbers& numbers, std::string_view forecast) const {
    const int64_t sum = SumOfPositions(numbers, firstPosition, positionCount);
    return forecast == (SumEarnsFirstWord(sum) ? FirstWord() : SecondWord());
}

}  // namespace veltra
