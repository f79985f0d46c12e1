#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "platform/WindowLoop.h"

namespace tandrel {

// Messages posted from any thread for the window thread, oldest first. Once
// closed it frees what it holds and refuses, and frees, every later post.
class PostQueue {
public:
    // False once closed.
    bool Push(WindowMessage message);
    // The oldest message; false when there is none.
    bool Pop(WindowMessage& out);
    // Waits until a message is queued, the queue closes or deadline passes;
    // true when a message is queued.
    bool WaitUntil(std::chrono::steady_clock::time_point deadline);
    void Close();

private:
    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<WindowMessage> queue_;
    bool closed_ = false;
};

}  // namespace tandrel
