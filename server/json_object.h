// A JSON object document: members set and read by name or by position, as texts.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "server/json_document.h"

namespace veltra {

class JsonObject : public JsonDocument {
  public:
    explicit JsonObject(JsonService& service) : JsonDocument(service, kJsonObject) {}

    // Adds (or replaces) a member. Without a type code the text is stored as a JSON
    // string; with one it is converted: 0 null, 1 true exactly when the text is not
    // empty, 3/5/8/9 the text's leading integer, 4 the text read as a number.
    // False when the document holds no object or the type code is not one of these.
    bool SetMember(std::string_view name, std::string_view content,
                   std::optional<int> typeCode = std::nullopt);
    // Stores a copy of another value of the same service as the member.
    bool SetMemberHandle(std::string_view name, JsonHandle content);
    bool SetMemberDocument(std::string_view name, const JsonDocument& document);
    // The member read as text (ValueText); empty when missing. *type gets its code.
    std::string GetMemberText(std::string_view name, int* type = nullptr) const;
    // The member at a 1-based position: its text, *type its code (-1 and the empty
    // text when there is none) and *name its name.
    std::string MemberAt(int position, int* type = nullptr, std::string* name = nullptr) const;
    // A copy of the member into target when its kind matches the target's (object
    // into an object document, array into an array document); otherwise false and
    // no copy is left behind.
    bool GetMemberDocument(std::string_view name, JsonDocument& target) const;
    bool GetMemberDocumentAt(int position, JsonDocument& target, std::string* name = nullptr) const;
    // All members in order as three lists; the count, or -1 (lists untouched) when
    // the document holds no object.
    int ToLists(std::vector<std::string>& names, std::vector<std::string>& texts,
                std::vector<int>& types) const;
};

}  // namespace veltra
