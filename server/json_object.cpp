// Members of object documents.
#include "server/json_object.h"

namespace veltra {

bool JsonObject::SetMember(std::string_view name, std::string_view content,
                           std::optional<int> typeCode) {
    return StoreTyped(true, name, content, typeCode);
}

bool JsonObject::SetMemberHandle(std::string_view name, JsonHandle content) {
    return Service().jsonpushobject(Handle(), name, content);
}

bool JsonObject::SetMemberDocument(std::string_view name, const JsonDocument& document) {
    if (&document.Service() != &Service()) return false;
    return SetMemberHandle(name, document.Handle());
}

std::string JsonObject::GetMemberText(std::string_view name, int* type) const {
    JsonHandle member = 0;
    const int code = Service().jsongetobjectvalue(Handle(), name, &member);
    if (type) *type = code;
    return ValueText(member, code);
}

std::string JsonObject::MemberAt(int position, int* type, std::string* name) const {
    JsonHandle member = 0;
    std::string memberName;
    const int code = Service().jsongetat(Handle(), position - 1, &member, &memberName);
    if (type) *type = code;
    if (name) *name = code == kJsonNone ? std::string() : memberName;
    // Every kind of member reads as its text, so numbers are not lost from the lists.
    return ValueText(member, code);
}

bool JsonObject::GetMemberDocument(std::string_view name, JsonDocument& target) const {
    JsonHandle copy = 0;
    const int code = Service().jsoncopyobjectvalue(Handle(), name, &copy);
    return AdoptCopy(code, copy, target);
}

bool JsonObject::GetMemberDocumentAt(int position, JsonDocument& target, std::string* name) const {
    JsonHandle copy = 0;
    std::string memberName;
    const int code = Service().jsoncopyvalueat(Handle(), position - 1, &copy, &memberName);
    if (name) *name = memberName;
    return AdoptCopy(code, copy, target);
}

int JsonObject::ToLists(std::vector<std::string>& names, std::vector<std::string>& texts,
                        std::vector<int>& types) const {
    if (Type() != kJsonObject) return -1;
    const int count = Size();
    names.assign(static_cast<size_t>(count), std::string());
    texts.assign(static_cast<size_t>(count), std::string());
    types.assign(static_cast<size_t>(count), kJsonNone);
    for (int i = 0; i < count; ++i) {
        texts[static_cast<size_t>(i)] =
            MemberAt(i + 1, &types[static_cast<size_t>(i)], &names[static_cast<size_t>(i)]);
    }
    return count;
}

}  // namespace veltra
