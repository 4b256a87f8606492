// 百位/十位/个位定N码: N distinct faces for one position of the draw.
#pragma once

#include "plan/plan_kind.h"

namespace veltra {

class PositionCodeKind final : public PlanKind {
  public:
    std::unique_ptr<PlanKind> Clone() const override {
        return std::make_unique<PositionCodeKind>(*this);
    }
    std::string 取下期预测(int seed) const override;
    bool 验证预测(const DrawNumbers& numbers, std::string_view forecast) const override;
    // Fewer than 4 codes are shown compact, 4 or more bracketed.
    void Configure(int position, int codeCount, std::string_view name);

    int position = 0;  // 1 百, 2 十, 3 个
    int codeCount = 0;
};

}  // namespace veltra
