#include "server/curl_library.h"

#include <dlfcn.h>

#include <mutex>

namespace veltra {
namespace {

// The shared library's name carries its ABI version: any libcurl 7.x or 8.x.
constexpr const char* kLibraryName = "libcurl.so.4";

template <typename Function>
bool Resolve(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

const CurlLibrary* Open() {
    // Never closed: handles and callbacks may live until the process ends.
    void* library = dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) return nullptr;
    static CurlLibrary curl{};
    CURLcode (*globalInit)(long) = nullptr;
    const bool complete = Resolve(library, "curl_global_init", globalInit) &&
                          Resolve(library, "curl_easy_init", curl.easyInit) &&
                          Resolve(library, "curl_easy_setopt", curl.easySetopt) &&
                          Resolve(library, "curl_easy_perform", curl.easyPerform) &&
                          Resolve(library, "curl_easy_getinfo", curl.easyGetinfo) &&
                          Resolve(library, "curl_easy_cleanup", curl.easyCleanup) &&
                          Resolve(library, "curl_slist_append", curl.slistAppend) &&
                          Resolve(library, "curl_slist_free_all", curl.slistFreeAll) &&
                          Resolve(library, "curl_multi_init", curl.multiInit) &&
                          Resolve(library, "curl_multi_setopt", curl.multiSetopt) &&
                          Resolve(library, "curl_multi_add_handle", curl.multiAddHandle) &&
                          Resolve(library, "curl_multi_remove_handle", curl.multiRemoveHandle) &&
                          Resolve(library, "curl_multi_socket_action", curl.multiSocketAction) &&
                          Resolve(library, "curl_multi_info_read", curl.multiInfoRead) &&
                          Resolve(library, "curl_multi_cleanup", curl.multiCleanup);
    if (!complete || globalInit(CURL_GLOBAL_DEFAULT) != CURLE_OK) return nullptr;
    return &curl;
}

}  // namespace

const CurlLibrary* Curl() {
    static std::once_flag opened;
    static const CurlLibrary* library = nullptr;
    std::call_once(opened, [] { library = Open(); });
    return library;
}

CurlWarmUp::CurlWarmUp() : thread([] { Curl(); }) {}

CurlWarmUp::~CurlWarmUp() {
    thread.join();
}

}  // namespace veltra
