// Chooses the forecasting method for a plan type text by the five plan-name patterns.
#pragma once

#include <array>
#include <memory>
#include <string_view>

#include "base/regex.h"
#include "plan/plan_kind.h"

namespace veltra {

// The five plan-name patterns, compiled on the first call and kept for the run.
const std::array<Regex, 5>& PlanNamePatterns();

// A kind configured for the plan type, with name as its display name; nullptr when
// no pattern matches the whole type. Types asking for more than 6 codes, or for 0
// codes of a position, are refused too: a die has six faces.
std::unique_ptr<PlanKind> KindForPlanType(std::string_view type, std::string_view name);

// "零" .. "十" as 0 .. 10; anything else -1.
int ChineseDigitValue(std::string_view text);

}  // namespace veltra
