// 独胆定N码: N faces, duplicates allowed; hits when any drawn number appears in it.
#pragma once

#include "plan/plan_kind.h"

namespace veltra {

class SingleCodeKind final : public PlanKind {
  public:
    std::unique_ptr<PlanKind> Clone() const override {
        return std::make_unique<SingleCodeKind>(*this);
    }
    std::string 取下期预测(int seed) const override;
    bool 验证预测(const DrawNumbers& numbers, std::string_view forecast) const override;
    void Configure(int codeCount, std::string_view name);

    int codeCount = 0;
};

}  // namespace veltra
