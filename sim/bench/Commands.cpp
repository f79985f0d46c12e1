#include "Commands.h"

#include <csignal>
#include <cstdio>
#include <optional>

#include "Robot.h"
#include "Verify.h"
#include "common/AtomicFiles.h"
#include "common/Bench.h"
#include "common/CommandLine.h"
#include "common/Manifest.h"

namespace tandrel::sim {
namespace {

int Usage(const std::string& error) {
    std::fprintf(stderr, "tandrel-bench: %s (see tandrel-bench --help)\n", error.c_str());
    return kExitUsage;
}

int Failed(const std::string& error) {
    std::fprintf(stderr, "tandrel-bench: %s\n", error.c_str());
    return kExitFailed;
}

std::optional<Arguments> Split(const std::vector<std::string>& words, const std::vector<std::string>& valued,
                               const std::vector<std::string>& flags, int& status) {
    std::string error;
    std::optional<Arguments> args = SplitArguments(words, valued, flags, error);
    if (!args) status = Usage(error);
    return args;
}

// The bench named by DIR and the phone named by N, both checked; the exit
// status in status otherwise.
struct Target {
    std::optional<Bench> bench;
    int phone = 0;
};

Target Resolve(const std::string& dir, const std::string& phoneText, int& status) {
    Target target;
    std::optional<int> phone = ParseInt(phoneText, 1, kMaxPhones);
    if (!phone) {
        status = Usage("phone number must be 1.." + std::to_string(kMaxPhones) + ", not " + phoneText);
        return target;
    }
    std::string error;
    target.bench = Bench::Open(dir, error);
    if (!target.bench) {
        status = Failed(error);
    } else if (!target.bench->HasPhone(*phone)) {
        status = Failed("the bench at " + dir + " has no phone " + phoneText);
        target.bench.reset();
    }
    target.phone = *phone;
    return target;
}

std::string FaultSummary(const Bench& bench, const std::string& instance) {
    Faults faults;
    std::string error;
    if (!bench.ReadFaults(instance, faults, error)) return "unreadable";
    std::string text = FormatFaults(faults);
    for (char& c : text) c = c == '\n' ? ' ' : c;
    if (!text.empty()) text.pop_back();
    return text.empty() ? "none" : text;
}

std::size_t FlashItems(const Bench& bench, const std::string& instance) {
    std::vector<FlashEntry> entries;
    std::string error;
    ParseManifest(ReadSmallFile(bench.FlashDir(instance) + "/" + kManifestName).value_or(""), entries, error);
    return entries.size();
}

std::atomic<bool> g_stopRobot{false};

void OnStopSignal(int) { g_stopRobot.store(true); }

}  // namespace

int RunCreate(const std::vector<std::string>& words) {
    int status = kExitOk;
    std::optional<Arguments> args = Split(words, {"--phones"}, {}, status);
    if (!args) return status;
    if (args->words.size() != 1) return Usage("create takes one DIR");
    std::string phonesText = args->Option("--phones").value_or("8");
    std::optional<int> phones = ParseInt(phonesText, 1, kMaxPhones);
    if (!phones) return Usage("--phones must be 1.." + std::to_string(kMaxPhones) + ", not " + phonesText);
    std::string error;
    if (!Bench::Create(args->words[0], *phones, error)) return Failed(error);
    std::printf("created a bench of %d phones at %s\n", *phones, args->words[0].c_str());
    return kExitOk;
}

int RunPlug(const std::vector<std::string>& words) {
    if (words.size() != 2) return Usage("plug takes DIR and N");
    int status = kExitOk;
    Target target = Resolve(words[0], words[1], status);
    if (!target.bench) return status;
    std::string error;
    if (!target.bench->Plug(target.phone, error)) return Failed(error);
    return kExitOk;
}

int RunUnplug(const std::vector<std::string>& words) {
    if (words.size() != 2) return Usage("unplug takes DIR and N");
    int status = kExitOk;
    Target target = Resolve(words[0], words[1], status);
    if (!target.bench) return status;
    std::string error;
    if (!target.bench->Unplug(Bench::InstanceName(target.phone), error)) return Failed(error);
    return kExitOk;
}

int RunFault(const std::vector<std::string>& words) {
    int status = kExitOk;
    std::optional<Arguments> args = Split(words, {}, {"--clear"}, status);
    if (!args) return status;
    if (args->words.size() < 2 || (args->words.size() == 2 && !args->Flag("--clear"))) {
        return Usage("fault takes DIR, N and KEY=VALUE settings (or --clear)");
    }
    Target target = Resolve(args->words[0], args->words[1], status);
    if (!target.bench) return status;
    std::string instance = Bench::InstanceName(target.phone);
    Faults faults;
    std::string error;
    if (!args->Flag("--clear") && !target.bench->ReadFaults(instance, faults, error)) return Failed(error);
    for (std::size_t i = 2; i < args->words.size(); ++i) {
        if (!ApplyFault(faults, args->words[i], error)) return Usage(error);
    }
    if (!target.bench->WriteFaults(instance, faults, error)) return Failed(error);
    return kExitOk;
}

int RunStatus(const std::vector<std::string>& words) {
    if (words.size() != 1) return Usage("status takes one DIR");
    std::string error;
    std::optional<Bench> bench = Bench::Open(words[0], error);
    if (!bench) return Failed(error);
    std::printf("%-6s %-8s %-11s %-6s %s\n", "phone", "port", "state", "flash", "faults");
    for (int phone : bench->Phones()) {
        std::string instance = Bench::InstanceName(phone);
        std::string port = bench->IsPlugged(instance) ? Bench::DeviceValue(phone) : "-";
        std::printf("%-6d %-8s %-11s %-6zu %s\n", phone, port.c_str(), bench->ReadState(instance).c_str(),
                    FlashItems(*bench, instance), FaultSummary(*bench, instance).c_str());
    }
    return kExitOk;
}

int RunVerify(const std::vector<std::string>& words) {
    if (words.size() < 3) return Usage("verify takes DIR, N and at least one IMAGE");
    int status = kExitOk;
    Target target = Resolve(words[0], words[1], status);
    if (!target.bench) return status;
    std::string report;
    std::vector<std::string> images(words.begin() + 2, words.end());
    if (!VerifyFlash(*target.bench, target.phone, images, report)) {
        std::fprintf(stdout, "phone %d: flash differs from the images\n%s", target.phone, report.c_str());
        return kExitFailed;
    }
    std::printf("phone %d: flash matches the images\n", target.phone);
    return kExitOk;
}

int RunRobotCommand(const std::vector<std::string>& words) {
    int status = kExitOk;
    std::optional<Arguments> args = Split(words, {"--phones", "--interval", "--timeout"}, {"--until-done"}, status);
    if (!args) return status;
    if (args->words.size() != 1) return Usage("robot takes one DIR");
    std::string error;
    std::optional<Bench> bench = Bench::Open(args->words[0], error);
    if (!bench) return Failed(error);
    RobotPlan plan;
    std::optional<int> count = ParseInt(args->Option("--phones").value_or(std::to_string(bench->Phones().size())), 1,
                                        kMaxPhones);
    std::optional<int> interval = ParseInt(args->Option("--interval").value_or("1000"), 0, 3600000);
    std::optional<int> timeout = ParseInt(args->Option("--timeout").value_or("0"), 0, 86400);
    if (!count || !interval || !timeout) return Usage("--phones takes 1..32, --interval ms, --timeout seconds");
    for (int phone = 1; phone <= *count; ++phone) {
        if (!bench->HasPhone(phone)) return Failed("the bench has no phone " + std::to_string(phone));
        plan.phones.push_back(phone);
    }
    plan.interval = std::chrono::milliseconds(*interval);
    plan.timeout = std::chrono::seconds(*timeout);
    plan.untilDone = args->Flag("--until-done");
    std::signal(SIGINT, OnStopSignal);
    std::signal(SIGTERM, OnStopSignal);
    return RunRobot(*bench, plan, g_stopRobot, stdout);
}

}  // namespace tandrel::sim
