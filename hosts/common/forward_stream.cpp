#include "forward_stream.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace kelvohost {
namespace {

// Bytes gathered before they go out once released: few system calls, little memory.
constexpr std::size_t sendBlock = 64 * 1024;

ForwardStream& streamOf(void* user) {
    return *static_cast<ForwardStream*>(user);
}

} // namespace

SF_VIRTUAL_IO& ForwardStream::callbacks() {
    static SF_VIRTUAL_IO io{
        [](void* user) { // get_filelen
            ForwardStream& stream = streamOf(user);
            return stream.announced_.value_or(stream.length());
        },
        [](sf_count_t offset, int whence, void* user) {
            return streamOf(user).seek(offset, whence);
        },
        [](void*, sf_count_t, void*) -> sf_count_t { return 0; }, // nothing to read back
        [](const void* bytes, sf_count_t count, void* user) {
            return streamOf(user).write(bytes, count);
        },
        [](void* user) { return streamOf(user).position_; },
    };
    return io;
}

sf_count_t ForwardStream::seek(sf_count_t offset, int whence) {
    const sf_count_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? position_ : length();
    if (base + offset < 0) {
        return -1;
    }
    position_ = base + offset;
    return position_;
}

sf_count_t ForwardStream::write(const void* bytes, sf_count_t count) {
    if (!error_.empty() || count < 0) {
        return 0;
    }
    const auto* from = static_cast<const unsigned char*>(bytes);
    sf_count_t left = count;
    if (position_ < sent_) { // gone already: only a header rewrite comes back this far
        const sf_count_t skipped = std::min(left, sent_ - position_);
        rewritten_ = true;
        from += skipped;
        left -= skipped;
        position_ += skipped;
    }
    if (left > 0) {
        const auto offset = static_cast<std::size_t>(position_ - sent_);
        const auto size = static_cast<std::size_t>(left);
        if (held_.size() < offset + size) {
            held_.resize(offset + size);
        }
        std::memcpy(held_.data() + offset, from, size);
        position_ += left;
    }
    if (releasing_ && held_.size() >= sendBlock && !flush()) {
        return 0;
    }
    return count;
}

bool ForwardStream::flush() {
    std::size_t done = 0;
    while (done < held_.size()) {
        const ssize_t wrote = ::write(fd_, held_.data() + done, held_.size() - done);
        if (wrote < 0 && errno == EINTR) {
            continue;
        }
        if (wrote <= 0) {
            error_ = std::strerror(wrote < 0 ? errno : EIO);
            return false;
        }
        done += static_cast<std::size_t>(wrote);
    }
    sent_ += static_cast<sf_count_t>(held_.size());
    held_.clear();
    return true;
}

} // namespace kelvohost
