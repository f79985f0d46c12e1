#include "win32/Win32WindowLoop.h"

#include <algorithm>

namespace tandrel {

namespace {

// Window timer ids the station uses are small (1, 11..18); tasks take ids
// from here on, so the two never meet.
constexpr UINT_PTR kFirstTaskTimer = 0x10000;

}  // namespace

// The wake-up is posted under the queue's lock, once per batch: once Close
// has taken the lock, no wake-up can still be on its way. One that cannot be
// posted (no window yet, or the system's queue full) leaves the batch
// waiting for Attach or the next timer tick, which deliver it as well.
Win32WindowLoop::Win32WindowLoop()
    : start_(std::chrono::steady_clock::now()),
      posts_([this] {
          if (HWND window = window_.load()) PostMessageW(window, kWakeMessage, 0, 0);
      }),
      nextTaskTimer_(kFirstTaskTimer) {}

Win32WindowLoop::~Win32WindowLoop() { Close(); }

void Win32WindowLoop::Attach(HWND dialog) {
    window_ = dialog;
    // Posts made before the window existed are waiting.
    PostMessageW(dialog, kWakeMessage, 0, 0);
}

void Win32WindowLoop::SetHandlers(MessageHandler onMessage, TimerHandler onTimer) {
    onMessage_ = std::move(onMessage);
    onTimer_ = std::move(onTimer);
}

bool Win32WindowLoop::Post(WindowMessage message) { return posts_.Push(std::move(message)); }

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
    posts_.TakeAll(batch_);
    while (!batch_.empty()) {
        WindowMessage message = std::move(batch_.front());
        batch_.pop_front();
        Deliver(message);
    }
}

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
    batch_.clear();
    const HWND window = window_.exchange(nullptr);
    if (window) {
        for (const int id : timers_) ::KillTimer(window, static_cast<UINT_PTR>(id));
        for (const auto& [id, task] : tasks_) ::KillTimer(window, id);
    }
    timers_.clear();
    tasks_.clear();
}

}  // namespace tandrel
