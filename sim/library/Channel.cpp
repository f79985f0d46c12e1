#include "Channel.h"

#include "library/ProcessEnd.h"

namespace tandrel::sim {

Channel::Channel(std::uint8_t number) : number(number), worker([this] { Run(); }) {}

Channel::~Channel() {
    if (ProcessIsEnding()) {
        worker.detach();
        return;
    }
    {
        std::lock_guard lock(mutex);
        stopping = true;
        if (current) current->Cancel();
    }
    wake.notify_all();
    worker.join();
}

std::optional<PhoneLink> Channel::Link() const {
    std::lock_guard lock(mutex);
    return link;
}

void Channel::SetLink(std::optional<PhoneLink> newLink) {
    std::lock_guard lock(mutex);
    link = std::move(newLink);
}

void Channel::RestartItemCount() {
    std::lock_guard lock(mutex);
    itemCount = 0;
}

unsigned Channel::NextItemNumber() {
    std::lock_guard lock(mutex);
    return ++itemCount;
}

bool Channel::Start(Job job, IFWD_DL_Callback callback) {
    {
        std::lock_guard lock(mutex);
        if (busy || stopping) return false;
        busy = true;
        pending = std::move(job);
        current = std::make_shared<Operation>(number, callback);
    }
    wake.notify_all();
    return true;
}

bool Channel::Busy() const {
    std::lock_guard lock(mutex);
    return busy;
}

void Channel::Abort() {
    std::lock_guard lock(mutex);
    if (current) current->Cancel();
}

bool Channel::WaitIdle(std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex);
    return idle.wait_for(lock, limit, [this] { return !busy; });
}

void Channel::Run() {
    std::unique_lock lock(mutex);
    for (;;) {
        wake.wait(lock, [this] { return stopping || pending; });
        if (stopping) return;
        Job job = std::move(pending);
        pending = nullptr;
        std::shared_ptr<Operation> operation = current;
        lock.unlock();
        job(*operation);
        // Free for the next step before the outcome goes out, yet still the
        // current operation until then, so an abort meanwhile silences it.
        lock.lock();
        busy = false;
        idle.notify_all();
        lock.unlock();
        operation->DeliverOutcome();
        lock.lock();
        if (current == operation) current.reset();
    }
}

}  // namespace tandrel::sim
