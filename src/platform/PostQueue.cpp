#include "platform/PostQueue.h"

namespace tandrel {

bool PostQueue::Push(WindowMessage message) {
    {
        std::lock_guard lock(mutex_);
        if (closed_) return false;
        queue_.push_back(std::move(message));
    }
    posted_.notify_one();
    return true;
}

bool PostQueue::Pop(WindowMessage& out) {
    std::lock_guard lock(mutex_);
    if (queue_.empty()) return false;
    out = std::move(queue_.front());
    queue_.pop_front();
    return true;
}

bool PostQueue::WaitUntil(std::chrono::steady_clock::time_point deadline) {
    std::unique_lock lock(mutex_);
    posted_.wait_until(lock, deadline, [this] { return !queue_.empty() || closed_; });
    return !queue_.empty();
}

// The messages are freed outside the lock: a payload's destructor may post.
void PostQueue::Close() {
    std::deque<WindowMessage> dropped;
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
        dropped.swap(queue_);
    }
    posted_.notify_all();
}

}  // namespace tandrel
