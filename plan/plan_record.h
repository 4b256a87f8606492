// One plan of the plan book: a display name, its own forecasting method and the
// forecasts it has issued, oldest first.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "plan/forecast_entry.h"
#include "plan/plan_kind.h"

namespace veltra {

struct PlanRecord {
    PlanRecord() = default;
    PlanRecord(const PlanRecord& other);  // deep: the kind is cloned
    PlanRecord& operator=(const PlanRecord& other);
    PlanRecord(PlanRecord&&) = default;
    PlanRecord& operator=(PlanRecord&&) = default;

    int EntryCount() const { return static_cast<int>(entries.size()); }

    std::string name;
    std::unique_ptr<PlanKind> kind;
    int planSeed = 0;
    std::vector<ForecastEntry> entries;
    int displayMode = 0;
    int periodCount = 0;
};

}  // namespace veltra
