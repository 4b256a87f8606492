// The reply document of a server call: an object with "errcode", "msg" and "data".
#pragma once

#include <string>

#include "server/json_object.h"

namespace veltra {

class JsonReply : public JsonObject {
  public:
    explicit JsonReply(JsonService& service) : JsonObject(service) {}

    // True when "errcode" reads as the integer 0 (a missing or non-numeric errcode
    // reads as 0). Server calls decide success by the exact text "0" instead.
    bool IsOk() const;
    std::string Msg() const { return GetMemberText("msg"); }
    std::string ErrCode() const { return GetMemberText("errcode"); }
};

}  // namespace veltra
