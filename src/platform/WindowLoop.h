#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/WindowMessages.h"

namespace tandrel {

struct MessagePayload {
    virtual ~MessagePayload() = default;
};

// A posted message. Its payload belongs to the message: whoever holds the
// message owns it, and a message that is never delivered frees it.
struct WindowMessage {
    unsigned id = 0;
    std::unique_ptr<MessagePayload> payload;
};

// The one window thread: posted messages, window timers, delayed tasks,
// blocking pauses and the clock.
class WindowLoop {
public:
    using MessageHandler = std::function<void(WindowMessage&)>;
    using TimerHandler = std::function<void(int timerId)>;
    using Task = std::function<void()>;

    virtual ~WindowLoop() = default;

    // Window thread, before any message or tick can arrive.
    virtual void SetHandlers(MessageHandler onMessage, TimerHandler onTimer) = 0;

    // Any thread. Messages are delivered in the order posted. Returns false
    // when the window has closed; the message is then freed here.
    virtual bool Post(WindowMessage message) = 0;

    // Window timers by id, repeating every periodMs until killed. Setting a
    // set timer restarts it with the new period; killing an unset one is harmless.
    virtual void SetTimer(int id, int periodMs) = 0;
    virtual void KillTimer(int id) = 0;
    virtual bool IsTimerSet(int id) const = 0;

    // Runs task on the window thread once delayMs have passed. Not a window timer.
    virtual void After(int delayMs, Task task) = 0;

    // Blocks the window thread; nothing is delivered meanwhile.
    virtual void Pause(int ms) = 0;

    // Milliseconds since the loop was made.
    virtual std::int64_t Now() const = 0;

    // The window has closed: queued messages are freed, later posts are
    // refused, timers and tasks are dropped.
    virtual void Close() = 0;
};

}  // namespace tandrel
