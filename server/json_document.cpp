// Value ownership and the text form of values.
#include "server/json_document.h"

#include <charconv>
#include <cstdio>

#include "base/text_integer.h"

namespace veltra {

JsonDocument::JsonDocument(JsonService& jsonService, int documentKind)
    : service(&jsonService), kind(documentKind) {}

JsonDocument::~JsonDocument() {
    if (!borrowed && !service->IsShutDown()) service->jsonfree(value);
}

bool JsonDocument::Create() {
    Free();
    value = kind == kJsonArray ? service->jsoncreatearray() : service->jsoncreate();
    return value != 0;
}

bool JsonDocument::Parse(std::string_view text) {
    Free();
    value = service->jsonparse(text);
    return !IsInvalid();
}

bool JsonDocument::Attach(JsonHandle newValue) {
    if (!IsValidHandle(newValue)) return false;
    if (newValue != value) Free();
    value = newValue;
    return true;
}

std::string JsonDocument::ValueText(JsonHandle anyValue, int typeCode) const {
    switch (typeCode) {
        case kJsonBool:
            return service->jsongetbool(anyValue) ? "true" : "";
        case kJsonString:
            return service->jsongetstring(anyValue);
        case kJsonInt:
            return std::to_string(service->jsongetint(anyValue));
        case kJsonDouble: {
            char text[64];
            std::snprintf(text, sizeof text, "%.13g", service->jsongetdouble(anyValue));
            return text;
        }
        case kJsonInt64:
            return std::to_string(service->jsongetlonglong(anyValue));
        case kJsonObject:
        case kJsonArray:
            return service->jsontostring(anyValue);
        // Unsigned values read as their own digits, never as a negative number.
        case kJsonUInt:
            return std::to_string(service->jsongetuint(anyValue));
        case kJsonUInt64:
            return std::to_string(service->jsongetulonglong(anyValue));
        default:
            return {};
    }
}

std::string JsonDocument::ToText() const {
    return service->jsontostring(value);
}

int JsonDocument::Size() const {
    return service->jsongetsize(value);
}

bool JsonDocument::IsValidHandle(JsonHandle anyValue) const {
    return service->jsongettype(anyValue) != kJsonNone;
}

int JsonDocument::Type() const {
    return service->jsongettype(value);
}

void JsonDocument::Release() {
    Free();
    value = 0;
}

void JsonDocument::Free() {
    service->jsonfree(value);
}

bool JsonDocument::IsInvalid() const {
    return !IsValidHandle(value);
}

bool JsonDocument::StoreTyped(bool asMember, std::string_view name, std::string_view content,
                              std::optional<int> typeCode) {
    JsonService& json = *service;
    const JsonHandle target = value;
    const int code = typeCode.value_or(kJsonString);
    const int64_t integer = IntegerOfText(content);
    switch (code) {
        case kJsonNull:
            return asMember ? json.jsonpushnull(target, name) : json.jsonarrayaddnull(target);
        case kJsonBool:
            return asMember ? json.jsonpushbool(target, name, !content.empty())
                            : json.jsonarrayaddbool(target, !content.empty());
        case kJsonString:
            return asMember ? json.jsonpushstring(target, name, content)
                            : json.jsonarrayaddstring(target, content);
        case kJsonInt:
            return asMember ? json.jsonpushint(target, name, WrapInt32(integer))
                            : json.jsonarrayaddint(target, WrapInt32(integer));
        case kJsonInt64:
            return asMember ? json.jsonpushint64(target, name, integer)
                            : json.jsonarrayaddint64(target, integer);
        case kJsonUInt:
            return asMember ? json.jsonpushuint(target, name, static_cast<uint32_t>(integer))
                            : json.jsonarrayadduint(target, static_cast<uint32_t>(integer));
        case kJsonUInt64:
            return asMember ? json.jsonpushuint64(target, name, static_cast<uint64_t>(integer))
                            : json.jsonarrayadduint64(target, static_cast<uint64_t>(integer));
        case kJsonDouble: {
            double number = 0.0;
            const std::string_view digits =
                !content.empty() && content.front() == '+' ? content.substr(1) : content;
            std::from_chars(digits.data(), digits.data() + digits.size(), number);
            return asMember ? json.jsonpushdouble(target, name, number)
                            : json.jsonarrayadddouble(target, number);
        }
        default:
            return false;
    }
}

bool JsonDocument::AdoptCopy(int copyType, JsonHandle copy, JsonDocument& target) const {
    const bool fits = (copyType == kJsonObject || copyType == kJsonArray) &&
                      copyType == target.Kind() && &target.Service() == service;
    if (fits && target.Attach(copy)) return true;
    service->jsonfree(copy);
    return false;
}

}  // namespace veltra
