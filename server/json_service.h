// The owner of every JSON value the program handles. Documents hold references
// (handles) to values kept here; the service parses, builds, reads and serialises
// them. Nothing here throws: failures come back as 0, -1, false or an empty text.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace veltra {

// A reference to a value of the service; 0 refers to nothing. References are never
// reused, so a stale one can only ever read as "no value".
using JsonHandle = uint64_t;

// Type codes of values, as every caller sees them.
enum JsonType : int {
    kJsonNone = -1,  // no such member or element, or not a valid value
    kJsonNull = 0,
    kJsonBool = 1,
    kJsonString = 2,
    kJsonInt = 3,  // integer that fits in 32 bits (signed)
    kJsonDouble = 4,
    kJsonInt64 = 5,  // integer that fits in 64 bits (signed)
    kJsonObject = 6,
    kJsonArray = 7,
    kJsonUInt = 8,    // unsigned 32-bit integer
    kJsonUInt64 = 9,  // unsigned 64-bit integer
};

class JsonService {
  public:
    // Deepest nesting of arrays and objects a parsed text may have; deeper texts are
    // refused like texts that are not JSON, so no later operation can run out of stack.
    static constexpr int kMaxDepth = 512;

    JsonService();
    ~JsonService();
    JsonService(const JsonService&) = delete;
    JsonService& operator=(const JsonService&) = delete;

    // Marks the service as shut down: documents destroyed afterwards leave their
    // values alone. The values themselves are released with the service.
    void Shutdown() { shutDown = true; }
    bool IsShutDown() const { return shutDown; }
    // Number of values (roots and member references) the service currently holds.
    size_t LiveValueCount() const { return entries.size(); }

    // A new value from a JSON text; 0 when the text is not JSON (the empty text
    // included), holds a zero byte or nests deeper than kMaxDepth.
    JsonHandle jsonparse(std::string_view text);
    // A new empty value. It takes members or elements alike: the first addition
    // makes it an object or an array. Serialised before any addition it reads as {}.
    JsonHandle jsoncreate();
    // A new empty array value (serialises as []).
    JsonHandle jsoncreatearray();
    // Releases a value made by jsonparse, jsoncreate or a copy, with every reference
    // into it; for a member reference only the reference is dropped.
    void jsonfree(JsonHandle value);

    int jsongettype(JsonHandle value) const;
    // Members of an object or elements of an array; 0 for anything else.
    int jsongetsize(JsonHandle value) const;
    // Compact JSON text of the value; empty for a reference to no value.
    std::string jsontostring(JsonHandle value) const;

    // References into a value. They belong to the parent and stay readable as long
    // as the parent holds that member; afterwards they read as type -1.
    int jsongetobjectvalue(JsonHandle value, std::string_view name, JsonHandle* member);
    int jsongetarrayvalue(JsonHandle value, int index, JsonHandle* element);
    int jsongetat(JsonHandle value, int position, JsonHandle* member, std::string* name);

    // Scalar contents; 0, false or empty when the value is of another kind.
    std::string jsongetstring(JsonHandle value) const;
    bool jsongetbool(JsonHandle value) const;
    int32_t jsongetint(JsonHandle value) const;
    uint32_t jsongetuint(JsonHandle value) const;
    int64_t jsongetlonglong(JsonHandle value) const;
    uint64_t jsongetulonglong(JsonHandle value) const;
    double jsongetdouble(JsonHandle value) const;

    // Add (or replace) the member `name` of an object value; false when the value
    // is not an object (an empty array becomes an object).
    bool jsonpushstring(JsonHandle value, std::string_view name, std::string_view content);
    bool jsonpushbool(JsonHandle value, std::string_view name, bool content);
    bool jsonpushint(JsonHandle value, std::string_view name, int32_t content);
    bool jsonpushuint(JsonHandle value, std::string_view name, uint32_t content);
    bool jsonpushint64(JsonHandle value, std::string_view name, int64_t content);
    bool jsonpushuint64(JsonHandle value, std::string_view name, uint64_t content);
    bool jsonpushdouble(JsonHandle value, std::string_view name, double content);
    bool jsonpushnull(JsonHandle value, std::string_view name);
    // Stores a copy of `content`; the given value stays owned by its holder.
    bool jsonpushobject(JsonHandle value, std::string_view name, JsonHandle content);

    // Append an element to an array value; false when the value is not an array
    // (an empty object becomes an array).
    bool jsonarrayaddstring(JsonHandle value, std::string_view content);
    bool jsonarrayaddbool(JsonHandle value, bool content);
    bool jsonarrayaddint(JsonHandle value, int32_t content);
    bool jsonarrayadduint(JsonHandle value, uint32_t content);
    bool jsonarrayaddint64(JsonHandle value, int64_t content);
    bool jsonarrayadduint64(JsonHandle value, uint64_t content);
    bool jsonarrayadddouble(JsonHandle value, double content);
    bool jsonarrayaddnull(JsonHandle value);
    bool jsonarrayaddobject(JsonHandle value, JsonHandle content);

    // New values copied from a member or element; the receiver owns them. The
    // result is the copy's type code, -1 (and *copy = 0) when there is none.
    int jsoncopyobjectvalue(JsonHandle value, std::string_view name, JsonHandle* copy);
    int jsoncopyarrayvalue(JsonHandle value, int index, JsonHandle* copy);
    int jsoncopyvalueat(JsonHandle value, int position, JsonHandle* copy, std::string* name);

  private:
    // One step from a value into a member (by name) or an element (by index).
    struct Step {
        bool isIndex = false;
        std::string name;
        size_t index = 0;
    };
    struct Entry {
        std::unique_ptr<nlohmann::json> owned;  // set for a root value
        JsonHandle root = 0;                    // set for a reference into a root
        std::vector<Step> path;
    };

    nlohmann::json* Resolve(JsonHandle value) const;
    JsonHandle AddRoot(nlohmann::json value);
    JsonHandle ChildOf(JsonHandle value, Step step);
    nlohmann::json* ObjectForPush(JsonHandle value);
    nlohmann::json* ArrayForAdd(JsonHandle value);
    int CopyOut(const nlohmann::json* source, JsonHandle* copy);

    std::map<JsonHandle, Entry> entries;
    // Member references of each root by their path, so repeated reads of the same
    // member reuse one reference instead of piling up new ones.
    std::map<JsonHandle, std::map<std::string, JsonHandle>> children;
    JsonHandle nextHandle = 1;
    bool shutDown = false;
};

// Type code of a value.
int JsonTypeOf(const nlohmann::json& value);

}  // namespace veltra
