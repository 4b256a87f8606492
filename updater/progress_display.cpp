// Progress bar and progress lines.
#include "updater/progress_display.h"

#include <cstdio>
#include <ostream>

namespace veltra {
namespace {

constexpr int64_t kMiB = 1024 * 1024;
constexpr int kBarWidth = 30;

std::string Megabytes(int64_t bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / kMiB);
    return text;
}

}  // namespace

ProgressDisplay::ProgressDisplay(std::ostream& out, bool bar) : out(out), bar(bar) {}

void ProgressDisplay::Update(int64_t received, int64_t total) {
    if (received <= 0) return;
    const bool known = total > 0 && received <= total;
    const int percent = known ? static_cast<int>(received * 100 / total) : 0;

    if (!bar) {
        const int64_t step = known ? percent / 10 : received / kMiB;
        if (step <= lastStep) return;
        lastStep = step;
        if (known) {
            out << "已下载 " << step * 10 << "% (" << Megabytes(received) << " / "
                << Megabytes(total) << ")\n";
        } else {
            out << "已下载 " << Megabytes(step * kMiB) << "\n";
        }
        out.flush();
        return;
    }

    std::string text;
    if (known) {
        const int filled = percent * kBarWidth / 100;
        char number[8];
        std::snprintf(number, sizeof number, "%3d%%", percent);
        text = "[" + std::string(filled, '#') + std::string(kBarWidth - filled, '-') + "] " +
               number + "  " + Megabytes(received) + " / " + Megabytes(total);
    } else {
        text = "已下载 " + Megabytes(received);
    }
    if (text == shown) return;
    // Pad over a longer previous text.
    std::string padding;
    if (shown.size() > text.size()) padding.assign(shown.size() - text.size(), ' ');
    out << '\r' << text << padding;
    out.flush();
    shown = text;
}

void ProgressDisplay::Finish() {
    if (bar && !shown.empty()) {
        out << '\n';
        out.flush();
        shown.clear();
    }
}

}  // namespace veltra
