// The /clock address of a server started with --now.
#include "appserver/clock_control.h"

#include <charconv>
#include <nlohmann/json.hpp>
#include <optional>

namespace veltra {
namespace {

// 9999-12-31 23:59:59 UTC: the last instant with a four-digit year.
constexpr int64_t kLatest = 253402300799;

std::optional<int64_t> NumberAfter(std::string_view body, std::string_view name) {
    if (body.substr(0, name.size()) != name) return std::nullopt;
    const std::string_view digits = body.substr(name.size());
    int64_t value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    if (value < -kLatest || value > kLatest) return std::nullopt;
    return value;
}

}  // namespace

HttpReply ClockControl::Handle(std::string_view body) {
    while (!body.empty() && (body.back() == '\n' || body.back() == '\r')) body.remove_suffix(1);
    int64_t target = clock.NowUnixSeconds();
    bool valid = true;
    if (body.rfind("now=", 0) == 0) {
        const std::optional<int64_t> now = NumberAfter(body, "now=");
        valid = now.has_value();
        if (valid) target = *now;
    } else if (body.rfind("advance=", 0) == 0) {
        const std::optional<int64_t> step = NumberAfter(body, "advance=");
        valid = step.has_value();
        if (valid) target += *step;
    } else {
        valid = body.empty();
    }
    using Json = nlohmann::ordered_json;
    HttpReply reply;
    if (!valid || target < 0 || target > kLatest) {
        reply.body = Json{
            {"errcode", "8"},
            {"msg", "参数错误：now=秒数 或 advance=秒数"},
            {"data", ""}}.dump();
        return reply;
    }
    clock.Set(target);
    reply.body = Json{{"errcode", "0"}, {"msg", "ok"}, {"data", std::to_string(target)}}.dump();
    return reply;
}

}  // namespace veltra
