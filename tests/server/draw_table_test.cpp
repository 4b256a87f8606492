#include "draws/draw_table.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_window_system.h"
#include "server/app_server_client.h"
#include "tests/server/fake_app_server.h"
#include "tests/support/manual_clock.h"

namespace veltra {
namespace {

std::vector<std::vector<std::string>> Cells(const DrawTable& table) {
    std::vector<std::vector<std::string>> rows;
    for (int r = 1; r <= table.Rows(); ++r) {
        rows.emplace_back();
        for (int c = 1; c <= table.Columns(); ++c) rows.back().push_back(table.Cell(r, c));
    }
    return rows;
}

TEST(DrawTable, ParsesDrawLists) {
    using Rows = std::vector<std::vector<std::string>>;
    struct Case {
        const char* name;
        std::string text;
        Rows rows;
    };
    const Case cases[] = {
        {"two full rows, trailing line break adds no row",
         "a|+|p1|+|t1|+|1,2,3|+|5\r\nb|+|p2|+|t2|+|4,5,6|+|6\r\n",
         {{"a", "p1", "t1", "1,2,3", "5"}, {"b", "p2", "t2", "4,5,6", "6"}}},
        {"short second row: 9 pieces over 2 rows give 4 columns",
         "a|+|p1|+|t1|+|1,2,3|+|5\r\nb|+|p2|+|t2|+|4,5,6",
         {{"a", "p1", "t1", "1,2,3"}, {"5", "b", "p2", "t2"}}},
        {"an empty row lowers the column count",
         "a|+|b|+|c\r\n\r\nd|+|e|+|f",
         {{"a", "b"}, {"c", "d"}, {"e", "f"}}},
        {"one row without separators", "20240105042", {{"20240105042"}}},
        {"empty fields are fields", "|+||+|\r\n", {{"", ""}}},
        {"a lone CR or LF is part of a field", "a\rb|+|c\nd", {{"a\rb", "c\nd"}}},
        {"nothing but line breaks", "\r\n\r\n\r\n", {}},
        {"a separator alone gives one empty field", "|+|", {{""}}},
    };
    for (const Case& c : cases) {
        DrawTable table;
        EXPECT_TRUE(ParseDrawTable(c.text, table)) << c.name;
        EXPECT_EQ(Cells(table), c.rows) << c.name;
        EXPECT_EQ(table.Cell(0, 1), "");
        EXPECT_EQ(table.Cell(table.Rows() + 1, 1), "");
    }
    DrawTable kept;
    ASSERT_TRUE(ParseDrawTable("x|+|y", kept));
    EXPECT_FALSE(ParseDrawTable("", kept));
    EXPECT_EQ(Cells(kept), (Rows{{"x", "y"}}));
}

TEST(DrawTable, HostileListsStayValid) {
    struct Case {
        std::string text;
        int rows;
        int columns;
    };
    std::string garbage(2 * 1024 * 1024, '\0');
    uint32_t state = 99;
    for (char& c : garbage) {
        state = state * 1103515245 + 12345;
        c = static_cast<char>(state >> 24);
    }
    const Case cases[] = {
        {std::string(3 * 1024 * 1024, '|'), 1, 1},
        {[] {
             std::string s;
             for (int i = 0; i < 500000; ++i) s += "|+|";
             return s;
         }(),
         1, 500000},
        {[] {
             std::string s;
             for (int i = 0; i < 500000; ++i) s += "\r\n";
             return s;
         }(),
         0, 0},
        {"\xff\xfe|+|\xc0\r\n\xe5\x92", 2, 1},
    };
    for (const Case& c : cases) {
        DrawTable table;
        EXPECT_TRUE(ParseDrawTable(c.text, table));
        EXPECT_EQ(table.Rows(), c.rows);
        EXPECT_EQ(table.Columns(), c.columns);
    }
    DrawTable table;
    EXPECT_TRUE(ParseDrawTable(garbage, table));
    EXPECT_GE(table.Rows(), 0);
    EXPECT_EQ(table.Cell(table.Rows(), table.Columns() + 1), "");
}

class ExtractDrawTextTest : public ::testing::Test {
  protected:
    ExtractDrawTextTest() : client(json, transport, clock, windows) {}
    JsonService json;
    HttpTransport transport;
    test::ManualClock clock;
    HeadlessWindowSystem windows;
    AppServerClient client;
};

TEST_F(ExtractDrawTextTest, CutsTheNestedList) {
    std::string body = test::FakeAppServer::NestedDrawReply("a|+|p1\r\nb|+|p2\r\n");
    EXPECT_EQ(client.ExtractDrawText(body), "a|+|p1\r\nb|+|p2\r\n");
    EXPECT_EQ(body, R"(a|+|p1\\r\\nb|+|p2\\r\\n)");  // the raw cut, escapes still in place

    // Quotes inside the list stay escaped: only line breaks are restored.
    body = test::FakeAppServer::NestedDrawReply("say \"hi\"\r\n");
    EXPECT_EQ(client.ExtractDrawText(body), R"(say \\\"hi\\\")"
                                            "\r\n");
}

TEST_F(ExtractDrawTextTest, WithoutItsMarkersThereIsNoList) {
    const std::string cases[] = {
        "",
        R"({"errcode":0,"msg":"ok","data":""})",
        R"({"errcode":0,"data":"{\"data\":\"")",     // truncated: no closing marker
        R"("}"{"errcode":0,"data":"{\"data\":\"x)",  // closing marker before the start
        R"({"data":"{\"data\":\"\"}"})",             // an empty list
        std::string(1024 * 1024, '"') + "data\\" + std::string(1024 * 1024, '}'),
    };
    for (std::string body : cases) {
        EXPECT_EQ(client.ExtractDrawText(body), "") << body.substr(0, 40);
        EXPECT_EQ(body, "");
    }
}

}  // namespace
}  // namespace veltra
