#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Faults.h"
#include "platform/PhoneRegistryKeys.h"

namespace tandrel::sim {

// Where the station's "dir:" device source finds the phones, relative to the
// bench folder.
inline constexpr const char* kRegistryDir = "registry";
inline const std::string kEnumerationKey = std::string(kRegistryDir) + "/" + std::string(kPhoneEnumerationFolder);
inline constexpr const char* kBenchVariable = "TANDREL_BENCH";
inline constexpr int kMaxPhones = 32;

// What a phone last went through; the robot unplugs a phone once it reads a
// final state.
namespace phone_state {
inline constexpr const char* kNew = "new";
inline constexpr const char* kPlugged = "plugged";
inline constexpr const char* kBooted = "booted";
inline constexpr const char* kResetDone = "reset done";
inline constexpr const char* kFailed = "failed";
inline constexpr const char* kAborted = "aborted";
// The port was closed on a booted phone before its reset: the station gave up
// on it for a reason of its own and will ask for it to be unplugged.
inline constexpr const char* kClosed = "closed";
}  // namespace phone_state

bool IsFinalState(const std::string& state);

// A folder of virtual phones: registry/ is the device tree the station scans
// (one instance key per plugged phone), phones/<instance>/ holds each phone's
// flash, state and faults, tmp/ is where writes are staged before they are
// renamed into place.
class Bench {
public:
    static std::optional<Bench> Open(const std::string& root, std::string& error);
    // The bench named by TANDREL_BENCH; error says why there is none.
    static std::optional<Bench> FromEnvironment(std::string& error);
    static bool Create(const std::string& root, int phones, std::string& error);

    static std::string InstanceName(int phone) { return "phone-" + std::to_string(phone); }
    static std::string DeviceValue(int phone) { return "USB" + std::to_string(phone); }

    const std::string& Root() const { return root; }
    std::vector<int> Phones() const;
    bool HasPhone(int phone) const;
    std::string InstanceKey(const std::string& instance) const;
    std::string PhoneDir(const std::string& instance) const { return root + "/phones/" + instance; }
    std::string FlashDir(const std::string& instance) const { return PhoneDir(instance) + "/flash"; }
    std::string TrashDir() const { return root + "/tmp"; }

    bool IsPlugged(const std::string& instance) const;
    bool Plug(int phone, std::string& error) const;
    bool Unplug(const std::string& instance, std::string& error) const;
    // The plugged instance whose CreateFileName reads value, or nothing.
    std::optional<std::string> FindInstance(const std::string& value) const;
    // Changes at every plug, so an open port notices a phone pulled and put back.
    unsigned PlugCount(const std::string& instance) const;

    std::string ReadState(const std::string& instance) const;
    bool WriteState(const std::string& instance, const std::string& state, std::string& error) const;
    bool ReadFaults(const std::string& instance, Faults& faults, std::string& error) const;
    bool WriteFaults(const std::string& instance, const Faults& faults, std::string& error) const;

private:
    explicit Bench(std::string root) : root(std::move(root)) {}

    std::string root;
};

}  // namespace tandrel::sim
