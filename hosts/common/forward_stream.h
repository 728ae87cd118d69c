#pragma once
// libsndfile's virtual I/O over a descriptor that cannot seek (a pipe, a FIFO, a terminal, a
// character device). libsndfile writes a file's header first and comes back to complete it
// when the file is closed, which a pipe cannot take; it refuses to write WAV, AIFF and CAF to
// one at all. This stream lets it: the bytes it writes are held until release(), so the
// header can still be rewritten with the length the file is going to have; after that the
// bytes go out in order, and rewrites of bytes already sent are dropped (rewritten() says so).

#include <sndfile.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kelvohost {

class ForwardStream {
public:
    // The stream writes to fd, which it does not own.
    explicit ForwardStream(int fd) : fd_(fd) {}

    // The callbacks to hand to sf_open_virtual with this stream as user data.
    static SF_VIRTUAL_IO& callbacks();

    // What libsndfile sees as the file's length while a header is rewritten: the header plus
    // the audio to come. Unset: the bytes written so far.
    void announceLength(std::optional<sf_count_t> bytes) { announced_ = bytes; }
    // The bytes written so far (the header, before any audio).
    sf_count_t length() const { return sent_ + static_cast<sf_count_t>(held_.size()); }
    // The held bytes, for a header to be completed in place before release().
    std::vector<unsigned char>& held() { return held_; }

    // Sends what is held and every byte written from now on (in blocks).
    void release() { releasing_ = true; }
    bool released() const { return releasing_; }
    // Sends what is held. False on a write error (then error() tells it).
    bool flush();

    // A write to the descriptor failed: errno's text, else empty.
    const std::string& error() const { return error_; }
    // Whether libsndfile tried to rewrite bytes that had been sent already.
    bool rewritten() const { return rewritten_; }

private:
    sf_count_t write(const void* bytes, sf_count_t count);
    sf_count_t seek(sf_count_t offset, int whence);

    int fd_;
    sf_count_t sent_ = 0;             // bytes written to the descriptor
    sf_count_t position_ = 0;         // where libsndfile writes next
    std::vector<unsigned char> held_; // the bytes from sent_ on
    std::optional<sf_count_t> announced_;
    bool releasing_ = false;
    bool rewritten_ = false;
    std::string error_;
};

} // namespace kelvohost
