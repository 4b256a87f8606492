// The position-code method: sorted distinct faces as two digits joined by " ",
// e.g. 01 03 05 06; hits when the number at the position appears in it.
#include "plan/position_code_kind.h"

#include "base/lcg_random.h"

namespace veltra {

void PositionCodeKind::Configure(int pos, int count, std::string_view kindName) {
    position = pos;
    codeCount = count;
    SetName(kindName);
    SetDisplayMode(count < 4 ? kCompact : kBracketed);
}

std::string PositionCodeKind::取下期预测(int seed) const {
    SharedRandom().Seed(seed);
    std::string forecast;
    for (const int face : DrawDistinctFaces(codeCount)) {
        if (!forecast.empty()) forecast += " ";
        forecast += (face < 10 ? "0" : "") + std::to_string(face);
    }
    return forecast;
}

bool PositionCodeKind::验证预测(const DrawNumbers& numbers, std::string_view forecast) const {
    if (position < 1 || position > static_cast<int>(numbers.size())) return false;
    return ContainsText(forecast, numbers[position - 1]);
}

}  // namespace veltra
