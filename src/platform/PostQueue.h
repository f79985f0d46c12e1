#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>

#include "platform/Mutex.h"
#include "platform/WindowLoop.h"

namespace tandrel {

// Messages posted from any thread for the window thread, oldest first. Once
// closed it frees what it holds and refuses, and frees, every later post.
class PostQueue {
public:
    using Wake = std::function<void()>;

    // wake, when given, is called for the first post after the window thread
    // last took the whole queue (TakeAll), so a toolkit's event loop is woken
    // once per batch. It runs under the queue's lock: once Close has taken
    // the lock, no wake-up can still be on its way.
    explicit PostQueue(Wake wake = {});

    // False once closed.
    bool Push(WindowMessage message);
    // The oldest message; false when there is none.
    bool Pop(WindowMessage& out);
    // Moves every queued message to the end of batch, oldest first.
    void TakeAll(std::deque<WindowMessage>& batch);
    // Waits until a message is queued, the queue closes or deadline passes;
    // true when a message is queued. Not for a queue with a wake-up, whose
    // posts wake the toolkit instead.
    bool WaitUntil(std::chrono::steady_clock::time_point deadline);
    void Close();

private:
    const Wake wake_;
    Mutex mutex_;
    std::condition_variable posted_;
    std::deque<WindowMessage> queue_ GUARDED_BY(mutex_);
    bool wakePending_ GUARDED_BY(mutex_) = false;
    bool closed_ GUARDED_BY(mutex_) = false;
};

}  // namespace tandrel
