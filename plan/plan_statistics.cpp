// Plan statistics.
#include "plan/plan_statistics.h"

#include <cstdint>

namespace veltra {

std::string HitRateText(int hits, int total) {
    if (total <= 0) return "0";
    // Hundredths of a per cent, rounded half up, in exact integer arithmetic.
    const int64_t hundredths = (int64_t{20000} * hits + total) / (int64_t{2} * total);
    std::string text = std::to_string(hundredths / 100);
    const int64_t fraction = hundredths % 100;
    if (fraction != 0) {
        text += "." + std::to_string(fraction / 10);
        if (fraction % 10 != 0) text += std::to_string(fraction % 10);
    }
    return text;
}

std::string StatisticsText(const PlanRecord& record) {
    int hits = 0;
    int misses = 0;
    for (const ForecastEntry& e : record.entries) {
        if (e.status == kHit) ++hits;
        if (e.status == kMiss) ++misses;
    }
    const int total = record.EntryCount();
    return "当前计划统计：总计" + std::to_string(total) + "期，中" + std::to_string(hits) +
           "期，挂" + std::to_string(misses) + "期，中奖率为" + HitRateText(hits, total) +
           "%\r\n彩票有风险，投注需谨慎！";
}

}  // namespace veltra
