// 一/二/三不同号 (also 通选): codeCount distinct faces, hit when neededCount of them
// are among the drawn numbers.
#pragma once

#include "plan/plan_kind.h"

namespace veltra {

class DistinctNumberKind final : public PlanKind {
  public:
    std::unique_ptr<PlanKind> Clone() const override {
        return std::make_unique<DistinctNumberKind>(*this);
    }
    std::string 取下期预测(int seed) const override;
    bool 验证预测(const DrawNumbers& numbers, std::string_view forecast) const override;
    void Configure(int neededCount, int codeCount, std::string_view name);

    int neededCount = 0;
    int codeCount = 0;
};

}  // namespace veltra
