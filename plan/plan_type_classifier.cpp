// Plan type classification: the first pattern that matches the whole type decides.
#include "plan/plan_type_classifier.h"

#include "base/text_integer.h"
#include "plan/distinct_number_kind.h"
#include "plan/position_code_kind.h"
#include "plan/same_number_kind.h"
#include "plan/single_code_kind.h"
#include "plan/sum_big_small_kind.h"
#include "plan/sum_odd_even_kind.h"

namespace veltra {
namespace {

constexpr int64_t kMostCodes = 6;

}  // namespace

const std::array<Regex, 5>& PlanNamePatterns() {
    static const std::array<Regex, 5> patterns = {
        Regex("([个十百])位定(\\d+)码"),
        Regex("([一二三])同号复选"),
        Regex("([一二三])不同号(?:通选)?"),
        Regex("和值(大小|单双)"),
        Regex("独胆定(\\d+)码"),
    };
    return patterns;
}

int ChineseDigitValue(std::string_view text) {
    static constexpr std::string_view kDigits[] = {"零", "一", "二", "三", "四", "五",
                                                   "六", "七", "八", "九", "十"};
    for (int value = 0; value <= 10; ++value) {
        if (text == kDigits[value]) return value;
    }
    return -1;
}

std::unique_ptr<PlanKind> KindForPlanType(std::string_view type, std::string_view name) {
    const auto& patterns = PlanNamePatterns();
    if (const auto m = patterns[0].WholeMatch(type)) {
        const std::string& place = m->Group(1);
        const int position = place == "百" ? 1 : place == "十" ? 2 : place == "个" ? 3 : 0;
        const int64_t codes = IntegerOfText(m->Group(2));
        if (position == 0 || codes < 1 || codes > kMostCodes) return nullptr;
        auto kind = std::make_unique<PositionCodeKind>();
        kind->Configure(position, static_cast<int>(codes), name);
        return kind;
    }
    if (const auto m = patterns[1].WholeMatch(type)) {
        auto kind = std::make_unique<SameNumberKind>();
        kind->Configure(ChineseDigitValue(m->Group(1)), name);
        return kind;
    }
    if (const auto m = patterns[2].WholeMatch(type)) {
        auto kind = std::make_unique<DistinctNumberKind>();
        kind->Configure(ChineseDigitValue(m->Group(1)), 4, name);
        return kind;
    }
    if (const auto m = patterns[3].WholeMatch(type)) {
        if (m->Group(1) == "单双") {
            auto kind = std::make_unique<SumOddEvenKind>();
            kind->Configure(1, 3, name);
            return kind;
        }
        if (m->Group(1) == "大小") {
            auto kind = std::make_unique<SumBigSmallKind>();
            kind->Configure(1, 3, name);
            return kind;
        }
        return nullptr;
    }
    if (const auto m = patterns[4].WholeMatch(type)) {
        // No codes still writes one face; more than a die's faces is refused.
        const int64_t codes = IntegerOfText(m->Group(1));
        if (codes > kMostCodes) return nullptr;
        auto kind = std::make_unique<SingleCodeKind>();
        kind->Configure(static_cast<int>(codes), name);
        return kind;
    }
    return nullptr;
}

}  // namespace veltra
