// 和值大小 small (10 or less) or big (11 or more) sum of the drawn numbers.
#pragma once

#include "plan/plan_kind.h"

namespace veltra {

class SumBigSmallKind final : public PlanKind {
  public:
    std::unique_ptr<PlanKind> Clone() const override {
        return std::make_unique<SumBigSmallKind>(*this);
    }
    // "小" when random(1, 2) is 1, else "大".
    std::string 取下期预测(int seed) const override;
    // True when the forecast is exactly the word of the draw: "小" when the sum is 10 or less.
    bool 验证预测(const DrawNumbers& numbers, std::string_view forecast) const override;
    void Configure(int firstPosition, int positionCount, std::string_view name);

    int firstPosition = 0;
    int positionCount = 0;
};

}  // namespace veltra
