// libcurl, opened when the program first needs it instead of when the process starts.
// libcurl brings some thirty libraries of its own (TLS, Kerberos, LDAP, SSH, ...);
// linking it outright makes the dynamic loader map and relocate all of them before
// main, which the desktop window's start-up pays for in full. Opened at run time they
// can be loaded on a thread of their own while the window system starts (CurlWarmUp).
#pragma once

#include <curl/curl.h>

#include <thread>

namespace veltra {

// The entry points of libcurl the program calls.
struct CurlLibrary {
    CURL* (*easyInit)();
    CURLcode (*easySetopt)(CURL*, CURLoption, ...);
    CURLcode (*easyPerform)(CURL*);
    CURLcode (*easyGetinfo)(CURL*, CURLINFO, ...);
    void (*easyCleanup)(CURL*);
    curl_slist* (*slistAppend)(curl_slist*, const char*);
    void (*slistFreeAll)(curl_slist*);
    CURLM* (*multiInit)();
    CURLMcode (*multiSetopt)(CURLM*, CURLMoption, ...);
    CURLMcode (*multiAddHandle)(CURLM*, CURL*);
    CURLMcode (*multiRemoveHandle)(CURLM*, CURL*);
    CURLMcode (*multiSocketAction)(CURLM*, curl_socket_t, int, int*);
    CURLMsg* (*multiInfoRead)(CURLM*, int*);
    CURLMcode (*multiCleanup)(CURLM*);
};

// libcurl, opened and globally initialised on the first call (any thread; later
// callers wait for the first), or nullptr when it cannot be opened: every request
// then fails as if the network were down.
const CurlLibrary* Curl();

// Opens libcurl on a thread of its own; the destructor waits for it.
class CurlWarmUp {
  public:
    CurlWarmUp();
    ~CurlWarmUp();
    CurlWarmUp(const CurlWarmUp&) = delete;
    CurlWarmUp& operator=(const CurlWarmUp&) = delete;

  private:
    std::thread thread;
};

}  // namespace veltra
