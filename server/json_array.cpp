// Elements of array documents.
#include "server/json_array.h"

namespace veltra {

bool JsonArray::AddElement(std::string_view content, std::optional<int> typeCode) {
    return StoreTyped(false, {}, content, typeCode);
}

bool JsonArray::AddElementHandle(JsonHandle content) {
    return Service().jsonarrayaddobject(Handle(), content);
}

bool JsonArray::AddElementDocument(const JsonDocument& document) {
    if (&document.Service() != &Service()) return false;
    return AddElementHandle(document.Handle());
}

std::string JsonArray::ElementText(int position, int* type) const {
    JsonHandle element = 0;
    const int code = Service().jsongetarrayvalue(Handle(), position - 1, &element);
    if (type) *type = code;
    return ValueText(element, code);
}

bool JsonArray::GetElementDocument(int position, JsonDocument& target) const {
    JsonHandle copy = 0;
    const int code = Service().jsoncopyarrayvalue(Handle(), position - 1, &copy);
    return AdoptCopy(code, copy, target);
}

int JsonArray::ToList(std::vector<std::string>& texts, std::vector<int>& types) const {
    if (Type() != kJsonArray) return -1;
    const int count = Size();
    texts.assign(static_cast<size_t>(count), std::string());
    types.assign(static_cast<size_t>(count), kJsonNone);
    for (int i = 0; i < count; ++i) {
        texts[static_cast<size_t>(i)] = ElementText(i + 1, &types[static_cast<size_t>(i)]);
    }
    return count;
}

}  // namespace veltra
