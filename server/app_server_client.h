// The program's client of the application server: initialisation with retries, the
// application information it returns, the data channel to the draw server and the
// draw feed calls made through it. Keeps the last error text for callers to show.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "draws/draw_table.h"
#include "platform/clock.h"
#include "platform/window_system.h"
#include "server/app_info.h"
#include "server/http_transport.h"
#include "server/json_reply.h"
#include "server/server_channel.h"

namespace veltra {

class AppServerClient {
  public:
    static constexpr int kInitAttempts = 10;

    AppServerClient(JsonService& json, const HttpTransport& transport, Clock& clock,
                    WindowSystem& windows);
    AppServerClient(const AppServerClient&) = delete;
    AppServerClient& operator=(const AppServerClient&) = delete;

    void SetLastError(std::string_view text) { lastError = std::string(text); }
    std::string LastError() const { return lastError; }
    // Calls "init" at address up to ten times, processing pending window events
    // between attempts. On success the application information is read, the
    // newest-period address taken and the data channel pointed at its drawurl; on
    // failure lastError names the last attempt's message and code, and the previous
    // information is kept.
    bool Init(std::string_view address, int32_t applicationId);
    std::string Token() const { return token; }
    // The token sent as the first parameter of every data call (empty by default).
    void SetToken(std::string_view text) { token = std::string(text); }
    AppInfo GetAppInfo() const { return appInfo; }
    // Every field of info from the member of the same name, read as text.
    void ReadAppInfo(const JsonReply& reply, AppInfo& info) const;

    // "getforecast": one value per key (empty when the server sent none).
    bool GetForecast(std::string_view k, const std::vector<std::string>& keys,
                     std::vector<std::string>& values);
    // "newestdraw": the fields of the newest-draw text split at "| |"; false when the
    // call fails or there is no field. lastError is left alone.
    bool NewestDraw(std::vector<std::string>& fields);
    // "select_draw" for the newest count draws into table. On failure lastError is
    // set; a reply without rows succeeds and leaves the table as it was. A list whose
    // rows differ in their number of fields fails with "9999" and "服务器访问错误!2",
    // the table left as it was.
    bool SelectDraw(int count, DrawTable& table);
    // "select_draw_date" for the draws of a date ("2024-01-05", "2024/1/5",
    // "2024年1月5日", "20240105", optionally followed by a time).
    bool SelectDrawDate(std::string_view date, DrawTable& table);
    // "getInit": its data text; success when it is not empty.
    bool GetInit(std::string& text);
    // The draw list held in a reply body: body becomes the raw cut, the result is
    // the cut with its escaped line breaks restored. Empty (and body emptied) when
    // the body holds no draw list.
    std::string ExtractDrawText(std::string& body) const;
    // The newest period number read from the newest-period address; empty on any
    // failure, with lastError set.
    std::string NewestPeriod();

    ServerChannel& DataChannel() { return dataChannel; }
    const JsonReply& DataReply() const { return dataReply; }
    const JsonReply& InitReply() const { return initReply; }
    const std::string& NewestPeriodAddress() const { return newestPeriodAddress; }

  private:
    bool SelectDrawList(std::string_view funName, std::string_view second, DrawTable& table);

    std::string token;
    std::string lastError;
    ServerChannel dataChannel;
    JsonReply initReply;
    JsonReply dataReply;
    std::string newestPeriodAddress;
    AppInfo appInfo;

    JsonService* json;
    const HttpTransport* transport;
    Clock* clock;
    WindowSystem* windows;
};

}  // namespace veltra
