#pragma once

#include <functional>
#include <memory>
#include <utility>

#include "platform/WindowLoop.h"

namespace tandrel {

// The one way a worker thread answers the window thread: the task travels as
// a WM_POSTED_TASK message and runs when the window delivers it. A task posted
// after the window closed, or still queued when it closes, is dropped
// unrun (and freed with whatever it captured).
struct PostedTask : MessagePayload {
    explicit PostedTask(std::function<void()> task) : run(std::move(task)) {}
    std::function<void()> run;
};

// Any thread. False when the window has closed and the task was dropped.
inline bool PostTask(WindowLoop& loop, std::function<void()> task) {
    return loop.Post(WindowMessage{WM_POSTED_TASK, std::make_unique<PostedTask>(std::move(task))});
}

// Window thread: runs a delivered WM_POSTED_TASK.
inline void RunPostedTask(WindowMessage& message) {
    if (auto* task = dynamic_cast<PostedTask*>(message.payload.get()); task && task->run) task->run();
}

}  // namespace tandrel
