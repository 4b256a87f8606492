// The local application server program (first cut: listens and announces itself).
#include <httplib.h>
#include <signal.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

int main(int argc, char** argv) {
    int mainPort = 19300;
    int fallbackPort = 19200;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--main-port") == 0) mainPort = std::atoi(argv[i + 1]);
        if (std::strcmp(argv[i], "--fallback-port") == 0) fallbackPort = std::atoi(argv[i + 1]);
    }
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    httplib::Server main;
    httplib::Server fallback;
    const int mp = mainPort == 0 ? main.bind_to_any_port("127.0.0.1")
                                 : (main.bind_to_port("127.0.0.1", mainPort) ? mainPort : -1);
    const int fp = fallbackPort == 0
                       ? fallback.bind_to_any_port("127.0.0.1")
                       : (fallback.bind_to_port("127.0.0.1", fallbackPort) ? fallbackPort : -1);
    if (mp < 0 || fp < 0) return 1;
    std::thread a([&] { main.listen_after_bind(); });
    std::thread b([&] { fallback.listen_after_bind(); });
    while (!main.is_running() || !fallback.is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::printf("listening main=http://127.0.0.1:%d/appinit.php fallback=http://127.0.0.1:%d/\n",
                mp, fp);
    std::fflush(stdout);
    int sig = 0;
    sigwait(&set, &sig);
    main.stop();
    fallback.stop();
    a.join();
    b.join();
    return 0;
}
