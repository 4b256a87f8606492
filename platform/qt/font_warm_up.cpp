// fontconfig's start-up on a thread of its own.
#include "platform/qt/font_warm_up.h"

#include <fontconfig/fontconfig.h>

namespace veltra {

// fontconfig is thread-safe: whoever asks next gets the configuration loaded here,
// or loads it alongside if this thread is not done yet.
FontWarmUp::FontWarmUp() : thread([] { FcInit(); }) {}

FontWarmUp::~FontWarmUp() {
    thread.join();
}

}  // namespace veltra
