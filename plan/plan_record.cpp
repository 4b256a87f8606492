// Deep copies of plan records.
#include "plan/plan_record.h"

namespace veltra {

PlanRecord::PlanRecord(const PlanRecord& other)
    : name(other.name),
      kind(other.kind ? other.kind->Clone() : nullptr),
      planSeed(other.planSeed),
      entries(other.entries),
      displayMode(other.displayMode),
      periodCount(other.periodCount) {}

PlanRecord& PlanRecord::operator=(const PlanRecord& other) {
    if (this != &other) *this = PlanRecord(other);
    return *this;
}

}  // namespace veltra
