#include "progress_line.h"

#include <cstdio>
#include <unistd.h>

namespace kelvohost {
namespace {

// A render that takes longer than this shows the line.
constexpr auto progressDelay = std::chrono::milliseconds(300);

} // namespace

ProgressLine::ProgressLine(std::string program, std::size_t frames, double sampleRate)
    : program_(std::move(program)), frames_(frames), sampleRate_(sampleRate),
      enabled_(isatty(STDERR_FILENO) == 1), start_(std::chrono::steady_clock::now()) {}

ProgressLine::~ProgressLine() {
    clear();
}

void ProgressLine::update(std::size_t done) {
    if (!enabled_ || std::chrono::steady_clock::now() - start_ < progressDelay) {
        return;
    }
    shown_ = true;
    const double seconds = static_cast<double>(done) / sampleRate_;
    if (frames_ == 0) {
        std::fprintf(stderr, "\r%s: %.1f s", program_.c_str(), seconds);
    } else {
        std::fprintf(stderr, "\r%s: %3.0f%%  %.1f of %.1f s", program_.c_str(),
                     100.0 * static_cast<double>(done) / static_cast<double>(frames_), seconds,
                     static_cast<double>(frames_) / sampleRate_);
    }
    std::fflush(stderr);
}

void ProgressLine::clear() {
    if (shown_) {
        std::fputs("\r\033[K", stderr); // clear the line
        shown_ = false;
    }
}

} // namespace kelvohost
