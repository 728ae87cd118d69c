#pragma once
// A render's progress on the terminal: one line on stderr, shown only when stderr is a
// terminal and the render has taken longer than a moment, cleared when done.
//
//     ProgressLine progress("kelvo-aax", frames, rate);
//     progress.update(done); // from the main thread while the render runs

#include <chrono>
#include <cstddef>
#include <string>

namespace kelvohost {

class ProgressLine {
public:
    // frames 0: the length is not known (a stream), so the line shows the seconds done alone.
    ProgressLine(std::string program, std::size_t frames, double sampleRate);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // [main thread]
    void update(std::size_t done);
    // Takes the line away, before the program prints what follows. [main thread]
    void clear();

private:
    std::string program_;
    std::size_t frames_;
    double sampleRate_;
    bool enabled_;
    bool shown_ = false;
    std::chrono::steady_clock::time_point start_;
};

} // namespace kelvohost
