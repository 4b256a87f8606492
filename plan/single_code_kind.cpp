// The single-code method: faces written "0" + face and joined by ",", e.g. 03,05,05.
#include "plan/single_code_kind.h"

#include "base/lcg_random.h"

namespace veltra {

void SingleCodeKind::Configure(int count, std::string_view kindName) {
    codeCount = count;
    SetName(kindName);
}

std::string SingleCodeKind::取下期预测(int seed) const {
    SharedRandom().Seed(seed);
    std::string forecast;
    // A count of 0 or less still writes one face.
    for (int i = 0; i < std::max(codeCount, 1); ++i) {
        if (i > 0) forecast += ",";
        forecast += "0" + std::to_string(SharedRandom().Range(1, 6));
    }
    return forecast;
}

bool SingleCodeKind::验证预测(const DrawNumbers& numbers, std::string_view forecast) const {
    for (size_t i = 0; i < numbers.size() && i < 3; ++i) {
        if (ContainsText(forecast, numbers[i])) return true;
    }
    return false;
}

}  // namespace veltra
