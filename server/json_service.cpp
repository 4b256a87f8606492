// JSON values kept in a handle table over nlohmann-json. Member references are stored
// as a root plus a path and resolved on every use, so a reference whose member has
// gone away reads as "no value" instead of pointing into freed memory.
#include "server/json_service.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <nlohmann/json.hpp>

namespace veltra {
namespace {

using Json = nlohmann::json;

// Deepest nesting of arrays and objects in a text, ignoring brackets inside strings.
// Stops counting once the limit is passed.
int NestingDepth(std::string_view text, int limit) {
    int depth = 0;
    int deepest = 0;
    bool inString = false;
    bool escaped = false;
    for (const char c : text) {
        if (inString) {
            if (escaped) {
                escaped = false;
            } else if (c == '\\') {
                escaped = true;
            } else if (c == '"') {
                inString = false;
            }
            continue;
        }
        if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > deepest) deepest = depth;
            if (deepest > limit) return deepest;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return deepest;
}

}  // namespace

int JsonTypeOf(const Json& value) {
    switch (value.type()) {
        case Json::value_t::null:
            return kJsonNull;
        case Json::value_t::boolean:
            return kJsonBool;
        case Json::value_t::string:
            return kJsonString;
        case Json::value_t::number_integer: {
            const int64_t v = value.get<int64_t>();
            const bool fits = v >= std::numeric_limits<int32_t>::min() &&
                              v <= std::numeric_limits<int32_t>::max();
            return fits ? kJsonInt : kJsonInt64;
        }
        case Json::value_t::number_unsigned: {
            const uint64_t v = value.get<uint64_t>();
            if (v <= static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) return kJsonInt;
            if (v <= static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) return kJsonInt64;
            return kJsonUInt64;
        }
        case Json::value_t::number_float:
            return kJsonDouble;
        case Json::value_t::object:
            return kJsonObject;
        case Json::value_t::array:
            return kJsonArray;
        default:
            return kJsonNone;
    }
}

JsonService::JsonService() = default;
JsonService::~JsonService() = default;

Json* JsonService::Resolve(JsonHandle value) const {
    const auto found = entries.find(value);
    if (found == entries.end()) return nullptr;
    const Entry& entry = found->second;
    if (entry.owned) return entry.owned.get();
    const auto root = entries.find(entry.root);
    if (root == entries.end() || !root->second.owned) return nullptr;
    Json* current = root->second.owned.get();
    for (const Step& step : entry.path) {
        if (step.isIndex) {
            if (!current->is_array() || step.index >= current->size()) return nullptr;
            current = &(*current)[step.index];
        } else {
            if (!current->is_object()) return nullptr;
            const auto member = current->find(step.name);
            if (member == current->end()) return nullptr;
            current = &*member;
        }
    }
    return current;
}

JsonHandle JsonService::AddRoot(Json value) {
    const JsonHandle handle = nextHandle++;
    Entry entry;
    entry.owned = std::make_unique<Json>(std::move(value));
    entries.emplace(handle, std::move(entry));
    return handle;
}

JsonHandle JsonService::ChildOf(JsonHandle value, Step step) {
    const auto parent = entries.find(value);
    if (parent == entries.end()) return 0;
    Entry child;
    child.root = parent->second.owned ? value : parent->second.root;
    child.path = parent->second.path;
    child.path.push_back(std::move(step));

    // A path written unambiguously: "#index;" or ".length:name" per step.
    std::string key;
    for (const Step& s : child.path) {
        key += s.isIndex ? "#" + std::to_string(s.index) + ";"
                         : "." + std::to_string(s.name.size()) + ":" + s.name;
    }
    auto& known = children[child.root];
    const auto existing = known.find(key);
    if (existing != known.end() && entries.count(existing->second) != 0) return existing->second;

    const JsonHandle handle = nextHandle++;
    known[key] = handle;
    entries.emplace(handle, std::move(child));
    return handle;
}

JsonHandle JsonService::jsonparse(std::string_view text) {
    // A raw zero byte is never part of a JSON text (inside strings it is escaped);
    // the parser would take it for the end and ignore whatever follows.
    if (text.find('\0') != std::string_view::npos) return 0;
    if (NestingDepth(text, kMaxDepth) > kMaxDepth) return 0;
    Json parsed = Json::parse(text.begin(), text.end(), nullptr, /*allow_exceptions=*/false);
    if (parsed.is_discarded()) return 0;
    return AddRoot(std::move(parsed));
}

JsonHandle JsonService::jsoncreate() {
    return AddRoot(Json::object());
}

JsonHandle JsonService::jsoncreatearray() {
    return AddRoot(Json::array());
}

void JsonService::jsonfree(JsonHandle value) {
    const auto found = entries.find(value);
    if (found == entries.end()) return;
    if (found->second.owned) {
        const auto known = children.find(value);
        if (known != children.end()) {
            for (const auto& [path, child] : known->second) entries.erase(child);
            children.erase(known);
        }
    }
    entries.erase(found);
}

int JsonService::jsongettype(JsonHandle value) const {
    const Json* json = Resolve(value);
    return json ? JsonTypeOf(*json) : kJsonNone;
}

int JsonService::jsongetsize(JsonHandle value) const {
    const Json* json = Resolve(value);
    if (json == nullptr || !(json->is_object() || json->is_array())) return 0;
    return static_cast<int>(std::min<size_t>(json->size(), std::numeric_limits<int>::max()));
}

std::string JsonService::jsontostring(JsonHandle value) const {
    const Json* json = Resolve(value);
    if (json == nullptr) return {};
    try {
        // Texts the program stored are UTF-8; a stray invalid byte is replaced rather
        // than making the whole value unprintable.
        return json->dump(-1, ' ', false, Json::error_handler_t::replace);
    } catch (const Json::exception&) {
        return {};
    }
}

int JsonService::jsongetobjectvalue(JsonHandle value, std::string_view name, JsonHandle* member) {
    if (member) *member = 0;
    const Json* json = Resolve(value);
    if (json == nullptr || !json->is_object()) return kJsonNone;
    const auto found = json->find(std::string(name));
    if (found == json->end()) return kJsonNone;
    if (member) *member = ChildOf(value, Step{false, std::string(name), 0});
    return JsonTypeOf(*found);
}

int JsonService::jsongetarrayvalue(JsonHandle value, int index, JsonHandle* element) {
    if (element) *element = 0;
    const Json* json = Resolve(value);
    if (json == nullptr || !json->is_array() || index < 0 ||
        static_cast<size_t>(index) >= json->size()) {
        return kJsonNone;
    }
    if (element) *element = ChildOf(value, Step{true, {}, static_cast<size_t>(index)});
    return JsonTypeOf((*json)[static_cast<size_t>(index)]);
}

int JsonService::jsongetat(JsonHandle value, int position, JsonHandle* member, std::string* name) {
    if (member) *member = 0;
    const Json* json = Resolve(value);
    if (json == nullptr || position < 0) return kJsonNone;
    if (json->is_object()) {
        if (static_cast<size_t>(position) >= json->size()) return kJsonNone;
        auto it = json->begin();
        std::advance(it, position);
        if (name) *name = it.key();
        if (member) *member = ChildOf(value, Step{false, it.key(), 0});
        return JsonTypeOf(*it);
    }
    if (json->is_array()) {
        if (name) name->clear();
        return jsongetarrayvalue(value, position, member);
    }
    return kJsonNone;
}

std::string JsonService::jsongetstring(JsonHandle value) const {
    const Json* json = Resolve(value);
    if (json == nullptr || !json->is_string()) return {};
    return json->get_ref<const std::string&>();
}

bool JsonService::jsongetbool(JsonHandle value) const {
    const Json* json = Resolve(value);
    return json != nullptr && json->is_boolean() && json->get<bool>();
}

int32_t JsonService::jsongetint(JsonHandle value) const {
    return static_cast<int32_t>(static_cast<uint32_t>(jsongetulonglong(value)));
}

uint32_t JsonService::jsongetuint(JsonHandle value) const {
    return static_cast<uint32_t>(jsongetulonglong(value));
}

int64_t JsonService::jsongetlonglong(JsonHandle value) const {
    return static_cast<int64_t>(jsongetulonglong(value));
}

uint64_t JsonService::jsongetulonglong(JsonHandle value) const {
    const Json* json = Resolve(value);
    if (json == nullptr) return 0;
    if (json->is_number_unsigned()) return json->get<uint64_t>();
    if (json->is_number_integer()) return static_cast<uint64_t>(json->get<int64_t>());
    if (json->is_number_float()) {
        const double d = json->get<double>();
        // Out-of-range and non-finite numbers read as 0 rather than invoking an
        // undefined conversion.
        if (!(d > -9.2233720368547758e18 && d < 9.2233720368547758e18)) return 0;
        return static_cast<uint64_t>(static_cast<int64_t>(d));
    }
    return 0;
}

double JsonService::jsongetdouble(JsonHandle value) const {
    const Json* json = Resolve(value);
    if (json == nullptr || !json->is_number()) return 0.0;
    return json->get<double>();
}

Json* JsonService::ObjectForPush(JsonHandle value) {
    Json* json = Resolve(value);
    if (json == nullptr) return nullptr;
    if (json->is_array() && json->empty()) *json = Json::object();
    return json->is_object() ? json : nullptr;
}

Json* JsonService::ArrayForAdd(JsonHandle value) {
    Json* json = Resolve(value);
    if (json == nullptr) return nullptr;
    if (json->is_object() && json->empty()) *json = Json::array();
    return json->is_array() ? json : nullptr;
}

namespace {

template <typename T>
bool PushMember(Json* object, std::string_view name, T&& content) {
    if (object == nullptr) return false;
    (*object)[std::string(name)] = Json(std::forward<T>(content));
    return true;
}

template <typename T>
bool AddElement(Json* array, T&& content) {
    if (array == nullptr) return false;
    array->push_back(Json(std::forward<T>(content)));
    return true;
}

}  // namespace

bool JsonService::jsonpushstring(JsonHandle value, std::string_view name,
                                 std::string_view content) {
    return PushMember(ObjectForPush(value), name, std::string(content));
}
bool JsonService::jsonpushbool(JsonHandle value, std::string_view name, bool content) {
    return PushMember(ObjectForPush(value), name, content);
}
bool JsonService::jsonpushint(JsonHandle value, std::string_view name, int32_t content) {
    return PushMember(ObjectForPush(value), name, content);
}
bool JsonService::jsonpushuint(JsonHandle value, std::string_view name, uint32_t content) {
    return PushMember(ObjectForPush(value), name, content);
}
bool JsonService::jsonpushint64(JsonHandle value, std::string_view name, int64_t content) {
    return PushMember(ObjectForPush(value), name, content);
}
bool JsonService::jsonpushuint64(JsonHandle value, std::string_view name, uint64_t content) {
    return PushMember(ObjectForPush(value), name, content);
}
bool JsonService::jsonpushdouble(JsonHandle value, std::string_view name, double content) {
    return PushMember(ObjectForPush(value), name, content);
}
bool JsonService::jsonpushnull(JsonHandle value, std::string_view name) {
    return PushMember(ObjectForPush(value), name, nullptr);
}
bool JsonService::jsonpushobject(JsonHandle value, std::string_view name, JsonHandle content) {
    const Json* source = Resolve(content);
    if (source == nullptr) return false;
    Json copy = *source;  // taken first: the content may be the target itself
    return PushMember(ObjectForPush(value), name, std::move(copy));
}

bool JsonService::jsonarrayaddstring(JsonHandle value, std::string_view content) {
    return AddElement(ArrayForAdd(value), std::string(content));
}
bool JsonService::jsonarrayaddbool(JsonHandle value, bool content) {
    return AddElement(ArrayForAdd(value), content);
}
bool JsonService::jsonarrayaddint(JsonHandle value, int32_t content) {
    return AddElement(ArrayForAdd(value), content);
}
bool JsonService::jsonarrayadduint(JsonHandle value, uint32_t content) {
    return AddElement(ArrayForAdd(value), content);
}
bool JsonService::jsonarrayaddint64(JsonHandle value, int64_t content) {
    return AddElement(ArrayForAdd(value), content);
}
bool JsonService::jsonarrayadduint64(JsonHandle value, uint64_t content) {
    return AddElement(ArrayForAdd(value), content);
}
bool JsonService::jsonarrayadddouble(JsonHandle value, double content) {
    return AddElement(ArrayForAdd(value), content);
}
bool JsonService::jsonarrayaddnull(JsonHandle value) {
    return AddElement(ArrayForAdd(value), nullptr);
}
bool JsonService::jsonarrayaddobject(JsonHandle value, JsonHandle content) {
    const Json* source = Resolve(content);
    if (source == nullptr) return false;
    Json copy = *source;
    return AddElement(ArrayForAdd(value), std::move(copy));
}

int JsonService::CopyOut(const Json* source, JsonHandle* copy) {
    if (copy) *copy = 0;
    if (source == nullptr) return kJsonNone;
    const int type = JsonTypeOf(*source);
    if (copy) *copy = AddRoot(*source);
    return type;
}

int JsonService::jsoncopyobjectvalue(JsonHandle value, std::string_view name, JsonHandle* copy) {
    const Json* json = Resolve(value);
    if (json == nullptr || !json->is_object()) return CopyOut(nullptr, copy);
    const auto found = json->find(std::string(name));
    return CopyOut(found == json->end() ? nullptr : &*found, copy);
}

int JsonService::jsoncopyarrayvalue(JsonHandle value, int index, JsonHandle* copy) {
    const Json* json = Resolve(value);
    if (json == nullptr || !json->is_array() || index < 0 ||
        static_cast<size_t>(index) >= json->size()) {
        return CopyOut(nullptr, copy);
    }
    return CopyOut(&(*json)[static_cast<size_t>(index)], copy);
}

int JsonService::jsoncopyvalueat(JsonHandle value, int position, JsonHandle* copy,
                                 std::string* name) {
    const Json* json = Resolve(value);
    if (json == nullptr || position < 0) return CopyOut(nullptr, copy);
    if (json->is_object()) {
        if (static_cast<size_t>(position) >= json->size()) return CopyOut(nullptr, copy);
        auto it = json->begin();
        std::advance(it, position);
        if (name) *name = it.key();
        return CopyOut(&*it, copy);
    }
    if (name) name->clear();
    return jsoncopyarrayvalue(value, position, copy);
}

}  // namespace veltra
