// JSON texts through the JsonService and its documents: parsed as a reply and as an
// array, every member and element read as text and copied out as a document down to a
// few levels, serialised and parsed again, and typed members built from the text.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "server/json_array.h"
#include "server/json_reply.h"
#include "server/json_service.h"
#include "tests/fuzz/fuzz_check.h"

namespace veltra {
namespace {

void WalkArray(const JsonArray& array, int depth);

// A member or element copied into documents of both kinds: exactly the one of its
// own kind takes it, and reads back as the text the parent gave.
void WalkChild(const JsonDocument& parent, int position, int type, const std::string& text,
               int depth, bool fromObject) {
    JsonObject object(parent.Service());
    JsonArray array(parent.Service());
    const auto copyInto = [&](JsonDocument& target) {
        return fromObject
                   ? static_cast<const JsonObject&>(parent).GetMemberDocumentAt(position, target)
                   : static_cast<const JsonArray&>(parent).GetElementDocument(position, target);
    };
    const bool isObject = copyInto(object);
    const bool isArray = copyInto(array);
    FUZZ_CHECK(isObject == (type == kJsonObject));
    FUZZ_CHECK(isArray == (type == kJsonArray));
    if (isObject) {
        FUZZ_CHECK(object.ToText() == text);
        std::vector<std::string> names;
        std::vector<std::string> texts;
        std::vector<int> types;
        const int count = object.ToLists(names, texts, types);
        FUZZ_CHECK(count == object.Size());
        for (int i = 1; i <= count && depth > 0; ++i) {
            const size_t at = static_cast<size_t>(i - 1);
            FUZZ_CHECK(object.GetMemberText(names[at]) == texts[at]);
            WalkChild(object, i, types[at], texts[at], depth - 1, true);
        }
    }
    if (isArray) {
        FUZZ_CHECK(array.ToText() == text);
        WalkArray(array, depth - 1);
    }
}

void WalkArray(const JsonArray& array, int depth) {
    std::vector<std::string> texts;
    std::vector<int> types;
    const int count = array.ToList(texts, types);
    FUZZ_CHECK(count == array.Size());
    FUZZ_CHECK(array.ElementText(0).empty() && array.ElementText(count + 1).empty());
    for (int i = 1; i <= count && depth > 0; ++i) {
        const size_t at = static_cast<size_t>(i - 1);
        int type = kJsonNone;
        FUZZ_CHECK(array.ElementText(i, &type) == texts[at] && type == types[at]);
        WalkChild(array, i, type, texts[at], depth - 1, false);
    }
}

void FuzzOne(JsonService& service, std::string_view text) {
    JsonReply reply(service);
    if (reply.Parse(text)) {
        const std::string serialised = reply.ToText();
        FUZZ_CHECK(!serialised.empty());
        JsonReply again(service);
        FUZZ_CHECK(again.Parse(serialised));
        FUZZ_CHECK(again.ToText() == serialised);

        std::vector<std::string> names;
        std::vector<std::string> texts;
        std::vector<int> types;
        const int count = reply.ToLists(names, texts, types);
        FUZZ_CHECK((count == -1) == (reply.Type() != kJsonObject));
        for (int i = 1; i <= count; ++i) {
            const size_t at = static_cast<size_t>(i - 1);
            int type = kJsonNone;
            std::string name;
            FUZZ_CHECK(reply.MemberAt(i, &type, &name) == texts[at]);
            FUZZ_CHECK(type == types[at] && type != kJsonNone && name == names[at]);
            WalkChild(reply, i, type, texts[at], 3, true);
        }
        FUZZ_CHECK(reply.MemberAt(0).empty() && reply.MemberAt(count + 1).empty());
        reply.IsOk();
        reply.Msg();
        reply.ErrCode();
    } else {
        FUZZ_CHECK(reply.IsInvalid() && reply.ToText().empty());
    }

    JsonArray array(service);
    if (array.Parse(text) && array.Type() == kJsonArray) WalkArray(array, 3);

    // The text stored as a member of every type the documents know, serialised and
    // parsed back.
    for (const std::optional<int> typeCode :
         {std::optional<int>(), std::optional<int>(0), std::optional<int>(1), std::optional<int>(3),
          std::optional<int>(4), std::optional<int>(5), std::optional<int>(8),
          std::optional<int>(9)}) {
        JsonObject built(service);
        FUZZ_CHECK(built.Create());
        built.SetMember(text.substr(0, 16), text, typeCode);
        JsonArray elements(service);
        FUZZ_CHECK(elements.Create());
        elements.AddElement(text, typeCode);
        built.SetMemberDocument("list", elements);
        JsonObject reread(service);
        FUZZ_CHECK(reread.Parse(built.ToText()));
        FUZZ_CHECK(reread.ToText() == built.ToText());
    }
}

}  // namespace
}  // namespace veltra

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static veltra::JsonService service;
    veltra::FuzzOne(service, std::string_view(reinterpret_cast<const char*>(data), size));
    // Every document is gone again: none of the reads may have left a value behind.
    FUZZ_CHECK(service.LiveValueCount() == 0);
    return 0;
}
