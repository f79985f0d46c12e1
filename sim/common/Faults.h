#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace tandrel::sim {

enum class PortFault { None, Refuse, Throw };
enum class StepFault { None, Refuse, Fail };

// What a bench phone does wrong, set with `tandrel-bench fault` and read by
// the library at every call. Items count from 1, in download order since the
// last boot.
struct Faults {
    PortFault open = PortFault::None;
    PortFault close = PortFault::None;
    StepFault boot = StepFault::None;
    std::map<unsigned, StepFault> items;
    bool resetFails = false;
    std::optional<std::uint64_t> rate;  // bytes per second; 0 = unthrottled
    unsigned unplugItem = 0;            // 0 = never
    unsigned unplugPercent = 0;

    StepFault ItemFault(unsigned item) const {
        auto found = items.find(item);
        return found == items.end() ? StepFault::None : found->second;
    }
};

// One KEY=VALUE setting; false with a reason naming what is accepted.
bool ApplyFault(Faults& faults, const std::string& setting, std::string& error);
// The faults file: one KEY=VALUE a line; settings at their defaults are left out.
std::string FormatFaults(const Faults& faults);
bool ParseFaults(const std::string& text, Faults& faults, std::string& error);

// "8M", "500K", "1200000", "0": bytes per second, decimal multiples.
std::optional<std::uint64_t> ParseRate(const std::string& text);
std::string FormatRate(std::uint64_t bytesPerSecond);

}  // namespace tandrel::sim
