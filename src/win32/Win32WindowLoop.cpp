#include "win32/Win32WindowLoop.h"

#include <algorithm>

namespace tandrel {

namespace {

// Window timer ids the station uses are small (1, 11..18); tasks take ids
// from here on, so the two never meet.
constexpr UINT_PTR kFirstTaskTimer = 0x10000;

UINT TimerPeriod(int ms) { return static_cast<UINT>(std::max(ms, static_cast<int>(USER_TIMER_MINIMUM))); }

}  // namespace

// A wake-up that cannot be posted (no window yet, or the system's queue
// full) leaves the batch waiting for Attach or the next timer tick, which
// deliver it as well.
Win32WindowLoop::Win32WindowLoop(const DialogHandle& dialog)
    : ToolkitWindowLoop([this] {
          if (HWND window = dialog_) PostMessageW(window, kWakeMessage, 0, 0);
      }),
      dialog_(dialog),
      nextTaskTimer_(kFirstTaskTimer) {}

Win32WindowLoop::~Win32WindowLoop() { Close(); }

void Win32WindowLoop::Attach() {
    attached_ = true;
    // Posts made before the window existed are waiting.
    PostMessageW(dialog_, kWakeMessage, 0, 0);
}

HWND Win32WindowLoop::Window() const { return attached_ ? dialog_.Get() : nullptr; }

bool Win32WindowLoop::Handle(UINT message, WPARAM wParam) {
    if (message == kWakeMessage) {
        DeliverPosted();
        return true;
    }
    if (message != WM_TIMER) return false;
    Fire(wParam);
    DeliverPosted();
    return true;
}

std::optional<Win32WindowLoop::ToolkitTimer> Win32WindowLoop::StartTimer(int windowTimerId, int periodMs) {
    HWND window = Window();
    const auto id = static_cast<UINT_PTR>(windowTimerId);
    if (!window || ::SetTimer(window, id, TimerPeriod(periodMs), nullptr) == 0) return std::nullopt;
    return id;
}

std::optional<Win32WindowLoop::ToolkitTimer> Win32WindowLoop::StartTaskTimer(int delayMs) {
    HWND window = Window();
    if (!window) return std::nullopt;
    const UINT_PTR id = nextTaskTimer_++;
    if (::SetTimer(window, id, TimerPeriod(delayMs), nullptr) == 0) return std::nullopt;
    return id;
}

void Win32WindowLoop::StopTimer(ToolkitTimer timer) {
    if (HWND window = Window()) ::KillTimer(window, timer);
}

void Win32WindowLoop::Pause(int ms) { Sleep(static_cast<DWORD>(std::max(ms, 0))); }

void Win32WindowLoop::Close() {
    ToolkitWindowLoop::Close();
    attached_ = false;
}

}  // namespace tandrel
