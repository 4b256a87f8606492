// 一/二/三同号复选: one face written repeatCount times.
#pragma once

#include "plan/plan_kind.h"

namespace veltra {

class SameNumberKind final : public PlanKind {
  public:
    std::unique_ptr<PlanKind> Clone() const override {
        return std::make_unique<SameNumberKind>(*this);
    }
    std::string 取下期预测(int seed) const override;
    bool 验证预测(const DrawNumbers& numbers, std::string_view forecast) const override;
    void Configure(int repeatCount, std::string_view name);

    int repeatCount = 0;
};

}  // namespace veltra
