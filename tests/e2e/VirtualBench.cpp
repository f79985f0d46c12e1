#include "VirtualBench.h"

#include <cstdlib>
#include <stdexcept>

#include "common/Bench.h"

namespace tandrel::e2e {

VirtualBench::VirtualBench(std::string folder, int phones) : root_(std::move(folder)) {
    Run({"create", root_, "--phones", std::to_string(phones)});
}

void VirtualBench::MakeCurrent() const { setenv(sim::kBenchVariable, root_.c_str(), 1); }

void VirtualBench::Plug(int phone) const { Run({"plug", root_, std::to_string(phone)}); }

void VirtualBench::Unplug(int phone) const { Run({"unplug", root_, std::to_string(phone)}); }

void VirtualBench::SetFault(int phone, const std::string& setting) const {
    Run({"fault", root_, std::to_string(phone), setting});
}

void VirtualBench::ClearFaults(int phone) const { Run({"fault", root_, std::to_string(phone), "--clear"}); }

std::string VirtualBench::PhoneState(int phone) const {
    std::string error;
    const std::optional<sim::Bench> bench = sim::Bench::Open(root_, error);
    if (!bench) throw std::runtime_error(error);
    return bench->ReadState(sim::Bench::InstanceName(phone));
}

std::string VirtualBench::FlashDifference(int phone, const std::vector<std::string>& images) const {
    std::vector<std::string> argv = {TANDREL_BENCH_TOOL, "verify", root_, std::to_string(phone)};
    argv.insert(argv.end(), images.begin(), images.end());
    const ProgramResult result = RunProgram(argv);
    return result.status == 0 ? std::string() : result.output;
}

std::unique_ptr<ChildProcess> VirtualBench::StartRobot(int phones, int intervalMs) const {
    return std::make_unique<ChildProcess>(
        std::vector<std::string>{TANDREL_BENCH_TOOL, "robot", root_, "--phones", std::to_string(phones), "--interval",
                                 std::to_string(intervalMs)},
        root_ + "/robot.log");
}

void VirtualBench::Run(const std::vector<std::string>& words) const {
    std::vector<std::string> argv = {TANDREL_BENCH_TOOL};
    argv.insert(argv.end(), words.begin(), words.end());
    const ProgramResult result = RunProgram(argv);
    if (result.status != 0) throw std::runtime_error("tandrel-bench " + words[0] + " failed: " + result.output);
}

}  // namespace tandrel::e2e
