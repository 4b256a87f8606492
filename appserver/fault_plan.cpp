// Parsing the fault rules and matching requests against them.
#include "appserver/fault_plan.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "base/text_split.h"

namespace veltra {
namespace {

struct KindName {
    FaultKind kind;
    const char* name;
};

constexpr std::array<KindName, 10> kKinds = {{
    {FaultKind::kRefuse, "refuse"},
    {FaultKind::kEmpty, "empty"},
    {FaultKind::kBroken, "broken"},
    {FaultKind::kSlow, "slow"},
    {FaultKind::kBadSeal, "badseal"},
    {FaultKind::kEmptyData, "emptydata"},
    {FaultKind::kBadData, "baddata"},
    {FaultKind::kFewerFields, "fewerfields"},
    {FaultKind::kMoreFields, "morefields"},
    {FaultKind::kBadDate, "baddate"},
}};

constexpr std::array<const char*, 6> kFunctions = {
    "init", "newestdraw", "select_draw", "select_draw_date", "getInit", "getforecast"};
constexpr std::array<const char*, 3> kPages = {"newphase", "advert", "update"};
constexpr int64_t kMaxDelayMs = 600000;

bool IsFunction(std::string_view target) {
    return std::find(kFunctions.begin(), kFunctions.end(), target) != kFunctions.end();
}

bool IsKnownTarget(std::string_view target) {
    return target == "all" || target == "handshake" || IsFunction(target) ||
           std::find(kPages.begin(), kPages.end(), target) != kPages.end();
}

// Whether a fault of this kind can happen to a request of this target.
bool Applies(FaultKind kind, std::string_view target) {
    switch (kind) {
        case FaultKind::kRefuse:
        case FaultKind::kEmpty:
        case FaultKind::kBroken:
        case FaultKind::kSlow:
            return true;
        case FaultKind::kBadSeal:
            return target == "handshake" || target == "init" || target == "newestdraw" ||
                   target == "getInit";
        case FaultKind::kEmptyData:
        case FaultKind::kBadData:
            return IsFunction(target);
        case FaultKind::kFewerFields:
        case FaultKind::kMoreFields:
            return target == "newestdraw" || target == "select_draw" ||
                   target == "select_draw_date";
        case FaultKind::kBadDate:
            return target == "newestdraw";
    }
    return false;
}

}  // namespace

bool FaultPlan::Add(std::string_view ruleList, std::string* error) {
    std::vector<Rule> added;
    for (const std::string& item : SplitText(ruleList, ",")) {
        const auto fail = [&](const std::string& why) {
            *error = "fault \"" + item + "\": " + why;
            return false;
        };
        std::string_view rest = item;
        std::string_view numberText;
        const size_t equals = rest.find('=');
        if (equals != std::string_view::npos) {
            numberText = rest.substr(equals + 1);
            rest = rest.substr(0, equals);
        }
        std::string_view target = "all";
        const size_t colon = rest.find(':');
        if (colon != std::string_view::npos) {
            target = rest.substr(colon + 1);
            rest = rest.substr(0, colon);
        }
        const auto kind = std::find_if(kKinds.begin(), kKinds.end(),
                                       [&](const KindName& k) { return rest == k.name; });
        if (kind == kKinds.end()) return fail("unknown kind");
        if (!IsKnownTarget(target)) return fail("unknown target");
        if (target != "all" && !Applies(kind->kind, target)) {
            return fail("this kind does not apply to this target");
        }
        int64_t number = -1;
        if (equals != std::string_view::npos) {
            const auto [end, ec] =
                std::from_chars(numberText.data(), numberText.data() + numberText.size(), number);
            if (ec != std::errc() || end != numberText.data() + numberText.size() || number < 1) {
                return fail("the number must be a whole number of at least 1");
            }
        }
        if (kind->kind == FaultKind::kSlow && (number < 1 || number > kMaxDelayMs)) {
            return fail("slow needs =MILLISECONDS (1.." + std::to_string(kMaxDelayMs) + ")");
        }
        added.push_back(Rule{kind->kind, std::string(target), number,
                             std::make_unique<std::atomic<int64_t>>(0)});
    }
    if (added.empty()) {
        *error = "empty fault rules";
        return false;
    }
    for (Rule& rule : added) rules.push_back(std::move(rule));
    return true;
}

FaultPlan::Action FaultPlan::Take(std::string_view target) {
    Action action;
    for (Rule& rule : rules) {
        if ((rule.target != "all" && rule.target != target) || !Applies(rule.kind, target)) {
            continue;
        }
        if (rule.kind == FaultKind::kSlow) {
            action.delayMs += static_cast<int>(rule.number);
            continue;
        }
        if (action.fault) continue;
        if (rule.number >= 0 && rule.used->fetch_add(1) >= rule.number) continue;
        action.fault = rule.kind;
    }
    action.delayMs = static_cast<int>(std::min<int64_t>(action.delayMs, kMaxDelayMs));
    return action;
}

std::string FaultPlan::Help() {
    return "  --fault RULES         misbehave on purpose (for tests); RULES is RULE[,RULE...],\n"
           "                        the option may be repeated. RULE = KIND[:TARGET][=N]:\n"
           "                          refuse     answer with errcode 10 (pages: HTTP 503)\n"
           "                          empty      an empty body\n"
           "                          broken     a body that is not valid JSON\n"
           "                          slow=MS    wait MS milliseconds before answering\n"
           "                          badseal    the handshake key or the encrypted data\n"
           "                                     sealed with a wrong key (handshake, init,\n"
           "                                     newestdraw, getInit)\n"
           "                          emptydata  success with an empty data member\n"
           "                          baddata    success with data that is not JSON\n"
           "                          fewerfields the newest draw with seven fields, or a\n"
           "                                     draw list whose first row lacks its\n"
           "                                     last field (newestdraw, select_draw,\n"
           "                                     select_draw_date)\n"
           "                          morefields the newest draw with nine fields, or a\n"
           "                                     draw list whose first row has a sixth\n"
           "                                     field (same targets)\n"
           "                          baddate    the coming draw time is not a date\n"
           "                                     (newestdraw)\n"
           "                        TARGET: handshake, init, newestdraw, select_draw,\n"
           "                        select_draw_date, getInit, getforecast, newphase,\n"
           "                        advert, update or all (the default). N (not for slow):\n"
           "                        only the first N matching requests misbehave; without\n"
           "                        it every one does. Example: refuse:init=2,slow:all=200\n";
}

}  // namespace veltra
