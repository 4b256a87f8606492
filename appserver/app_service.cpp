// Request decoding, the functions and the faults of the application server.
#include "appserver/app_service.h"

#include <algorithm>
#include <charconv>
#include <exception>
#include <nlohmann/json.hpp>

#include "appserver/civil_time.h"
#include "base/md5_hex.h"
#include "base/text_split.h"
#include "server/envelope_codec.h"
#include "server/hex_text.h"
#include "server/rc4_cipher.h"
#include "server/url_escape.h"

namespace veltra {
namespace {

using Json = nlohmann::ordered_json;

// Refusal codes; "0" is success and "9999" belongs to the client's own errors.
constexpr const char* kNoData = "1";
constexpr const char* kNotHex = "2";
constexpr const char* kUndecryptable = "3";
constexpr const char* kBadDocument = "4";
constexpr const char* kUnknownApp = "5";
constexpr const char* kUnknownFunction = "6";
constexpr const char* kWrongAddress = "7";
constexpr const char* kBadParameter = "8";
constexpr const char* kTooLarge = "9";
constexpr const char* kBusy = "10";
constexpr const char* kNoSuchAddress = "11";
constexpr const char* kInternal = "12";

// The body a "broken" fault sends: JSON cut off in the middle.
constexpr const char* kBrokenJson = "{\"errcode\":\"0\",\"msg\":\"ok\",\"data\":";
// Data that is not JSON, for the "baddata" fault.
constexpr const char* kNotJson = "abc";

std::string Dump(const Json& json) {
    return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

HttpReply JsonReply(const std::string& errcode, const std::string& msg, Json data) {
    HttpReply reply;
    reply.body = Dump(Json{{"errcode", errcode}, {"msg", msg}, {"data", std::move(data)}});
    return reply;
}

// A success whose data is hexadecimal text, written directly: no character of it or of
// the message (one of ours, without quotes or backslashes) needs escaping.
HttpReply HexDataReply(std::string_view msg, std::string_view hex) {
    HttpReply reply;
    reply.body.reserve(hex.size() + msg.size() + 40);
    reply.body.append("{\"errcode\":\"0\",\"msg\":\"").append(msg).append("\",\"data\":\"");
    reply.body.append(hex).append("\"}");
    return reply;
}

// True for a non-empty text of an even number of hexadecimal digits.
bool IsHexText(std::string_view text) {
    if (text.empty() || text.size() % 2 != 0) return false;
    for (const char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))) {
            return false;
        }
    }
    return true;
}

HttpReply Refusal(const char* errcode, const std::string& msg) {
    return JsonReply(errcode, msg, "");
}

// The value of a form field, percent-escapes undone; nullopt when absent or malformed.
std::optional<std::string> FormField(std::string_view body, std::string_view name) {
    for (const std::string& piece : SplitText(body, "&")) {
        if (piece.size() > name.size() && piece.compare(0, name.size(), name) == 0 &&
            piece[name.size()] == '=') {
            return UrlUnescape(std::string_view(piece).substr(name.size() + 1));
        }
        if (piece == std::string(name) + "=") return std::string();
    }
    return std::nullopt;
}

// A member of a request document, null when it is missing. Looked up without adding
// it: the members live in one vector, and adding one could move those already read.
const Json& MemberOf(const Json& document, const char* name) {
    static const Json kMissing;
    const auto found = document.find(name);
    return found == document.end() ? kMissing : *found;
}

// A whole text that is a decimal integer (optional sign), or a JSON integer.
std::optional<int64_t> IntegerMember(const Json& value) {
    if (value.is_number_integer()) return value.get<int64_t>();
    if (!value.is_string()) return std::nullopt;
    const std::string& text = value.get_ref<const std::string&>();
    const char* begin = text.data() + (!text.empty() && text[0] == '+' ? 1 : 0);
    int64_t number = 0;
    const auto [end, ec] = std::from_chars(begin, text.data() + text.size(), number);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return number;
}

std::string JoinFields(const std::vector<std::string>& fields, std::string_view separator) {
    std::string text;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) text += separator;
        text += fields[i];
    }
    return text;
}

std::string EscapeHtml(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '&':
                escaped += "&amp;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

}  // namespace

// A decoded call request.
struct AppService::Call {
    std::string funname;
    int64_t rand = 0;
    std::vector<std::string> params;
};

// What a function answers before faults are applied: a refusal (errcode set), or
// success with either a payload sealed for the call's rand or plain data.
struct AppService::Outcome {
    std::string errcode;
    std::string msg;
    bool sealed = false;
    std::string sealedPayload;
    Json plainData;
};

AppService::AppService(Clock& clock, const DrawSource& draws, const HandshakeKeys& keys,
                       FaultPlan& faults, AppServiceConfig config)
    : clock(clock), draws(draws), keys(keys), faults(faults), config(std::move(config)) {}

void AppService::Count(std::string_view target) {
    for (size_t i = 0; i < kCounted.size(); ++i) {
        if (target == kCounted[i]) ++counts[i];
    }
}

HttpReply AppService::Post(Endpoint endpoint, std::string_view body, std::string_view baseUrl) {
    try {
        const std::optional<std::string> data = FormField(body, "DATA");
        if (!data) {
            Count("refused");
            return Refusal(kNoData, "请求缺少DATA字段");
        }
        if (data->rfind("GETRAND?", 0) == 0) return Handshake();
        if (!IsHexText(*data)) {
            Count("refused");
            return Refusal(kNotHex, "请求数据不是十六进制文本");
        }
        const int64_t now = clock.NowUnixSeconds();
        std::optional<Json> document;
        for (const std::string& key : keys.AcceptedAt(now)) {
            const std::optional<std::string> escaped = DecryptRequest(*data, key);
            if (!escaped) continue;
            const std::optional<std::string> text = UrlUnescape(*escaped);
            if (!text) continue;
            Json parsed = Json::parse(*text, nullptr, false);
            if (parsed.is_object()) {
                document = std::move(parsed);
                break;
            }
        }
        if (!document) {
            Count("refused");
            return Refusal(kUndecryptable, "请求无法解密，握手密钥无效或已过期");
        }
        Call call;
        const Json& funname = MemberOf(*document, "funname");
        const Json& params = MemberOf(*document, "param");
        const std::optional<int64_t> rand = IntegerMember(MemberOf(*document, "rand"));
        const std::optional<int64_t> appid = IntegerMember(MemberOf(*document, "appid"));
        bool wellFormed = funname.is_string() && params.is_array() && rand && appid &&
                          *rand >= -999999999 && *rand <= 999999999;
        if (wellFormed) {
            for (const Json& param : params) {
                if (!param.is_string()) wellFormed = false;
                if (wellFormed) call.params.push_back(param.get<std::string>());
            }
        }
        if (!wellFormed) {
            Count("refused");
            return Refusal(kBadDocument, "请求缺少必需的成员或成员类型错误");
        }
        if (*appid != config.applicationId) {
            Count("refused");
            return Refusal(kUnknownApp, "未知的应用：" + std::to_string(*appid));
        }
        call.funname = funname.get<std::string>();
        call.rand = *rand;
        return Dispatch(endpoint, call, baseUrl);
    } catch (const std::exception&) {
        return Refusal(kInternal, "服务器内部错误");
    }
}

HttpReply AppService::Handshake() {
    Count("handshake");
    const FaultPlan::Action action = faults.Take("handshake");
    const std::string key = keys.KeyAt(clock.NowUnixSeconds());
    HttpReply reply;
    if (!action.fault) {
        reply = HexDataReply("获取成功", SealHandshakeKey(key));
    } else if (*action.fault == FaultKind::kRefuse) {
        reply = Refusal(kBusy, "服务器繁忙，请稍后再试");
    } else if (*action.fault == FaultKind::kBroken) {
        reply.body = kBrokenJson;
    } else if (*action.fault == FaultKind::kBadSeal) {
        reply = JsonReply("0", "获取成功", BytesToHex(Rc4("not the envelope key", key)));
    }  // kEmpty: the empty body
    reply.delayMs = action.delayMs;
    return reply;
}

HttpReply AppService::Dispatch(Endpoint endpoint, const Call& call, std::string_view baseUrl) {
    const std::string& name = call.funname;
    const bool isInit = name == "init";
    const bool isData = name == "newestdraw" || name == "select_draw" ||
                        name == "select_draw_date" || name == "getInit" || name == "getforecast";
    if (!isInit && !isData) {
        Count("refused");
        return Refusal(kUnknownFunction, "未知的功能：" + name);
    }
    if (isInit != (endpoint == Endpoint::kInit)) {
        Count("refused");
        return Refusal(kWrongAddress,
                       isInit ? "初始化不在数据地址提供" : "数据功能不在初始化地址提供");
    }
    Count(name);
    const FaultPlan::Action action = faults.Take(name);
    HttpReply reply;
    reply.delayMs = action.delayMs;
    if (action.fault == FaultKind::kRefuse) {
        HttpReply refusal = Refusal(kBusy, "服务器繁忙，请稍后再试");
        refusal.delayMs = action.delayMs;
        return refusal;
    }
    if (action.fault == FaultKind::kEmpty) return reply;
    if (action.fault == FaultKind::kBroken) {
        reply.body = kBrokenJson;
        return reply;
    }

    Outcome outcome;
    if (isInit) {
        outcome = Init(baseUrl);
    } else if (name == "newestdraw") {
        outcome = NewestDraw(action.fault);
    } else if (name == "select_draw") {
        outcome = SelectDraw(call, action.fault);
    } else if (name == "select_draw_date") {
        outcome = SelectDrawDate(call, action.fault);
    } else if (name == "getInit") {
        outcome = GetInit();
    } else {
        outcome = GetForecast(call);
    }
    if (!outcome.errcode.empty()) {
        HttpReply refusal = Refusal(kBadParameter, outcome.msg);
        refusal.delayMs = action.delayMs;
        return refusal;
    }

    if (!action.fault && outcome.sealed) {
        HttpReply sealed = HexDataReply(outcome.msg, SealData(outcome.sealedPayload, call.rand));
        sealed.delayMs = action.delayMs;
        return sealed;
    }
    Json data;
    if (action.fault == FaultKind::kEmptyData) {
        data = "";
    } else if (action.fault == FaultKind::kBadData) {
        data = outcome.sealed ? SealData(kNotJson, call.rand) : std::string(kNotJson);
    } else if (action.fault == FaultKind::kBadSeal) {
        data = SealData(outcome.sealedPayload, call.rand + 1);
    } else if (outcome.sealed) {
        data = SealData(outcome.sealedPayload, call.rand);
    } else {
        data = std::move(outcome.plainData);
    }
    reply.body = Dump(Json{{"errcode", "0"}, {"msg", outcome.msg}, {"data", std::move(data)}});
    return reply;
}

AppService::Outcome AppService::Init(std::string_view baseUrl) {
    const std::string base(baseUrl);
    const Json payload = {{"drawurl", base + kDrawPath},
                          {"newphase", base + kNewPhasePath},
                          {"advert1", base + kAdvertPath},
                          {"advert2", ""},
                          {"version", config.version},
                          {"proupurl", base + kUpdatePath},
                          {"seo", ""}};
    Outcome outcome;
    outcome.msg = "初始化成功";
    outcome.sealed = true;
    outcome.sealedPayload = Dump(payload);
    return outcome;
}

AppService::Outcome AppService::NewestDraw(std::optional<FaultKind> fault) {
    const int64_t now = clock.NowUnixSeconds();
    const DrawRow newest = draws.Newest(now);
    const DrawRow coming = draws.Coming(now);
    std::vector<std::string> fields = {newest.tag,     newest.period,  newest.drawTime,
                                       newest.numbers, newest.seed,    coming.tag,
                                       coming.period,  coming.drawTime};
    if (fault == FaultKind::kFewerFields) {
        fields.pop_back();
    } else if (fault == FaultKind::kMoreFields) {
        fields.push_back(coming.drawTime);
    } else if (fault == FaultKind::kBadDate) {
        fields.back() = "不是日期";
    }
    const std::string text = JoinFields(fields, "| |");
    Outcome outcome;
    outcome.msg = "获取成功";
    outcome.sealed = true;
    outcome.sealedPayload = Dump(Json{{"errcode", "0"}, {"msg", "获取成功"}, {"data", text}});
    return outcome;
}

namespace {

// The draw list as the data member carries it: a JSON document in a string, whose own
// data member, last, holds the rows joined by CR LF. A misshapen-rows fault takes the
// last field from the first row or gives it a sixth.
Json NestedDrawList(const std::vector<DrawRow>& rows, std::optional<FaultKind> fault) {
    std::vector<std::string> lines;
    lines.reserve(rows.size());
    for (const DrawRow& row : rows) lines.push_back(JoinDrawRow(row));
    if (!lines.empty() && fault == FaultKind::kFewerFields) {
        lines.front().resize(lines.front().rfind("|+|"));
    } else if (!lines.empty() && fault == FaultKind::kMoreFields) {
        lines.front() += "|+|" + rows.front().seed;
    }
    const Json inner = {{"errcode", "0"}, {"msg", "查询成功"}, {"data", JoinFields(lines, "\r\n")}};
    return Dump(inner);
}

}  // namespace

AppService::Outcome AppService::SelectDraw(const Call& call, std::optional<FaultKind> fault) {
    Outcome outcome;
    const std::optional<int64_t> count =
        call.params.size() >= 2 ? IntegerMember(call.params[1]) : std::nullopt;
    if (!count || *count < 1) {
        outcome.errcode = kBadParameter;
        outcome.msg = "参数错误：条数须为正整数";
        return outcome;
    }
    const int rows = static_cast<int>(std::min<int64_t>(*count, config.maxDrawRows));
    outcome.msg = "查询成功";
    outcome.plainData = NestedDrawList(draws.Recent(clock.NowUnixSeconds(), rows), fault);
    return outcome;
}

AppService::Outcome AppService::SelectDrawDate(const Call& call, std::optional<FaultKind> fault) {
    Outcome outcome;
    const std::optional<CivilTime> date =
        call.params.size() >= 2 ? ParseDateTime(call.params[1]) : std::nullopt;
    if (!date) {
        outcome.errcode = kBadParameter;
        outcome.msg = "参数错误：日期格式应为 年-月-日";
        return outcome;
    }
    outcome.msg = "查询成功";
    outcome.plainData = NestedDrawList(draws.OnDate(clock.NowUnixSeconds(), *date), fault);
    return outcome;
}

AppService::Outcome AppService::GetInit() {
    Outcome outcome;
    outcome.msg = "获取成功";
    outcome.sealed = true;
    outcome.sealedPayload =
        Dump(Json{{"errcode", "0"}, {"msg", "获取成功"}, {"data", config.scheduleText}});
    return outcome;
}

AppService::Outcome AppService::GetForecast(const Call& call) {
    Outcome outcome;
    if (call.params.size() < 2) {
        outcome.errcode = kBadParameter;
        outcome.msg = "参数错误：缺少期号";
        return outcome;
    }
    std::string period = call.params[1];
    if (period.empty()) period = draws.Coming(clock.NowUnixSeconds()).period;
    Json values = Json::object();
    for (size_t i = 2; i < call.params.size(); ++i) {
        const std::string& key = call.params[i];
        const std::string digest =
            Md5Hex(std::to_string(config.forecastSeed) + "|" + period + "|" + key);
        values[key] = ParseNumber(digest.substr(0, 2), kBase16) % 2 == 0 ? "大" : "小";
    }
    outcome.msg = "获取成功";
    outcome.plainData = std::move(values);
    return outcome;
}

HttpReply AppService::Page(std::string_view target, HttpReply reply) {
    Count(target);
    const FaultPlan::Action action = faults.Take(target);
    reply.delayMs = action.delayMs;
    if (action.fault == FaultKind::kRefuse) {
        reply.status = 503;
        reply.contentType = "text/plain; charset=utf-8";
        reply.body = "服务暂不可用";
    } else if (action.fault == FaultKind::kEmpty) {
        reply.body.clear();
    } else if (action.fault == FaultKind::kBroken) {
        reply.body.resize(reply.body.size() / 2);
    }
    return reply;
}

HttpReply AppService::NewestPeriod() {
    HttpReply reply;
    reply.contentType = "text/plain; charset=utf-8";
    reply.body = draws.Newest(clock.NowUnixSeconds()).period;
    return Page("newphase", std::move(reply));
}

HttpReply AppService::AdvertPage() {
    const int64_t now = clock.NowUnixSeconds();
    const DrawRow newest = draws.Newest(now);
    const DrawRow coming = draws.Coming(now);
    HttpReply reply;
    reply.contentType = "text/html; charset=utf-8";
    reply.body =
        "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<title>吉林快3 开奖信息</title>\n<style>\n"
        "body{margin:0;padding:10px 14px;font-family:sans-serif;background:#fdf6ec;color:#333}\n"
        "h1{margin:0 0 6px;font-size:17px;color:#b22222}\n"
        "p{margin:3px 0;font-size:13px}\n"
        ".dice{font-weight:bold;color:#b22222}\n"
        ".note{margin-top:8px;font-size:12px;color:#888}\n"
        "</style>\n</head>\n<body>\n<h1>吉林快3 开奖信息</h1>\n"
        "<p>最新开奖：第 " +
        EscapeHtml(newest.period) + " 期　<span class=\"dice\">" + EscapeHtml(newest.numbers) +
        "</span></p>\n<p>下期期号：" + EscapeHtml(coming.period) + "　开奖时间：" +
        EscapeHtml(coming.drawTime) + "</p>\n<p>" + EscapeHtml(config.scheduleNote) +
        "</p>\n<p class=\"note\">彩票有风险，投注需谨慎！</p>\n</body>\n</html>\n";
    return Page("advert", std::move(reply));
}

HttpReply AppService::UpdateDownload() {
    HttpReply reply;
    reply.contentType = "application/octet-stream";
    reply.body = config.updateBytes;
    return Page("update", std::move(reply));
}

HttpReply AppService::Stats() const {
    Json counters = Json::object();
    for (size_t i = 0; i < kCounted.size(); ++i) counters[kCounted[i]] = counts[i].load();
    HttpReply reply;
    reply.body = Dump(counters);
    return reply;
}

HttpReply AppService::HttpRefusal(int status) {
    HttpReply reply;
    if (status == 404) {
        reply = Refusal(kNoSuchAddress, "地址不存在");
    } else if (status == 413) {
        reply = Refusal(kTooLarge, "请求过大");
    } else if (status >= 500) {
        reply = Refusal(kInternal, "服务器内部错误");
    } else {
        reply = Refusal(kNoData, "请求格式错误");
    }
    reply.status = status;
    return reply;
}

}  // namespace veltra
