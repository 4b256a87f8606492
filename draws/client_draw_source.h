// The period clock's view of the application server client.
#pragma once

#include "draws/newest_draw_source.h"
#include "server/app_server_client.h"

namespace veltra {

class ClientDrawSource final : public NewestDrawSource {
  public:
    explicit ClientDrawSource(AppServerClient& client) : client(client) {}
    std::string NewestPeriod() override { return client.NewestPeriod(); }
    bool NewestDraw(std::vector<std::string>& fields) override { return client.NewestDraw(fields); }

  private:
    AppServerClient& client;
};

}  // namespace veltra
