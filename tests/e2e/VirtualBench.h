#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Programs.h"

namespace tandrel::e2e {

// A bench of virtual phones, made and driven with tandrel-bench as an
// operator would. Every command that fails throws, with the tool's words.
class VirtualBench {
public:
    VirtualBench(std::string folder, int phones);

    const std::string& Root() const { return root_; }
    // The folder tree the station's "dir:" device source reads.
    std::string Registry() const { return root_ + "/registry"; }

    // The simulator reads TANDREL_BENCH at every operation, so a bench is
    // made current before the station's first call that reaches a phone.
    void MakeCurrent() const;

    void Plug(int phone) const;
    void Unplug(int phone) const;
    void SetFault(int phone, const std::string& setting) const;
    void ClearFaults(int phone) const;

    // What the phone last went through: "plugged", "booted", "reset done", ...
    std::string PhoneState(int phone) const;
    // Empty when the phone's flash holds exactly the images; otherwise the
    // tool's account of the difference.
    std::string FlashDifference(int phone, const std::vector<std::string>& images) const;

    // The operator's hands: plugs phones 1..phones, one every intervalMs,
    // and unplugs each once the bench records its end.
    std::unique_ptr<ChildProcess> StartRobot(int phones, int intervalMs) const;

private:
    void Run(const std::vector<std::string>& words) const;

    std::string root_;
};

}  // namespace tandrel::e2e
