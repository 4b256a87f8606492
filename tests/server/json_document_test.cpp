#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "server/json_array.h"
#include "server/json_object.h"
#include "server/json_reply.h"
#include "tests/support/temp_dir.h"

namespace veltra {
namespace {

TEST(JsonDocument, MembersReadAsText) {
    JsonService service;
    JsonObject doc(service);
    ASSERT_TRUE(doc.Parse(R"({"f":false,"t":true,"n":null,"zero":0,"half":2.5,"neg":-7,
        "big":12345678901,"huge":18446744073709551615,"third":0.3333333333333333,"s":"和值",
        "o":{"a":[1,"x"]},"a":[]})"));
    struct Case {
        const char* member;
        const char* text;
        int type;
    };
    const Case cases[] = {
        {"f", "", kJsonBool},
        {"t", "true", kJsonBool},
        {"n", "", kJsonNull},
        {"missing", "", kJsonNone},
        {"zero", "0", kJsonInt},
        {"half", "2.5", kJsonDouble},
        {"neg", "-7", kJsonInt},
        {"big", "12345678901", kJsonInt64},
        {"huge", "18446744073709551615", kJsonUInt64},
        {"third", "0.3333333333333", kJsonDouble},
        {"s", "和值", kJsonString},
        {"o", R"({"a":[1,"x"]})", kJsonObject},
        {"a", "[]", kJsonArray},
    };
    for (const Case& c : cases) {
        int type = 99;
        EXPECT_EQ(doc.GetMemberText(c.member, &type), c.text) << c.member;
        EXPECT_EQ(type, c.type) << c.member;
    }
    // An object member's text parses back into a document of its own.
    JsonObject inner(service);
    EXPECT_TRUE(inner.Parse(doc.GetMemberText("o")));
    EXPECT_EQ(inner.ToText(), R"({"a":[1,"x"]})");
}

TEST(JsonDocument, FailedParseLeavesNoValue) {
    JsonService service;
    JsonObject doc(service);
    ASSERT_TRUE(doc.Parse(R"({"a":1})"));
    for (const char* text : {"", " ", "{", R"({"a":1}x)", "nul", "{'a':1}"}) {
        EXPECT_FALSE(doc.Parse(text)) << text;
        EXPECT_TRUE(doc.IsInvalid());
        EXPECT_EQ(doc.ToText(), "");
        EXPECT_EQ(doc.Type(), kJsonNone);
        EXPECT_EQ(doc.GetMemberText("a"), "");
    }
    EXPECT_EQ(service.LiveValueCount(), 0u);
}

TEST(JsonDocument, MemberDocumentsCopyOnlyMatchingKinds) {
    JsonService service;
    JsonObject doc(service);
    ASSERT_TRUE(doc.Parse(R"({"list":[1,2],"obj":{"k":"v"},"num":3})"));
    const size_t before = service.LiveValueCount();

    JsonObject object(service);
    JsonArray array(service);
    EXPECT_FALSE(doc.GetMemberDocument("list", object));
    EXPECT_FALSE(doc.GetMemberDocument("num", object));
    EXPECT_FALSE(doc.GetMemberDocument("missing", object));
    EXPECT_FALSE(doc.GetMemberDocument("obj", array));
    EXPECT_EQ(service.LiveValueCount(), before);  // refused copies were freed

    EXPECT_TRUE(doc.GetMemberDocument("obj", object));
    EXPECT_TRUE(doc.GetMemberDocument("list", array));
    EXPECT_EQ(object.GetMemberText("k"), "v");
    EXPECT_EQ(array.ElementText(2), "2");
    // The copies are independent of the document they came from.
    object.SetMember("k", "changed");
    EXPECT_EQ(doc.GetMemberText("obj"), R"({"k":"v"})");

    std::string name;
    EXPECT_TRUE(doc.GetMemberDocumentAt(1, array, &name));
    EXPECT_EQ(name, "list");
    JsonArray other(service);
    EXPECT_FALSE(array.GetElementDocument(1, other));  // an element that is a number
}

TEST(JsonDocument, BuildsRequestsAndLists) {
    JsonService service;
    JsonObject request(service);
    JsonArray params(service);
    ASSERT_TRUE(request.Create());
    ASSERT_TRUE(params.Create());
    request.SetMember("rand", "42");
    EXPECT_TRUE(request.SetMemberDocument("param", params));
    EXPECT_EQ(request.ToText(), R"({"param":[],"rand":"42"})");  // an empty list stays an array

    params.AddElement("令牌");
    params.AddElement("5", kJsonInt);
    params.AddElement("", kJsonBool);
    params.AddElement("x", kJsonNull);
    params.AddElement("1.5", kJsonDouble);
    EXPECT_EQ(params.ToText(), R"(["令牌",5,false,null,1.5])");
    std::vector<std::string> texts;
    std::vector<int> types;
    EXPECT_EQ(params.ToList(texts, types), 5);
    EXPECT_EQ(texts, (std::vector<std::string>{"令牌", "5", "", "", "1.5"}));
    EXPECT_EQ(types, (std::vector<int>{kJsonString, kJsonInt, kJsonBool, kJsonNull, kJsonDouble}));

    std::vector<std::string> names;
    EXPECT_EQ(params.Type(), kJsonArray);
    JsonObject notAnObject(service);
    ASSERT_TRUE(notAnObject.Parse("[1]"));
    EXPECT_EQ(notAnObject.ToLists(names, texts, types), -1);
    EXPECT_EQ(texts.size(), 5u);  // untouched
    EXPECT_EQ(request.ToLists(names, texts, types), 2);
    EXPECT_EQ(names, (std::vector<std::string>{"param", "rand"}));
    EXPECT_EQ(texts, (std::vector<std::string>{"[]", "42"}));

    // A fresh value takes either members or elements first.
    JsonObject fresh(service);
    ASSERT_TRUE(fresh.Create());
    JsonArray asArray(service);
    ASSERT_TRUE(asArray.Attach(fresh.Handle()));
    fresh.Detach();
    EXPECT_TRUE(asArray.AddElement("a"));
    EXPECT_EQ(asArray.ToText(), R"(["a"])");
    EXPECT_FALSE(request.SetMember("x", "1", 42));  // no such type code
}

TEST(JsonReply, OkAndErrorCode) {
    JsonService service;
    JsonReply reply(service);
    struct Case {
        const char* text;
        bool ok;
        const char* code;
    };
    const Case cases[] = {
        {R"({"msg":"m"})", true, ""},
        {R"({"errcode":0})", true, "0"},
        {R"({"errcode":"0"})", true, "0"},
        {R"({"errcode":"00"})", true, "00"},
        {R"({"errcode":5,"msg":"忙"})", false, "5"},
        {R"({"errcode":"x"})", true, "x"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(reply.Parse(c.text));
        EXPECT_EQ(reply.IsOk(), c.ok) << c.text;
        EXPECT_EQ(reply.ErrCode(), c.code) << c.text;
    }
    EXPECT_EQ(reply.Msg(), "");
}

TEST(JsonService, ReferencesOutliveNothing) {
    JsonService service;
    JsonObject doc(service);
    ASSERT_TRUE(doc.Parse(R"({"a":{"b":"c"}})"));
    JsonHandle a = 0;
    JsonHandle b = 0;
    EXPECT_EQ(service.jsongetobjectvalue(doc.Handle(), "a", &a), kJsonObject);
    EXPECT_EQ(service.jsongetobjectvalue(a, "b", &b), kJsonString);
    EXPECT_EQ(service.jsongetstring(b), "c");
    // Reading the same member again reuses its reference.
    for (int i = 0; i < 100; ++i) doc.GetMemberText("a");
    const size_t live = service.LiveValueCount();
    EXPECT_LE(live, 3u);

    ASSERT_TRUE(doc.Parse(R"({"a":1})"));  // the old value goes, with every reference into it
    EXPECT_EQ(service.jsongettype(a), kJsonNone);
    EXPECT_EQ(service.jsongetstring(b), "");
    EXPECT_EQ(service.jsontostring(b), "");

    doc.Free();  // the reference stays but reads as nothing; destruction is harmless
    EXPECT_TRUE(doc.IsInvalid());
}

TEST(JsonService, ShutDownServiceLeavesValuesToItself) {
    JsonService service;
    {
        JsonObject kept(service);
        JsonObject borrowed(service);
        ASSERT_TRUE(kept.Create());
        ASSERT_TRUE(borrowed.Create());
        borrowed.SetBorrowed(true);
        {
            JsonObject owner(service);
            ASSERT_TRUE(owner.Create());
        }
        EXPECT_EQ(service.LiveValueCount(), 2u);
        service.Shutdown();
    }
    EXPECT_EQ(service.LiveValueCount(), 2u);
}

// The JSON conformance suite: y_ texts must parse, n_ texts must be refused, i_ texts
// may go either way; none may crash, and what parses prints back to an equal value.
TEST(JsonService, ConformanceSuite) {
    const std::filesystem::path dir = test::TestDataPath("json-parsing");
    int seen = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".json") continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        JsonService service;
        JsonObject doc(service);
        const bool parsed = doc.Parse(bytes.str());
        if (name[0] == 'y') {
            EXPECT_TRUE(parsed) << name;
        } else if (name[0] == 'n') {
            EXPECT_FALSE(parsed) << name;
        }
        if (parsed) {
            JsonObject again(service);
            EXPECT_TRUE(again.Parse(doc.ToText())) << name;
            EXPECT_EQ(again.ToText(), doc.ToText()) << name;
        }
        ++seen;
    }
    EXPECT_GT(seen, 300);
}

TEST(JsonService, HostileTextsAreRefusedQuickly) {
    JsonService service;
    JsonObject doc(service);
    std::string garbage(4 * 1024 * 1024, '\0');
    uint32_t state = 12345;
    for (char& c : garbage) {
        state = state * 1103515245 + 12345;
        c = static_cast<char>(state >> 24);
    }
    const std::string deep =
        std::string(JsonService::kMaxDepth + 1, '[') + std::string(JsonService::kMaxDepth + 1, ']');
    const std::string allowed =
        std::string(JsonService::kMaxDepth, '[') + std::string(JsonService::kMaxDepth, ']');
    const std::string bigObject = [] {
        std::string text = "{";
        for (int i = 0; i < 200000; ++i)
            text += "\"k" + std::to_string(i) + "\":" + std::to_string(i) + ",";
        text.back() = '}';
        return text;
    }();
    for (const std::string& text :
         {garbage, std::string(4 * 1024 * 1024, '['), deep, std::string("{\"a\":\"\xff\xfe\"}"),
          std::string("{\"a\":\"\xe5\x92\"}"), bigObject.substr(0, bigObject.size() / 2)}) {
        EXPECT_FALSE(doc.Parse(text)) << text.substr(0, 20);
    }
    EXPECT_TRUE(doc.Parse(allowed));
    EXPECT_EQ(doc.ToText(), allowed);
    EXPECT_TRUE(doc.Parse(bigObject));
    EXPECT_EQ(doc.Size(), 200000);
    EXPECT_EQ(doc.GetMemberText("k199999"), "199999");
}

}  // namespace
}  // namespace veltra
