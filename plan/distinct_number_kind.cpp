// The distinct-number method: sorted distinct faces joined by ",", e.g. 1,3,4,6.
#include "plan/distinct_number_kind.h"

#include <algorithm>

#include "base/lcg_random.h"
#include "base/text_split.h"

namespace veltra {

void DistinctNumberKind::Configure(int needed, int count, std::string_view kindName) {
    neededCount = needed;
    codeCount = count;
    SetName(kindName);
}

std::string DistinctNumberKind::取下期预测(int seed) const {
    SharedRandom().Seed(seed);
    std::string forecast;
    for (const int face : DrawDistinctFaces(codeCount)) {
        if (!forecast.empty()) forecast += ",";
        forecast += std::to_string(face);
    }
    return forecast;
}

bool DistinctNumberKind::验证预测(const DrawNumbers& numbers, std::string_view forecast) const {
    int count = 0;
    const auto end =
        numbers.begin() + static_cast<std::ptrdiff_t>(std::min<size_t>(numbers.size(), 3));
    for (const std::string& piece : SplitText(forecast, ",")) {
        if (!piece.empty() && std::find(numbers.begin(), end, piece) != end) ++count;
    }
    return count >= neededCount;
}

}  // namespace veltra
