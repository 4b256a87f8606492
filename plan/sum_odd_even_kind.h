// 和值单双: "单" (odd) or "双" (even) sum of the drawn numbers.
#pragma once

#include "plan/sum_kind.h"

namespace veltra {

class SumOddEvenKind final : public SumKind {
  public:
    std::unique_ptr<PlanKind> Clone() const override {
        return std::make_unique<SumOddEvenKind>(*this);
    }

  protected:
    std::string_view FirstWord() const override { return "单"; }
    std::string_view SecondWord() const override { return "双"; }
    bool SumEarnsFirstWord(int64_t sum) const override { return sum % 2 != 0; }
};

}  // namespace veltra
