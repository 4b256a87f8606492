// The reply envelope's accessors.
#include "server/json_reply.h"

#include "base/text_integer.h"

namespace veltra {

bool JsonReply::IsOk() const {
    return IntegerOfText(ErrCode()) == 0;
}

}  // namespace veltra
