// The application information the server hands out at initialisation: where the
// draws, the newest period and the advert page are, and the newest version.
#pragma once

#include <string>

namespace veltra {

struct AppInfo {
    std::string drawurl;   // data server: endpoint of the draw calls
    std::string newphase;  // address of the newest-period text
    std::string advert1;   // advert page of the main window
    std::string advert2;   // kept, not used
    std::string version;   // newest program version
    std::string proupurl;  // download address of that version
    std::string seo;       // kept, not used

    bool operator==(const AppInfo&) const = default;
};

}  // namespace veltra
