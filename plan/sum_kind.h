// The methods that forecast a word about the sum of the drawn numbers: a coin between
// two words, hit when the forecast is exactly the word the drawn sum earns.
#pragma once

#include <cstdint>

#include "plan/plan_kind.h"

namespace veltra {

class SumKind : public PlanKind {
  public:
    // The first word when random(1, 2) is 1, else the second.
    std::string 取下期预测(int seed) const override;
    // True when the forecast is exactly the word of the sum of the numbers at
    // firstPosition .. firstPosition + positionCount - 1.
    bool 验证预测(const DrawNumbers& numbers, std::string_view forecast) const override;
    void Configure(int firstPosition, int positionCount, std::string_view name);

    int firstPosition = 0;
    int positionCount = 0;

  protected:
    virtual std::string_view FirstWord() const = 0;
    virtual std::string_view SecondWord() const = 0;
    virtual bool SumEarnsFirstWord(int64_t sum) const = 0;
};

}  // namespace veltra
