#include "Faults.h"

#include <charconv>
#include <sstream>

namespace tandrel::sim {
namespace {

std::optional<unsigned> ParseUnsigned(const std::string& text, unsigned max) {
    unsigned value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty() || value > max) return std::nullopt;
    return value;
}

bool ParsePortFault(const std::string& value, PortFault& fault) {
    if (value == "ok") fault = PortFault::None;
    else if (value == "refuse") fault = PortFault::Refuse;
    else if (value == "throw") fault = PortFault::Throw;
    else return false;
    return true;
}

bool ParseStepFault(const std::string& value, StepFault& fault) {
    if (value == "ok") fault = StepFault::None;
    else if (value == "refuse") fault = StepFault::Refuse;
    else if (value == "fail") fault = StepFault::Fail;
    else return false;
    return true;
}

bool ParseResetFault(const std::string& value, bool& fails) {
    if (value != "ok" && value != "fail") return false;
    fails = value == "fail";
    return true;
}

const char* PortFaultName(PortFault fault) { return fault == PortFault::Refuse ? "refuse" : "throw"; }
const char* StepFaultName(StepFault fault) { return fault == StepFault::Refuse ? "refuse" : "fail"; }

bool ApplyItemFault(Faults& faults, const std::string& key, const std::string& value) {
    std::optional<unsigned> item = ParseUnsigned(key.substr(4), 1000000);
    StepFault fault;
    if (!item || *item == 0 || !ParseStepFault(value, fault)) return false;
    if (fault == StepFault::None) faults.items.erase(*item);
    else faults.items[*item] = fault;
    return true;
}

bool ApplyRate(Faults& faults, const std::string& value) {
    if (value == "default") {
        faults.rate.reset();
        return true;
    }
    faults.rate = ParseRate(value);
    return faults.rate.has_value();
}

// "ITEM@PERCENT", or "off".
bool ApplyUnplug(Faults& faults, const std::string& value) {
    if (value == "off") {
        faults.unplugItem = faults.unplugPercent = 0;
        return true;
    }
    std::size_t at = value.find('@');
    if (at == std::string::npos) return false;
    std::string percent = value.substr(at + 1);
    if (!percent.empty() && percent.back() == '%') percent.pop_back();
    std::optional<unsigned> item = ParseUnsigned(value.substr(0, at), 1000000);
    std::optional<unsigned> p = ParseUnsigned(percent, 100);
    if (!item || *item == 0 || !p) return false;
    faults.unplugItem = *item;
    faults.unplugPercent = *p;
    return true;
}

}  // namespace

std::optional<std::uint64_t> ParseRate(const std::string& text) {
    std::uint64_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end == text.data()) return std::nullopt;
    std::string unit(end, text.data() + text.size());
    std::uint64_t scale = unit.empty() ? 1 : unit == "K" ? 1000 : unit == "M" ? 1000000 : unit == "G" ? 1000000000 : 0;
    if (scale == 0 || value > UINT64_MAX / scale) return std::nullopt;
    return value * scale;
}

std::string FormatRate(std::uint64_t bytesPerSecond) {
    if (bytesPerSecond != 0 && bytesPerSecond % 1000000 == 0) return std::to_string(bytesPerSecond / 1000000) + "M";
    if (bytesPerSecond != 0 && bytesPerSecond % 1000 == 0) return std::to_string(bytesPerSecond / 1000) + "K";
    return std::to_string(bytesPerSecond);
}

bool ApplyFault(Faults& faults, const std::string& setting, std::string& error) {
    std::size_t eq = setting.find('=');
    std::string key = setting.substr(0, eq);
    std::string value = eq == std::string::npos ? "" : setting.substr(eq + 1);
    bool ok = false;
    if (key == "open") ok = ParsePortFault(value, faults.open);
    else if (key == "close") ok = ParsePortFault(value, faults.close);
    else if (key == "boot") ok = ParseStepFault(value, faults.boot);
    else if (key.rfind("item", 0) == 0) ok = ApplyItemFault(faults, key, value);
    else if (key == "reset") ok = ParseResetFault(value, faults.resetFails);
    else if (key == "rate") ok = ApplyRate(faults, value);
    else if (key == "unplug") ok = ApplyUnplug(faults, value);
    if (!ok) {
        error = "bad fault setting \"" + setting +
                "\"; use open=|close=ok|refuse|throw, boot=|itemK=ok|refuse|fail, reset=ok|fail, "
                "rate=N[K|M|G]|default, unplug=ITEM@PERCENT|off";
    }
    return ok;
}

std::string FormatFaults(const Faults& faults) {
    std::ostringstream out;
    if (faults.open != PortFault::None) out << "open=" << PortFaultName(faults.open) << '\n';
    if (faults.close != PortFault::None) out << "close=" << PortFaultName(faults.close) << '\n';
    if (faults.boot != StepFault::None) out << "boot=" << StepFaultName(faults.boot) << '\n';
    for (const auto& [item, fault] : faults.items) out << "item" << item << '=' << StepFaultName(fault) << '\n';
    if (faults.resetFails) out << "reset=fail\n";
    if (faults.rate) out << "rate=" << FormatRate(*faults.rate) << '\n';
    if (faults.unplugItem != 0) out << "unplug=" << faults.unplugItem << '@' << faults.unplugPercent << '\n';
    return out.str();
}

bool ParseFaults(const std::string& text, Faults& faults, std::string& error) {
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        if (!ApplyFault(faults, line, error)) return false;
    }
    return true;
}

}  // namespace tandrel::sim
