#include "platform/PostQueue.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace tandrel {

PostQueue::PostQueue(Wake wake) : wake_(std::move(wake)) {}

bool PostQueue::Push(WindowMessage message) {
    {
        MutexLock lock(mutex_);
        if (closed_) return false;
        queue_.push_back(std::move(message));
        if (wake_) {
            if (!wakePending_) {
                wakePending_ = true;
                wake_();
            }
            // The toolkit's loop drains the queue when woken; no thread waits on it.
            return true;
        }
    }
    posted_.notify_one();
    return true;
}

bool PostQueue::Pop(WindowMessage& out) {
    MutexLock lock(mutex_);
    if (queue_.empty()) return false;
    out = std::move(queue_.front());
    queue_.pop_front();
    return true;
}

void PostQueue::TakeAll(std::deque<WindowMessage>& batch) {
    MutexLock lock(mutex_);
    // Posts from now on wake the window thread again, even while this batch
    // is being delivered.
    wakePending_ = false;
    if (batch.empty()) {
        batch.swap(queue_);
    } else {
        std::move(queue_.begin(), queue_.end(), std::back_inserter(batch));
        queue_.clear();
    }
}

bool PostQueue::WaitUntil(std::chrono::steady_clock::time_point deadline) {
    MutexLock lock(mutex_);
    while (queue_.empty() && !closed_) {
        if (!lock.WaitUntil(posted_, deadline)) break;
    }
    return !queue_.empty();
}

// The messages are freed outside the lock: a payload's destructor may post.
void PostQueue::Close() {
    std::deque<WindowMessage> dropped;
    {
        MutexLock lock(mutex_);
        closed_ = true;
        dropped.swap(queue_);
    }
    posted_.notify_all();
}

}  // namespace tandrel
