// A drawn period as the program passes it around, and the newest draw together with
// the coming period.
#pragma once

#include <cstdint>
#include <string>

namespace veltra {

struct DrawRecord {
    std::string tag;       // carried and copied, never interpreted
    std::string period;    // e.g. 20261211043; its last two characters are the serial
    std::string drawTime;  // local date-time text of the draw
    std::string numbers;   // three numbers joined by ","
    int32_t seed = 0;      // forecast seed of this draw when the history is replayed
};

struct DrawSnapshot {
    DrawRecord latest;  // the newest drawn period
    DrawRecord next;    // the coming period: its drawTime is the time of the coming draw
};

}  // namespace veltra
