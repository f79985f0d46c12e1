#include "win32/Win32WindowLoop.h"

#include <algorithm>

namespace tandrel {

namespace {

// Window timer ids the station uses are small (1, 11..18); tasks take ids
// from here on, so the two never meet.
constexpr UINT_PTR kFirstTaskTimer = 0x10000;

}  // namespace

Win32WindowLoop::Win32WindowLoop() : start_(std::chrono::steady_clock::now()), nextTaskTimer_(kFirstTaskTimer) {}

Win32WindowLoop::~Win32WindowLoop() { Close(); }

void Win32WindowLoop::Attach(HWND dialog) {
    {
        std::lock_guard lock(wakeMutex_);
        window_ = dialog;
        wakePending_ = false;
    }
    // Posts made before the window existed are waiting.
    Wake();
}

void Win32WindowLoop::SetHandlers(MessageHandler onMessage, TimerHandler onTimer) {
    onMessage_ = std::move(onMessage);
    onTimer_ = std::move(onTimer);
}

bool Win32WindowLoop::Post(WindowMessage message) {
    if (!posts_.Push(std::move(message))) return false;
    Wake();
    return true;
}

// A failed PostMessageW leaves the flag clear, so the next post tries again;
// the message itself is safe in the queue meanwhile, and timer ticks
// deliver what waits as well.
void Win32WindowLoop::Wake() {
    std::lock_guard lock(wakeMutex_);
    if (!window_ || wakePending_) return;
    wakePending_ = PostMessageW(window_, kWakeMessage, 0, 0) != 0;
}

bool Win32WindowLoop::Handle(UINT message, WPARAM wParam) {
    if (message == kWakeMessage) {
        DeliverPosted();
        return true;
    }
    if (message != WM_TIMER) return false;
    const UINT_PTR id = wParam;
    if (tasks_.count(id) != 0) {
        RunTask(id);
    } else if (timers_.count(static_cast<int>(id)) != 0 && onTimer_) {
        onTimer_(static_cast<int>(id));
    }
    DeliverPosted();
    return true;
}

void Win32WindowLoop::Deliver(WindowMessage& message) {
    if (onMessage_) onMessage_(message);
}

void Win32WindowLoop::DeliverPosted() {
    {
        std::lock_guard lock(wakeMutex_);
        wakePending_ = false;
    }
    WindowMessage message;
    while (posts_.Pop(message)) {
        Deliver(message);
        message = WindowMessage{};
    }
}

// The window handle changes on the window thread only, so reading it here
// needs no lock.
void Win32WindowLoop::RunTask(UINT_PTR timerId) {
    ::KillTimer(window_, timerId);
    auto task = tasks_.extract(timerId);
    task.mapped()();
}

void Win32WindowLoop::SetTimer(int id, int periodMs) {
    if (!window_) return;
    const UINT period = static_cast<UINT>(std::max(periodMs, static_cast<int>(USER_TIMER_MINIMUM)));
    if (::SetTimer(window_, static_cast<UINT_PTR>(id), period, nullptr) != 0) timers_.insert(id);
}

void Win32WindowLoop::KillTimer(int id) {
    if (timers_.erase(id) != 0 && window_) ::KillTimer(window_, static_cast<UINT_PTR>(id));
}

bool Win32WindowLoop::IsTimerSet(int id) const { return timers_.count(id) != 0; }

void Win32WindowLoop::After(int delayMs, Task task) {
    if (!window_) return;
    const UINT_PTR id = nextTaskTimer_++;
    const UINT delay = static_cast<UINT>(std::max(delayMs, static_cast<int>(USER_TIMER_MINIMUM)));
    if (::SetTimer(window_, id, delay, nullptr) != 0) tasks_.emplace(id, std::move(task));
}

void Win32WindowLoop::Pause(int ms) { Sleep(static_cast<DWORD>(std::max(ms, 0))); }

std::int64_t Win32WindowLoop::Now() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_).count();
}

void Win32WindowLoop::Close() {
    posts_.Close();
    HWND window = nullptr;
    {
        std::lock_guard lock(wakeMutex_);
        window = window_;
        window_ = nullptr;
    }
    if (window) {
        for (const int id : timers_) ::KillTimer(window, static_cast<UINT_PTR>(id));
        for (const auto& [id, task] : tasks_) ::KillTimer(window, id);
    }
    timers_.clear();
    tasks_.clear();
}

}  // namespace tandrel
