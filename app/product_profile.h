// The compiled-in product: its name, its id at the application server, the plan it
// issues and its version. Read-only once the program has started.
#pragma once

#include <string>

namespace veltra {

struct ProductProfile {
    std::string applicationName;
    std::string programName;
    int applicationId = 0;
    std::string planName;
    std::string planTitle;
    std::string version;
    std::string betPrefix;  // two characters before a bet range in planName; empty when none
    int betMin = 0;
    int betMax = 0;
};

// The profile of this build.
ProductProfile ThisProduct();

}  // namespace veltra
