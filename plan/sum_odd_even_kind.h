// 和值单双 odd or even sum of the drawn numbers.
#pragma once

#include "plan/plan_kind.h"

namespace veltra {

class SumOddEvenKind final : public PlanKind {
  public:
    std::unique_ptr<PlanKind> Clone() const override {
        return std::make_unique<SumOddEvenKind>(*this);
    }
    // "单" when random(1, 2) is 1, else "双".
    std::string 取下期预测(int seed) const override;
    // True when the forecast is exactly the word of the draw: "单" when the sum is odd.
    bool 验证预测(const DrawNumbers& numbers, std::string_view forecast) const override;
    void Configure(int firstPosition, int positionCount, std::string_view name);

    int firstPosition = 0;
    int positionCount = 0;
};

}  // namespace veltra
