// The book of every plan the program runs and every forecast each plan has issued,
// with the per-draw forecast cycle: verify the open forecasts, decide them, issue
// the next ones, live or replayed with hindsight.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "plan/plan_kind.h"
#include "plan/plan_record.h"
#include "platform/clock.h"

namespace veltra {

// The first n hexadecimal digits of the MD5 of the text's GBK bytes, as an unsigned
// number (n = 6 gives 0..16777215).
int64_t HexPrefixValue(std::string_view text, int n);

class PlanBook {
  public:
    // uptime: the millisecond counter the replay mixes into its candidate seeds.
    explicit PlanBook(Clock& uptime);

    void ResetBook();
    void ClearAllForecasts();
    void SetResetOnMisses(int value) { resetOnMisses = value; }
    void SetHitPercent(int value) { hitPercent = value; }
    // byName false: every plan; true: the first plan called name, if any.
    void SetPlanPeriodCount(int value, std::string_view name, bool byName);
    void SetKeyText(std::string_view text);
    void AddPlan(const PlanKind& kind);
    // Removes the first plan called name; 1, or 0 when there is none.
    int RemovePlan(std::string_view name);
    static void InitPlanFromKind(PlanRecord& record);
    void SetHistoryLimit(int value) { historyLimit = value; }
    // The three pieces of a numbers text split at ","; false unless exactly three.
    static bool SplitDraw(std::string_view numbers, DrawNumbers& pieces);
    // The three-digit serial k periods after the period's serial (its last two
    // characters), wrapping after periodsPerDay.
    std::string SerialAfter(std::string_view period, int64_t k) const;
    // The plan's lines, one per entry, each ended by CR LF.
    static std::string PlanText(const PlanRecord& record, std::string_view prefix);
    // Classifies type, adds a plan named name and gives it periodCount; false (book
    // unchanged) for an empty or unrecognised type.
    bool AddPlanByType(std::string_view type, std::string_view name, int periodCount);

    // One draw for every plan. nextNumbers empty: live; otherwise the numbers of the
    // draw that follows (replay). False, book unchanged, unless both numbers texts
    // have exactly three pieces.
    bool OnDraw(std::string_view period, std::string_view numbers, int32_t seed,
                std::string_view nextNumbers);
    void VerifyAll(std::string_view period, std::string_view numbers, const DrawNumbers& nums,
                   int32_t seed, const DrawNumbers& hindsight);
    // True when `needed` entries with status key are found among the newest `window`
    // entries; consecutive: any other status on the way ends the search.
    bool CountRecent(const PlanRecord& record, int key, int window, int needed,
                     bool consecutive) const;
    void IssueNext(PlanRecord& record, std::string_view period, int32_t seed,
                   const DrawNumbers& hindsight);

    // 1-based index of the first plan called name; 0 when none.
    int FindPlan(std::string_view name) const;
    std::string PlanNameAt(int index) const;
    std::string KeyText() const { return keyText; }
    int PlanCount() const { return static_cast<int>(plans.size()); }
    std::string PlanTextAt(int index) const;
    std::string PlanTextByName(std::string_view name) const;
    // Deep copy of the plan at index; out untouched when there is none.
    void CopyPlanAt(int index, PlanRecord& out) const;
    bool CopyPlanByName(std::string_view name, PlanRecord& out) const;
    std::string LatestForecastByName(std::string_view name) const;
    void SetPeriodsPerDay(int value) { periodsPerDay = value; }

    int BookSeed() const { return bookSeed; }
    int HitPercent() const { return hitPercent; }
    int HistoryLimit() const { return historyLimit; }
    int ResetOnMisses() const { return resetOnMisses; }
    const PlanRecord* PlanAt(int index) const;

  private:
    Clock& uptime;
    std::string keyText;
    int32_t bookSeed = 0;
    std::vector<PlanRecord> plans;
    int historyLimit = 0;
    int hitPercent = 80;
    int resetOnMisses = 1;
    int periodsPerDay = 82;
};

}  // namespace veltra
