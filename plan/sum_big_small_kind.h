// 和值大小: "小" (10 or less) or "大" (11 or more) sum of the drawn numbers.
#pragma once

#include "plan/sum_kind.h"

namespace veltra {

class SumBigSmallKind final : public SumKind {
  public:
    std::unique_ptr<PlanKind> Clone() const override {
        return std::make_unique<SumBigSmallKind>(*this);
    }

  protected:
    std::string_view FirstWord() const override { return "小"; }
    std::string_view SecondWord() const override { return "大"; }
    bool SumEarnsFirstWord(int64_t sum) const override { return sum <= 10; }
};

}  // namespace veltra
