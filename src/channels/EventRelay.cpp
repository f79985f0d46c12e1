#include "channels/EventRelay.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <new>
#include <thread>

#include "channels/ChannelEvent.h"

namespace tandrel {

namespace {

struct RelayTarget {
    const ChannelTable* channels = nullptr;
    WindowLoop* loop = nullptr;
};

// The target's storage is rewritten only while nothing points at it and no
// callback is inside, so callbacks read it without a lock.
RelayTarget g_targetStorage;
std::atomic<const RelayTarget*> g_target{nullptr};
// Callbacks that may be using the target. A callback counts itself in and
// then reads g_target again; Detach clears g_target and then waits for the
// count to drain. Both sequentially consistent, so no callback still holds
// the old target once Detach returns. A callback that finds g_target already
// clear returns without counting, so a library that keeps reporting cannot
// hold the count up and keep Detach waiting.
std::atomic<int> g_callbacksInside{0};
// Attach and Detach among themselves.
std::mutex g_attachMutex;

void ClearTargetAndDrain() {
    g_target.store(nullptr);
    while (g_callbacksInside.load() != 0) std::this_thread::yield();
}

class CallbackScope {
public:
    CallbackScope() { g_callbacksInside.fetch_add(1); }
    ~CallbackScope() { g_callbacksInside.fetch_sub(1); }
    CallbackScope(const CallbackScope&) = delete;
    CallbackScope& operator=(const CallbackScope&) = delete;
};

void Relay(const RelayTarget& target, int channel, int status, const char* text) {
    const ChannelRecord* record = target.channels->Record(channel);
    if (!record || !PassesProgressFilter(record->state.load(std::memory_order_acquire), status)) return;
    // The session is read now, on the library's thread: a run that ends
    // before the window gets to the report has the report dropped there.
    const std::uint32_t session = record->session.load(std::memory_order_acquire);
    std::unique_ptr<ChannelEvent> event(new (std::nothrow) ChannelEvent(channel, status, text, session));
    if (!event) return;
    target.loop->Post(WindowMessage{WM_CHANNEL_EVENT, std::move(event)});
}

}  // namespace

void AttachRelay(const ChannelTable& channels, WindowLoop& loop) {
    std::lock_guard lock(g_attachMutex);
    ClearTargetAndDrain();
    g_targetStorage = RelayTarget{&channels, &loop};
    g_target.store(&g_targetStorage);
}

void DetachRelay(const ChannelTable& channels) {
    std::lock_guard lock(g_attachMutex);
    if (g_targetStorage.channels != &channels) return;
    ClearTargetAndDrain();
    g_targetStorage = RelayTarget{};
}

bool PassesProgressFilter(ChannelState state, int status) {
    if (status == IFWD_DL_STATUS_OK || status == IFWD_DL_STATUS_FAILED) return true;
    return state != ChannelState::Booting && state != ChannelState::LoadPsi;
}

extern "C" void IFWD_DL_CALL LibraryCallback(int channel, int status, const char* text) {
    const int n = channel & 0xFF;
    if (n < 1 || n > ChannelTable::channelCount) return;
    if (!g_target.load()) return;
    CallbackScope inside;
    const RelayTarget* target = g_target.load();
    if (!target) return;
    // An exception must not unwind into the library's C frames; a report
    // that cannot be queued (no memory) is lost rather than the station.
    try {
        Relay(*target, n, status, text);
    } catch (...) {
    }
}

}  // namespace tandrel
