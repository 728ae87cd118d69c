#pragma once
// A queue that hands items from one thread to another, waiting for them. Closing it ends every
// wait at once, so one failing thread of a pipeline stops the others.

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

namespace kelvohost {

template <typename T> class HandOffQueue {
public:
    // [any thread]
    void push(T item) {
        {
            const std::lock_guard lock(mutex_);
            items_.push_back(std::move(item));
        }
        ready_.notify_one();
    }

    // [any thread] The next item, waiting for one; none once the queue is closed.
    std::optional<T> pop() {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [this] { return closed_ || !items_.empty(); });
        if (closed_) {
            return std::nullopt;
        }
        T item = std::move(items_.front());
        items_.pop_front();
        return item;
    }

    // [any thread]
    void close() {
        {
            const std::lock_guard lock(mutex_);
            closed_ = true;
        }
        ready_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<T> items_;
    bool closed_ = false;
};

} // namespace kelvohost
