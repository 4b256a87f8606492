// Detached program start on POSIX: fork twice so the program is not our child and
// leaves no zombie, then exec with the argument words as they are.
#include "platform/process_launcher.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>

namespace veltra {

bool SystemProcessLauncher::Launch(const std::string& program,
                                   const std::vector<std::string>& args) {
    // Everything the child needs is prepared before fork: only async-signal-safe
    // calls happen between fork and exec.
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) return false;
    const pid_t child = fork();
    if (child < 0) {
        close(report[0]);
        close(report[1]);
        return false;
    }
    if (child == 0) {
        setsid();
        const pid_t grandchild = fork();
        if (grandchild == 0) {
            execvp(argv[0], argv.data());
            const char failed = 1;  // exec failed: tell the parent
            (void)!write(report[1], &failed, 1);
            _exit(127);
        }
        _exit(grandchild < 0 ? 1 : 0);
    }
    close(report[1]);
    int status = 0;
    waitpid(child, &status, 0);
    char failed = 0;
    // The pipe closes on a successful exec (close-on-exec) or carries one byte.
    const ssize_t got = read(report[0], &failed, 1);
    close(report[0]);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 && got == 0;
}

bool IsWebAddress(std::string_view url) {
    std::string lower;
    for (const char c : url.substr(0, 8))
        lower.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    size_t hostStart = 0;
    if (lower.starts_with("http://")) {
        hostStart = 7;
    } else if (lower.starts_with("https://")) {
        hostStart = 8;
    } else {
        return false;
    }
    if (url.size() <= hostStart || url[hostStart] == '/') return false;
    for (const char c : url) {
        const auto b = static_cast<unsigned char>(c);
        if (b <= 0x20 || b == 0x7F) return false;
    }
    return true;
}

bool OpenWebAddress(ProcessLauncher& launcher, std::string_view url) {
    if (!IsWebAddress(url)) return false;
    return launcher.Launch("xdg-open", {std::string(url)});
}

}  // namespace veltra
