// Runs a test in a given machine time zone (a POSIX zone text such as "CST-8", which
// needs no zone files) and restores the previous one afterwards.
#pragma once

#include <stdlib.h>
#include <time.h>

#include <string>

namespace veltra::test {

class ScopedTimeZone {
  public:
    explicit ScopedTimeZone(const char* zone) {
        if (const char* tz = getenv("TZ")) saved = tz, hadZone = true;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedTimeZone() {
        if (hadZone) {
            setenv("TZ", saved.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

  private:
    std::string saved;
    bool hadZone = false;
};

}  // namespace veltra::test
