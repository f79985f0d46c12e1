#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "Operation.h"
#include "PhoneLink.h"
#include "RateLimiter.h"

namespace tandrel::sim {

using Job = std::function<void(Operation&)>;

// One channel of the library: its open port and the worker thread that runs
// its boot, downloads and reset one at a time while the entry points return.
class Channel {
public:
    explicit Channel(std::uint8_t number);
    ~Channel();
    Channel(const Channel&) = delete;
    Channel& operator=(const Channel&) = delete;

    std::uint8_t Number() const { return number; }

    std::optional<PhoneLink> Link() const;
    void SetLink(std::optional<PhoneLink> link);
    // Items count from 1 after each boot; faults name items by that count.
    void RestartItemCount();
    unsigned NextItemNumber();

    // False when an operation is already under way.
    bool Start(Job job, IFWD_DL_Callback callback);
    bool Busy() const;
    // Cancels the running operation, if any; it reports nothing more.
    void Abort();
    bool WaitIdle(std::chrono::milliseconds limit);

    RateLimiter& PhoneLimiter() { return phoneLimiter; }

private:
    void Run();

    const std::uint8_t number;
    mutable std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable idle;
    std::optional<PhoneLink> link;
    unsigned itemCount = 0;
    Job pending;
    std::shared_ptr<Operation> current;
    bool busy = false;
    bool stopping = false;
    RateLimiter phoneLimiter;
    std::thread worker;
};

}  // namespace tandrel::sim
