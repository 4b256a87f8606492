// Misbehaviour on request, for tests of the client: refusals, empty or broken
// bodies, slow replies, wrong envelopes, bad payloads.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltra {

enum class FaultKind {
    kRefuse,
    kEmpty,
    kBroken,
    kSlow,
    kBadSeal,
    kEmptyData,
    kBadData,
    kFewerFields,
    kMoreFields,
    kBadDate,
};

class FaultPlan {
  public:
    // What to do with one request: wait delayMs first, then answer with the fault
    // (none: answer normally).
    struct Action {
        int delayMs = 0;
        std::optional<FaultKind> fault;
    };

    // Adds the rules of rules "RULE[,RULE...]", RULE = KIND[:TARGET][=N] (see Help).
    // On a malformed rule list nothing is added and error says why. Not thread-safe: add
    // every rule before the first Take.
    bool Add(std::string_view ruleList, std::string* error);

    // The action for one request to target ("handshake", a function name, "newphase",
    // "advert" or "update"): the delays of every matching slow rule, and the fault of
    // the first other matching rule with turns left, whose turn is used up.
    // Thread-safe.
    Action Take(std::string_view target);

    bool Empty() const { return rules.empty(); }

    // The rules' syntax, for --help.
    static std::string Help();

  private:
    struct Rule {
        FaultKind kind;
        std::string target;  // "all" or one target
        int64_t number;      // slow: milliseconds; else how many times (-1: always)
        std::unique_ptr<std::atomic<int64_t>> used;
    };
    std::vector<Rule> rules;
};

}  // namespace veltra
