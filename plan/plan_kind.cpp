// Helpers shared by the forecasting methods.
#include "plan/plan_kind.h"

#include <algorithm>

#include "base/lcg_random.h"
#include "base/text_integer.h"

namespace veltra {

std::vector<int> DrawDistinctFaces(int count) {
    // Without the bounds a count above 6 would draw forever and 0 would hold nothing.
    count = std::clamp(count, 1, 6);
    std::vector<int> faces;
    while (static_cast<int>(faces.size()) < count) {
        const int face = SharedRandom().Range(1, 6);
        if (std::find(faces.begin(), faces.end(), face) == faces.end()) faces.push_back(face);
    }
    std::sort(faces.begin(), faces.end());
    return faces;
}

bool ContainsText(std::string_view haystack, std::string_view needle) {
    return !needle.empty() && haystack.find(needle) != std::string_view::npos;
}

int64_t SumOfPositions(const DrawNumbers& numbers, int first, int count) {
    int64_t sum = 0;
    for (int64_t position = first; position < int64_t{first} + count; ++position) {
        if (position >= 1 && position <= static_cast<int64_t>(numbers.size())) {
            // Wrapping addition: a number text far beyond a die face must not overflow.
            sum = static_cast<int64_t>(static_cast<uint64_t>(sum) +
                                       static_cast<uint64_t>(IntegerOfText(numbers[position - 1])));
        }
    }
    return sum;
}

}  // namespace veltra
