// The base of the program's JSON documents: a document stands for one value of the
// JsonService and owns it unless borrowed. Nothing here throws.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "server/json_service.h"

namespace veltra {

class JsonDocument {
  public:
    // A document of the given kind (kJsonObject or kJsonArray) with no value yet.
    JsonDocument(JsonService& service, int kind);
    // Frees the value unless the document is borrowed or the service is shut down.
    virtual ~JsonDocument();
    JsonDocument(const JsonDocument&) = delete;
    JsonDocument& operator=(const JsonDocument&) = delete;

    void SetKind(int newKind) { kind = newKind; }
    int Kind() const { return kind; }
    // Frees the current value and takes a new empty one of the document's kind;
    // true when one was made.
    bool Create();
    // Frees the current value and takes the parsed text. False when the text is
    // not JSON; the document then has no valid value (IsInvalid, ToText empty).
    bool Parse(std::string_view text);
    // Takes ownership of a valid value of the same service, freeing the current one;
    // false and nothing changed when the reference is not valid.
    bool Attach(JsonHandle newValue);
    JsonHandle Handle() const { return value; }
    // Any value read as text: empty for none, null and false; "true"; a string's
    // content; integers as decimal digits; other numbers as by "%.13g"; objects and
    // arrays as their JSON text.
    std::string ValueText(JsonHandle anyValue, int typeCode) const;
    // JSON text of the value; empty when the document has no valid value.
    std::string ToText() const;
    int Size() const;
    bool IsValidHandle(JsonHandle anyValue) const;
    void SetBorrowed(bool isBorrowed) { borrowed = isBorrowed; }
    int Type() const;
    // Frees the value and forgets it.
    void Release();
    // Forgets the value without freeing it.
    void Detach() { value = 0; }
    // Frees the value; the reference stays, now reading as no value.
    void Free();
    bool IsInvalid() const;

    JsonService& Service() const { return *service; }

  protected:
    // Adds content as a new member (asMember) or element of the value, converted
    // as JsonObject::SetMember describes.
    bool StoreTyped(bool asMember, std::string_view name, std::string_view content,
                    std::optional<int> typeCode);
    // Hands a copied value to target when it is an object or array of the target's
    // kind and service; frees it otherwise.
    bool AdoptCopy(int copyType, JsonHandle copy, JsonDocument& target) const;

  private:
    JsonService* service;
    bool borrowed = false;
    JsonHandle value = 0;
    int kind;
};

}  // namespace veltra
