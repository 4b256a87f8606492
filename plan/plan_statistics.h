// The statistics line under a plan: forecasts, hits, misses and the hit rate.
#pragma once

#include <string>

#include "plan/plan_record.h"

namespace veltra {

// 100 x hits / total rounded half up to two decimals, in its shortest form
// ("76", "77.55", "0"). A total of 0 gives "0".
std::string HitRateText(int hits, int total);

// "当前计划统计：总计N期，中H期，挂M期，中奖率为R%" + CR LF + the warning line.
std::string StatisticsText(const PlanRecord& record);

}  // namespace veltra
