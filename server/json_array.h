// A JSON array document: elements appended and read by 1-based position, as texts.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "server/json_document.h"

namespace veltra {

class JsonArray : public JsonDocument {
  public:
    explicit JsonArray(JsonService& service) : JsonDocument(service, kJsonArray) {}

    // Appends an element, converted as JsonObject::SetMember converts a member (a
    // JSON string when no type code is given).
    bool AddElement(std::string_view content, std::optional<int> typeCode = std::nullopt);
    // Appends a copy of another value of the same service.
    bool AddElementHandle(JsonHandle content);
    bool AddElementDocument(const JsonDocument& document);
    // The element at a 1-based position read as text; empty when there is none.
    std::string ElementText(int position, int* type = nullptr) const;
    // A copy of the element into target when kinds match; otherwise false, no copy kept.
    bool GetElementDocument(int position, JsonDocument& target) const;
    // All elements in order; the count, or -1 (lists untouched) when the document
    // holds no array.
    int ToList(std::vector<std::string>& texts, std::vector<int>& types) const;
};

}  // namespace veltra
