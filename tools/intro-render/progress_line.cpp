#include "progress_line.h"

#include <cmath>

namespace {

constexpr auto in_place_interval = std::chrono::milliseconds(200);
constexpr auto plain_interval = std::chrono::seconds(5);

std::string clock_text(double seconds) {
    const long total = std::lround(seconds);
    char text[32];
    if (total >= 3600) {
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", total / 3600, total / 60 % 60,
                      total % 60);
    } else {
        std::snprintf(text, sizeof text, "%ld:%02ld", total / 60, total % 60);
    }
    return text;
}

} // namespace

std::string progress_text(int done, int total, double elapsed_seconds) {
    char text[96];
    const int percent = total > 0 ? static_cast<int>(100LL * done / total) : 100;
    std::snprintf(text, sizeof text, "frame %d of %d (%d%%)", done, total, percent);
    std::string line = text;
    if (done > 0 && elapsed_seconds > 0.0) {
        const double rate = done / elapsed_seconds;
        std::snprintf(text, sizeof text, ", %.1f frames/s", rate);
        line += text;
        line += ", " + clock_text((total - done) / rate) + " left";
    }
    return line;
}

ProgressLine::ProgressLine(std::FILE* out, int total, bool in_place)
    : out_(out), total_(total), in_place_(in_place), start_(std::chrono::steady_clock::now()),
      last_shown_(start_) {}

void ProgressLine::update(int done) {
    const auto now = std::chrono::steady_clock::now();
    const auto interval = in_place_ ? in_place_interval : plain_interval;
    if (done < total_ && now - last_shown_ < interval) {
        return;
    }
    last_shown_ = now;
    const std::string text =
        progress_text(done, total_, std::chrono::duration<double>(now - start_).count());
    if (in_place_) {
        // Carriage return and erase-to-end-of-line rewrite the same terminal line.
        std::fprintf(out_, "\r%s\x1b[K", text.c_str());
        line_open_ = true;
    } else {
        std::fprintf(out_, "%s\n", text.c_str());
    }
    std::fflush(out_);
}

void ProgressLine::finish() {
    if (line_open_) {
        std::fputc('\n', out_);
        line_open_ = false;
    }
}
