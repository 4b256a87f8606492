#include "tests/support/app_server_process.h"

#include <gtest/gtest.h>

namespace veltra::test {
namespace {

TEST(AppServerProcess, AnnouncesBothAddressesAndStopsOnTerm) {
    AppServerProcess server;
    ASSERT_TRUE(server.Running()) << server.Error();
    EXPECT_EQ(server.MainUrl().rfind("http://127.0.0.1:", 0), 0u) << server.MainUrl();
    EXPECT_NE(server.MainUrl().find("/appinit.php"), std::string::npos);
    EXPECT_EQ(server.FallbackUrl(), server.FallbackBase() + "/");
    EXPECT_NE(server.MainBase(), server.FallbackBase());
    EXPECT_EQ(server.Stop(), 0);
    EXPECT_FALSE(server.Running());
}

}  // namespace
}  // namespace veltra::test
