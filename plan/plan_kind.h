// One forecasting method: turns a seed into a forecast text and decides whether a
// forecast hits the three numbers of a draw.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace veltra {

// Draw numbers as the kinds see them: the three number texts of a draw, in order.
using DrawNumbers = std::vector<std::string>;

enum DisplayMode : int { kBracketed = 1, kCompact = 2 };

class PlanKind {
  public:
    virtual ~PlanKind() = default;
    // A deep copy holding every field, the name included.
    virtual std::unique_ptr<PlanKind> Clone() const = 0;

    int PeriodCount() const { return periodCount; }
    void SetPeriodCount(int value) { periodCount = value; }
    int DisplayMode() const { return displayMode; }
    void SetDisplayMode(int value) { displayMode = value; }
    std::string Name() const { return name; }
    void SetName(std::string_view value) { name = std::string(value); }

    // The forecast for the coming period(s). Reseeds the shared generator with seed
    // first, so the result depends only on the kind's fields and the seed.
    virtual std::string 取下期预测(int seed) const = 0;
    // True when forecast hits the numbers. A forecast or draw of the wrong shape
    // simply does not hit.
    virtual bool 验证预测(const DrawNumbers& numbers, std::string_view forecast) const = 0;

  protected:
    PlanKind() = default;
    PlanKind(const PlanKind&) = default;
    PlanKind& operator=(const PlanKind&) = default;

    std::string name;
    int periodCount = 3;
    int displayMode = kBracketed;
};

// Distinct faces drawn with random(1, 6) until count of them are held, sorted
// ascending. count is held to 1..6, the most distinct faces a die has.
std::vector<int> DrawDistinctFaces(int count);

// True when needle occurs in haystack. An empty needle is found nowhere: a draw or
// forecast with an empty piece must not hit by accident.
bool ContainsText(std::string_view haystack, std::string_view needle);

// The integer values of the numbers at positions first .. first + count - 1 (1-based),
// summed; positions outside the draw count nothing.
int64_t SumOfPositions(const DrawNumbers& numbers, int first, int count);

}  // namespace veltra
