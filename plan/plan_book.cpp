// The plan book and its forecast cycle.
#include "plan/plan_book.h"

#include "base/gbk_text.h"
#include "base/lcg_random.h"
#include "base/md5_hex.h"
#include "base/text_integer.h"
#include "base/text_split.h"
#include "plan/plan_type_classifier.h"
#include "server/hex_text.h"

namespace veltra {
namespace {

// Q of a plan's first window: the period's integer value minus one, so that the
// window starts at the period's own serial. Period numbers exceed 32 bits.
std::string PeriodBefore(std::string_view period) {
    const auto value = static_cast<uint64_t>(IntegerOfText(period));
    return std::to_string(static_cast<int64_t>(value - 1));
}

}  // namespace

int64_t HexPrefixValue(std::string_view text, int n) {
    // The GBK bytes, so that a plan's seed is the same on every platform.
    const std::string digest = Md5Hex(Utf8ToGbkLossy(text));
    if (n < 0) n = 0;
    return ParseNumber(std::string_view(digest).substr(0, static_cast<size_t>(n)), kBase16);
}

PlanBook::PlanBook(Clock& uptimeCounter) : uptime(uptimeCounter) {}

void PlanBook::ResetBook() {
    plans.clear();
    keyText.clear();
    bookSeed = 0;
    historyLimit = 0;
    hitPercent = 0;
    resetOnMisses = 1;
}

void PlanBook::ClearAllForecasts() {
    for (PlanRecord& plan : plans) plan.entries.clear();
}

void PlanBook::SetPlanPeriodCount(int value, std::string_view name, bool byName) {
    if (!byName) {
        for (PlanRecord& plan : plans) plan.periodCount = value;
        return;
    }
    if (const int index = FindPlan(name)) plans[index - 1].periodCount = value;
}

void PlanBook::SetKeyText(std::string_view text) {
    keyText = std::string(text);
    const std::string digest = Md5Hex(Utf8ToGbkLossy(text));
    const int32_t value = WrapInt32(ParseNumber(std::string_view(digest).substr(0, 8), kBase16));
    // The absolute value; -2^31 has none in 32 bits and stays as it is.
    bookSeed = value < 0 ? WrapInt32(-static_cast<int64_t>(value)) : value;
}

void PlanBook::AddPlan(const PlanKind& kind) {
    PlanRecord& record = plans.emplace_back();
    record.kind = kind.Clone();
    InitPlanFromKind(record);
}

int PlanBook::RemovePlan(std::string_view name) {
    const int index = FindPlan(name);
    if (index == 0) return 0;
    plans.erase(plans.begin() + (index - 1));
    return 1;
}

void PlanBook::InitPlanFromKind(PlanRecord& record) {
    record.name = record.kind->Name();
    record.displayMode = record.kind->DisplayMode();
    record.periodCount = record.kind->PeriodCount();
    record.planSeed = static_cast<int>(HexPrefixValue(record.name, 6));
}

bool PlanBook::SplitDraw(std::string_view numbers, DrawNumbers& pieces) {
    pieces = SplitText(numbers, ",");
    return pieces.size() == 3;
}

std::string PlanBook::SerialAfter(std::string_view period, int64_t k) const {
    const std::string_view tail = period.size() > 2 ? period.substr(period.size() - 2) : period;
    int64_t c = IntegerOfText(tail) + k;
    if (periodsPerDay > 0 && c > periodsPerDay) c = (c - 1) % periodsPerDay + 1;
    if (c < 10) return "00" + std::to_string(c);
    if (c < 100) return "0" + std::to_string(c);
    return std::to_string(c);
}

std::string PlanBook::PlanText(const PlanRecord& record, std::string_view prefix) {
    std::string text;
    text.reserve(record.entries.size() * (64 + prefix.size() + record.name.size()));
    const bool compact = record.displayMode == kCompact;
    const bool single = record.periodCount == 1;
    for (const ForecastEntry& e : record.entries) {
        text += e.startSerial;
        if (!single) {
            text += '-';
            text += e.endSerial;
        }
        text += "期 ";
        text += prefix;
        text += record.name;
        if (compact) {
            text += ' ';
        } else {
            text += "【";
            text += e.forecast;
            text += "】 ";
        }
        if (e.status == kHit || (e.status == kMiss && single)) {
            text += '<';
            text += e.drawSerial;
            text += "期-";
            text += e.drawNumbers;
            text += e.status == kHit ? ">→中" : ">→无";
        } else {
            text += e.status == kMiss ? "挂" : "等开";
        }
        text += "\r\n";
    }
    // The compact list shows the forecast in force once, at the bottom.
    if (compact && !record.entries.empty()) {
        text += "\r\n\r\n ";
        text += record.entries.back().forecast;
        text += "\r\n";
    }
    return text;
}

bool PlanBook::AddPlanByType(std::string_view type, std::string_view name, int periodCount) {
    if (type.empty()) return false;
    const std::unique_ptr<PlanKind> kind = KindForPlanType(type, name);
    if (!kind) return false;
    AddPlan(*kind);
    SetPlanPeriodCount(periodCount, name, true);
    return true;
}

bool PlanBook::OnDraw(std::string_view period, std::string_view numbers, int32_t seed,
                      std::string_view nextNumbers) {
    DrawNumbers nums;
    if (!SplitDraw(numbers, nums)) return false;
    DrawNumbers hindsight;
    if (!nextNumbers.empty() && !SplitDraw(nextNumbers, hindsight)) return false;
    VerifyAll(period, numbers, nums, seed, hindsight);
    return true;
}

void PlanBook::VerifyAll(std::string_view period, std::string_view numbers, const DrawNumbers& nums,
                         int32_t seed, const DrawNumbers& hindsight) {
    if (seed == 0) return;
    const std::string serial = SerialAfter(period, 0);
    const int64_t d = IntegerOfText(serial);
    const int32_t l = WrapInt32(int64_t{bookSeed} + d + seed);
    for (PlanRecord& plan : plans) {
        if (!plan.kind) continue;
        if (plan.entries.empty()) IssueNext(plan, PeriodBefore(period), l, hindsight);
        ForecastEntry& e = plan.entries.back();
        e.drawSerial = serial;
        e.drawNumbers = std::string(numbers);
        e.status = plan.kind->验证预测(nums, e.forecast) ? kHit : kMiss;
        if (e.status == kHit) {
            IssueNext(plan, period, l, hindsight);
        } else if (d == IntegerOfText(e.endSerial)) {
            // The window's last period is drawn: the miss is final.
            if (resetOnMisses != 0 && CountRecent(plan, kMiss, 3, 2, false)) plan.entries.clear();
            IssueNext(plan, period, l, hindsight);
        } else {
            e.status = kOpen;  // later draws of the window may still hit it
        }
    }
}

bool PlanBook::CountRecent(const PlanRecord& record, int key, int window, int needed,
                           bool consecutive) const {
    const int count = record.EntryCount();
    if (count < needed) return false;
    const int oldest = std::max(1, count - window + 1);
    int found = 0;
    for (int i = count; i >= oldest; --i) {
        if (record.entries[i - 1].status == key) {
            if (++found >= needed) return true;
        } else if (consecutive) {
            return false;
        }
    }
    return false;
}

void PlanBook::IssueNext(PlanRecord& record, std::string_view period, int32_t seed,
                         const DrawNumbers& hindsight) {
    ForecastEntry entry;
    entry.startSerial = SerialAfter(period, 1);
    entry.endSerial = SerialAfter(period, record.periodCount);
    if (hindsight.empty()) {
        entry.forecast = record.kind->取下期预测(WrapInt32(int64_t{seed} + record.planSeed));
    } else {
        // Replay: choose among up to ten candidates the one whose outcome against the
        // known next draw matches a weighted coin.
        int chance = hitPercent;
        if (CountRecent(record, kMiss, 2, 2, true)) {
            chance = 100;
        } else if (CountRecent(record, kHit, 5, 5, true)) {
            chance = 0;
        }
        const bool hitWanted = SharedRandom().Range(0, 100) <= chance;
        int32_t b = seed;
        for (int k = 1; k <= 10; ++k) {
            b = WrapInt32(int64_t{uptime.UptimeMilliseconds()} + b);
            entry.forecast = record.kind->取下期预测(WrapInt32(int64_t{b} + k));
            if (record.kind->验证预测(hindsight, entry.forecast) == hitWanted) break;
        }
    }
    if (historyLimit != 0 && record.EntryCount() >= historyLimit) {
        record.entries.erase(record.entries.begin());
    }
    record.entries.push_back(std::move(entry));
}

int PlanBook::FindPlan(std::string_view name) const {
    for (size_t i = 0; i < plans.size(); ++i) {
        if (plans[i].name == name) return static_cast<int>(i) + 1;
    }
    return 0;
}

const PlanRecord* PlanBook::PlanAt(int index) const {
    if (index < 1 || index > PlanCount()) return nullptr;
    return &plans[index - 1];
}

std::string PlanBook::PlanNameAt(int index) const {
    const PlanRecord* plan = PlanAt(index);
    return plan ? plan->name : std::string();
}

std::string PlanBook::PlanTextAt(int index) const {
    const PlanRecord* plan = PlanAt(index);
    return plan ? PlanText(*plan, keyText) : std::string();
}

std::string PlanBook::PlanTextByName(std::string_view name) const {
    return PlanTextAt(FindPlan(name));
}

void PlanBook::CopyPlanAt(int index, PlanRecord& out) const {
    if (const PlanRecord* plan = PlanAt(index)) out = *plan;
}

bool PlanBook::CopyPlanByName(std::string_view name, PlanRecord& out) const {
    const int index = FindPlan(name);
    if (index == 0) return false;
    CopyPlanAt(index, out);
    return true;
}

std::string PlanBook::LatestForecastByName(std::string_view name) const {
    const PlanRecord* plan = PlanAt(FindPlan(name));
    if (plan == nullptr || plan->entries.empty()) return {};
    return plan->entries.back().forecast;
}

}  // namespace veltra
