// The plan box.
#include "plan/plan_display.h"

#include <vector>

#include "base/text_integer.h"
#include "base/text_split.h"
#include "plan/plan_statistics.h"
#include "plan/plan_template.h"

namespace veltra {
namespace {

// The draws replayed at a rebuild: the newest and the 49 before it.
constexpr int kReplayedDraws = 50;

std::vector<std::string> WordsOf(std::string_view text) {
    return SplitText(ReplaceAll(text, "\r\n", " "), " ");
}

}  // namespace

PlanDisplay::PlanDisplay(WindowSystem& windowSystem, PlanBook& planBook, RecentDraws& draws,
                         const AppState& appState, const ProductProfile& product,
                         Clock& uptimeCounter)
    : windows(windowSystem),
      book(planBook),
      recentDraws(draws),
      state(appState),
      profile(product),
      uptime(uptimeCounter) {}

void PlanDisplay::Bind(std::string_view windowName, std::string_view controlName,
                       std::string_view planName) {
    window = std::string(windowName);
    control = std::string(controlName);
    shownPlan = std::string(planName);
}

void PlanDisplay::OnNewDraw(const DrawRecord& draw) {
    book.OnDraw(draw.period, draw.numbers, uptime.UptimeMilliseconds(), "");
    Refresh();
}

std::string PlanDisplay::BoxText() const {
    // The statistics of a plan that does not exist are those of an empty record.
    static const PlanRecord kEmpty;
    const PlanRecord* plan = book.PlanAt(book.FindPlan(shownPlan));
    std::string text = plan ? PlanBook::PlanText(*plan, book.KeyText()) : std::string();
    text += "\r\n\r\n";
    text += StatisticsText(plan ? *plan : kEmpty);
    return text;
}

void PlanDisplay::Refresh() {
    if (control.empty()) return;  // not bound to a box yet
    windows.SetText(window, control, BoxText());
    windows.SetSelectionStart(window, control, -1);
    windows.ProcessPendingEvents();
}

void PlanDisplay::SetBetCount(int betCount) {
    book.RemovePlan(shownPlan);
    shownPlan = profile.betPrefix + std::to_string(betCount) + "注";
    BuildPlansFromTemplate(shownPlan, "", false);
    int x = betCount;
    while (x > 100) x /= 10;
    book.SetHitPercent(x + 20);
    ClearAndRebuild();
}

void PlanDisplay::ClearAndRebuild(int /*unused*/) {
    Rebuild(state.periodCount);
}

void PlanDisplay::Rebuild(int periodCount) {
    book.ClearAllForecasts();
    book.SetPlanPeriodCount(periodCount, "", false);
    for (int k = kReplayedDraws; k >= 2; --k) {
        const DrawRecord& draw = recentDraws.At(k);
        book.OnDraw(draw.period, draw.numbers, draw.seed, recentDraws.At(k - 1).numbers);
    }
    OnNewDraw(recentDraws.At(1));
}

bool PlanDisplay::BuildPlansFromTemplate(std::string_view templateText, std::string_view names,
                                         bool useNames) {
    std::vector<std::string> nameList;
    if (useNames) nameList = WordsOf(names);
    size_t nextName = 0;

    PlanTemplate planTemplate(windows);
    std::vector<TemplateEntry> entries;
    planTemplate.ParseTemplate(templateText, entries);
    if (entries.empty()) return false;

    const TemplateEntry& first = entries.front();
    for (int s = 0; s < first.sectionCount && s < static_cast<int>(first.sections.size()); ++s) {
        const TemplateSection& section = first.sections[static_cast<size_t>(s)];
        const std::vector<std::string> types = WordsOf(section.written);
        const std::vector<std::string> shownNames = WordsOf(section.expanded);
        const int periods = static_cast<int>(IntegerOfText(section.name));
        for (size_t m = 0; m < types.size(); ++m) {
            if (types[m].empty()) continue;
            std::string name;
            if (useNames) {
                if (nextName < nameList.size()) name = nameList[nextName++];
            } else if (m < shownNames.size()) {
                name = shownNames[m];
            }
            if (!book.AddPlanByType(types[m], name, periods)) return false;
        }
    }
    return true;
}

}  // namespace veltra
