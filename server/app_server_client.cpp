// Initialisation, application information and the draw feed calls.
#include "server/app_server_client.h"

#include <optional>

#include "base/gbk_text.h"
#include "base/text_split.h"

namespace veltra {
namespace {

constexpr std::string_view kInitFailed = "初始化连接服务器失败！：";
constexpr std::string_view kDrawsFailed = "获取最新开奖数据失败!";
constexpr std::string_view kCodeLabel = " 错误代码：";
constexpr std::string_view kPeriodFailed = "最新期号获取失败!";
constexpr std::string_view kBadDate = "日期无效!";

struct Date {
    int year = 0;
    int month = 0;
    int day = 0;
};

// Reads a run of at most maxDigits decimal digits at pos; nullopt when there is none.
std::optional<int> ReadNumber(std::string_view text, size_t& pos, size_t maxDigits) {
    const size_t start = pos;
    int value = 0;
    while (pos < text.size() && pos - start < maxDigits && text[pos] >= '0' && text[pos] <= '9') {
        value = value * 10 + (text[pos] - '0');
        ++pos;
    }
    if (pos == start) return std::nullopt;
    return value;
}

bool Skip(std::string_view text, size_t& pos, std::initializer_list<std::string_view> options) {
    for (const std::string_view option : options) {
        if (text.substr(pos, option.size()) == option) {
            pos += option.size();
            return true;
        }
    }
    return false;
}

bool IsRealDate(const Date& d) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (d.year < 1 || d.month < 1 || d.month > 12 || d.day < 1) return false;
    const bool leap = (d.year % 4 == 0 && d.year % 100 != 0) || d.year % 400 == 0;
    const int days = kDays[d.month - 1] + (d.month == 2 && leap ? 1 : 0);
    return d.day <= days;
}

// The date of a date-time text; a time after the date is allowed and not read.
std::optional<Date> DateOfText(std::string_view text) {
    size_t pos = 0;
    Date d;
    if (text.size() >= 8 && text.find_first_not_of("0123456789") >= 8) {
        // Compact form yyyymmdd.
        d.year =
            (text[0] - '0') * 1000 + (text[1] - '0') * 100 + (text[2] - '0') * 10 + (text[3] - '0');
        d.month = (text[4] - '0') * 10 + (text[5] - '0');
        d.day = (text[6] - '0') * 10 + (text[7] - '0');
        pos = 8;
    } else {
        const auto year = ReadNumber(text, pos, 4);
        if (!year || !Skip(text, pos, {"-", "/", "年"})) return std::nullopt;
        const auto month = ReadNumber(text, pos, 2);
        if (!month || !Skip(text, pos, {"-", "/", "月"})) return std::nullopt;
        const auto day = ReadNumber(text, pos, 2);
        if (!day) return std::nullopt;
        Skip(text, pos, {"日"});
        d = Date{*year, *month, *day};
    }
    if (pos < text.size() && text[pos] != ' ' && text[pos] != 'T') return std::nullopt;
    if (!IsRealDate(d)) return std::nullopt;
    return d;
}

}  // namespace

AppServerClient::AppServerClient(JsonService& jsonService, const HttpTransport& httpTransport,
                                 Clock& systemClock, WindowSystem& windowSystem)
    : dataChannel(jsonService, httpTransport, systemClock),
      initReply(jsonService),
      dataReply(jsonService),
      json(&jsonService),
      transport(&httpTransport),
      clock(&systemClock),
      windows(&windowSystem) {}

bool AppServerClient::Init(std::string_view address, int32_t applicationId) {
    ServerChannel channel(*json, *transport, *clock);
    channel.SetEndpoint(address, applicationId);
    bool ok = false;
    for (int attempt = 1; attempt <= kInitAttempts; ++attempt) {
        ok = channel.CallWithParams(initReply, "init");
        if (ok || attempt == kInitAttempts) break;
        // Keeps the program's windows alive while the server is being retried.
        windows->ProcessPendingEvents();
    }
    if (!ok) {
        lastError = std::string(kInitFailed) + initReply.Msg() + std::string(kCodeLabel) +
                    initReply.ErrCode();
        return false;
    }
    ReadAppInfo(initReply, appInfo);
    newestPeriodAddress = appInfo.newphase;
    dataChannel.SetEndpoint(appInfo.drawurl, applicationId);
    return true;
}

void AppServerClient::ReadAppInfo(const JsonReply& reply, AppInfo& info) const {
    info.drawurl = reply.GetMemberText("drawurl");
    info.newphase = reply.GetMemberText("newphase");
    info.advert1 = reply.GetMemberText("advert1");
    info.advert2 = reply.GetMemberText("advert2");
    info.version = reply.GetMemberText("version");
    info.proupurl = reply.GetMemberText("proupurl");
    info.seo = reply.GetMemberText("seo");
}

bool AppServerClient::GetForecast(std::string_view k, const std::vector<std::string>& keys,
                                  std::vector<std::string>& values) {
    std::vector<std::string> list = {token, std::string(k)};
    list.insert(list.end(), keys.begin(), keys.end());
    if (!dataChannel.CallForData(dataReply, "getforecast", list, /*plain=*/true)) return false;
    values.clear();
    for (const std::string& key : keys) values.push_back(dataReply.GetMemberText(key));
    return true;
}

bool AppServerClient::NewestDraw(std::vector<std::string>& fields) {
    if (!dataChannel.CallWithParams(dataReply, "newestdraw", token)) return false;
    fields = SplitText(dataReply.GetMemberText("data"), "| |");
    return !fields.empty();
}

bool AppServerClient::SelectDraw(int count, DrawTable& table) {
    return SelectDrawList("select_draw", std::to_string(count), table);
}

bool AppServerClient::SelectDrawDate(std::string_view date, DrawTable& table) {
    const std::optional<Date> d = DateOfText(date);
    if (!d) {
        // Nothing is sent for a text that names no date.
        dataChannel.SetErrorReply(dataReply, ServerChannel::kErrorCode, kBadDate);
        lastError = std::string(kDrawsFailed) + std::string(kBadDate) + std::string(kCodeLabel) +
                    std::string(ServerChannel::kErrorCode);
        return false;
    }
    const std::string day =
        std::to_string(d->year) + "-" + std::to_string(d->month) + "-" + std::to_string(d->day);
    return SelectDrawList("select_draw_date", day, table);
}

bool AppServerClient::SelectDrawList(std::string_view funName, std::string_view second,
                                     DrawTable& table) {
    std::string replyText;
    int rand = 0;
    if (!dataChannel.Call(replyText, funName, {token, std::string(second)}, rand, dataReply)) {
        lastError = std::string(kDrawsFailed) + dataReply.Msg() + std::string(kCodeLabel) +
                    dataReply.ErrCode();
        return false;
    }
    const std::string list = ExtractDrawText(replyText);
    // Rows of different widths would put fields of one draw into another's record:
    // such a list is a payload the program cannot read.
    if (!DrawListRowsAlign(list)) {
        dataChannel.SetErrorReply(dataReply, ServerChannel::kErrorCode, ServerChannel::kBadPayload);
        lastError = std::string(kDrawsFailed) + dataReply.Msg() + std::string(kCodeLabel) +
                    dataReply.ErrCode();
        return false;
    }
    ParseDrawTable(list, table);
    return true;
}

bool AppServerClient::GetInit(std::string& text) {
    if (!dataChannel.CallWithParams(dataReply, "getInit", token)) return false;
    text = dataReply.GetMemberText("data");
    return !text.empty();
}

std::string AppServerClient::ExtractDrawText(std::string& body) const {
    // The list is the data member of a document nested as a string in the reply's
    // own data member: it starts after  data\":\"  and ends before the backslash
    // in front of the last  "}" .
    const size_t a = body.find("data\\");
    const size_t b = body.rfind("\"}\"");
    if (a == std::string::npos || b == std::string::npos || b < a + 10) {
        body.clear();
        return {};
    }
    body = body.substr(a + 9, b - a - 10);
    return ReplaceAll(body, "\\\\r\\\\n", "\r\n");
}

std::string AppServerClient::NewestPeriod() {
    std::string text = transport->PlainGet(newestPeriodAddress);
    if (text.empty() || !IsValidUtf8(text)) {
        lastError = std::string(kPeriodFailed);
        return {};
    }
    return text;
}

}  // namespace veltra
