// The application server's protocol without the sockets: the handshake, the
// encrypted function calls and the plain pages, each answered as one HTTP reply.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "appserver/draw_source.h"
#include "appserver/fault_plan.h"
#include "appserver/handshake_keys.h"
#include "platform/clock.h"

namespace veltra {

struct AppServiceConfig {
    int applicationId = 2111;
    // The newest program version offered by "init".
    std::string version = "1.41";
    // The bytes served at the update address.
    std::string updateBytes;
    // What "getInit" answers: tag, periods a day, first and last draw, interval.
    std::string scheduleText = "jlk3| |82| |08:30:00| |22:00:00| |600";
    // The advert page's line about the draw schedule.
    std::string scheduleNote = "每天 82 期，08:30 至 22:00 每 10 分钟开奖一次。";
    // Seeds the texts of "getforecast".
    int64_t forecastSeed = 1;
    // The most rows one draw list holds; larger requests get this many.
    int maxDrawRows = 1000;
};

// One HTTP answer. delayMs: how long the HTTP layer waits before sending it.
struct HttpReply {
    int status = 200;
    std::string contentType = "application/json; charset=utf-8";
    std::string body;
    int delayMs = 0;
};

class AppService {
  public:
    // Addresses on both ports. The initialisation is at kMainInitPath on the main port
    // and at kFallbackInitPath on the fallback port.
    static constexpr const char* kMainInitPath = "/appinit.php";
    static constexpr const char* kFallbackInitPath = "/";
    static constexpr const char* kDrawPath = "/draw.php";
    static constexpr const char* kNewPhasePath = "/newphase.php";
    static constexpr const char* kAdvertPath = "/advert.html";
    static constexpr const char* kUpdatePath = "/update.bin";
    static constexpr const char* kStatsPath = "/stats";

    // The address a POST came to: the initialisation's or the data server's.
    enum class Endpoint { kInit, kDraw };

    // Every reference must outlive the service.
    AppService(Clock& clock, const DrawSource& draws, const HandshakeKeys& keys, FaultPlan& faults,
               AppServiceConfig config);

    // A POST body to an endpoint: "DATA=GETRAND?..." is a handshake, "DATA=<hex>" a
    // call. baseUrl ("http://host:port") is where the request came in; the addresses
    // handed out by "init" point there. Never throws: a bad request gets a refusal,
    // a JSON object with a non-zero errcode, a message and an empty data member.
    HttpReply Post(Endpoint endpoint, std::string_view body, std::string_view baseUrl);

    // The newest period number as plain text.
    HttpReply NewestPeriod();
    // A small page in Chinese with the newest draw and the next draw time.
    HttpReply AdvertPage();
    // The update's bytes.
    HttpReply UpdateDownload();
    // How many requests of each kind came in, as a JSON object.
    HttpReply Stats() const;
    // The refusal the HTTP layer sends for a request it turned away itself
    // (404 unknown address, 413 body too large, other: a malformed request).
    static HttpReply HttpRefusal(int status);

  private:
    struct Call;
    struct Outcome;

    HttpReply Handshake();
    HttpReply Dispatch(Endpoint endpoint, const Call& call, std::string_view baseUrl);
    Outcome Init(std::string_view baseUrl);
    // fault: a misshapen-reply fault to build into the payload, if any.
    Outcome NewestDraw(std::optional<FaultKind> fault);
    Outcome SelectDraw(const Call& call, std::optional<FaultKind> fault);
    Outcome SelectDrawDate(const Call& call, std::optional<FaultKind> fault);
    Outcome GetInit();
    Outcome GetForecast(const Call& call);
    HttpReply Page(std::string_view target, HttpReply reply);
    void Count(std::string_view target);

    Clock& clock;
    const DrawSource& draws;
    const HandshakeKeys& keys;
    FaultPlan& faults;
    AppServiceConfig config;

    static constexpr std::array<const char*, 11> kCounted = {
        "handshake",   "init",     "newestdraw", "select_draw", "select_draw_date", "getInit",
        "getforecast", "newphase", "advert",     "update",      "refused"};
    std::array<std::atomic<int64_t>, kCounted.size()> counts{};
};

}  // namespace veltra
