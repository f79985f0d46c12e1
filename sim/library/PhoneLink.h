#pragma once

#include <string>

#include "common/Bench.h"

namespace tandrel::sim {

// An open port's hold on one bench phone: the plug it was opened on. A phone
// pulled out, or pulled and put back, is no longer the phone of this port.
class PhoneLink {
public:
    PhoneLink(Bench bench, std::string instance, std::string device)
        : bench(std::move(bench)), instance(std::move(instance)), device(std::move(device)),
          plugCount(this->bench.PlugCount(this->instance)) {}

    bool Present() const { return bench.IsPlugged(instance) && bench.PlugCount(instance) == plugCount; }
    const Bench& TheBench() const { return bench; }
    const std::string& Instance() const { return instance; }
    // "USB3": how messages name the phone.
    const std::string& Device() const { return device; }
    std::string FlashDir() const { return bench.FlashDir(instance); }
    void SetState(const char* state) const {
        std::string ignored;
        bench.WriteState(instance, state, ignored);
    }

private:
    Bench bench;
    std::string instance;
    std::string device;
    unsigned plugCount;
};

}  // namespace tandrel::sim
