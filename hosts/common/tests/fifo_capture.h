#pragma once
// What a FIFO's reader receives while write() runs, for the tests of what programs write into
// FIFOs. The read end is open (without waiting) before write() runs, and reading stops once it
// has returned, so a writer that never opens the FIFO cannot leave the test waiting.

#include <atomic>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <poll.h>
#include <string>
#include <thread>
#include <unistd.h>

namespace kelvohost {

inline std::string readFifoWhile(const std::filesystem::path& fifo,
                                 const std::function<void()>& write) {
    const int input = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    std::string received;
    std::atomic<bool> written{false};
    std::thread reader([&] {
        char buffer[65536];
        for (bool last = false; !last;) {
            last = written.load();
            pollfd wait{input, POLLIN, 0};
            ::poll(&wait, 1, 20);
            for (ssize_t got; (got = ::read(input, buffer, sizeof buffer)) > 0;) {
                received.append(buffer, static_cast<std::size_t>(got));
            }
        }
    });
    write();
    written = true;
    reader.join();
    ::close(input);
    return received;
}

} // namespace kelvohost
