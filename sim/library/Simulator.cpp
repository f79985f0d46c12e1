#include "Simulator.h"

#include <stdexcept>

#include "Jobs.h"
#include "PortName.h"
#include "Rates.h"
#include "common/FileSpecParser.h"

namespace tandrel::sim {
namespace {

// How long a close waits for a cancelled step to wind down; the worker looks
// for cancellation every few milliseconds, so this is only reached when the
// disk itself stalls.
constexpr auto kWindDown = std::chrono::seconds(5);

const char* const kFaultNote = " (fault set on the bench)";

std::optional<ImageToc> ReadToc(const File& file, std::string& why) {
    if (!file.IsOpen()) return std::nullopt;
    FileSource source(file);
    std::optional<ImageToc> toc = ParseImage(source, why);
    if (!toc) why = file.Path() + ": " + why;
    return toc;
}

}  // namespace

Simulator& Simulator::Instance() {
    static Simulator simulator;
    return simulator;
}

Simulator::Simulator() : bus(kDefaultBusRate) {
    for (int channel = 1; channel <= kChannels; ++channel) {
        channels[channel] = std::make_unique<Channel>(static_cast<std::uint8_t>(channel));
    }
}

Simulator::~Simulator() = default;

Channel* Simulator::Find(int channel, std::string& why) {
    if (channel < 1 || channel > kChannels) {
        why = "channel " + std::to_string(channel) + " does not exist (1.." + std::to_string(kChannels) + ")";
        return nullptr;
    }
    return channels[channel].get();
}

std::optional<PhoneLink> Simulator::ReadyLink(Channel& channel, std::string& why) {
    std::optional<PhoneLink> link = channel.Link();
    if (!link) {
        why = "channel " + std::to_string(channel.Number()) + " has no open port";
    } else if (channel.Busy()) {
        why = "channel " + std::to_string(channel.Number()) + " is busy with another step";
        link.reset();
    }
    return link;
}

int Simulator::Open(int number, const char* port, std::string& why) {
    Channel* channel = Find(number, why);
    if (channel == nullptr) return 1;
    if (channel->Busy()) {
        why = "channel " + std::to_string(number) + " is busy with another step";
        return 1;
    }
    std::optional<std::string> device = DeviceOfPort(port);
    std::string name = port == nullptr ? "(no port)" : port;
    if (!device) {
        why = name + " is not a port name (\\\\.\\USBn or \\\\.\\COMn)";
        return 1;
    }
    std::optional<Bench> bench = Bench::FromEnvironment(why);
    if (!bench) return 1;
    std::optional<std::string> instance = bench->FindInstance(*device);
    if (!instance) {
        why = name + ": no phone is plugged in as " + *device;
        return 1;
    }
    Faults faults;
    if (!bench->ReadFaults(*instance, faults, why)) return 1;
    if (faults.open == PortFault::Throw) throw std::runtime_error(name + ": the port driver crashed" + kFaultNote);
    if (faults.open == PortFault::Refuse) {
        why = name + ": the phone refused the connection" + kFaultNote;
        return 1;
    }
    channel->SetLink(PhoneLink(*bench, *instance, *device));
    return 0;
}

int Simulator::Close(int number, std::string& why) {
    Channel* channel = Find(number, why);
    if (channel == nullptr) return 1;
    std::optional<PhoneLink> link = channel->Link();
    if (!link) return 0;
    Faults faults;
    std::string faultsError;
    if (!link->TheBench().ReadFaults(link->Instance(), faults, faultsError)) why = faultsError;
    if (faults.close == PortFault::Throw) throw std::runtime_error(link->Device() + ": the port driver crashed" + kFaultNote);
    if (faults.close == PortFault::Refuse) {
        why = link->Device() + ": the port would not close" + kFaultNote;
        return 1;
    }
    channel->Abort();
    if (!channel->WaitIdle(kWindDown)) {
        why = "channel " + std::to_string(number) + ": the running step did not stop; port left open";
        return 1;
    }
    if (link->TheBench().ReadState(link->Instance()) == phone_state::kBooted) link->SetState(phone_state::kClosed);
    channel->SetLink(std::nullopt);
    return 0;
}

int Simulator::Boot(int number, const char* file, std::string& why) {
    Channel* channel = Find(number, why);
    if (channel == nullptr) return 1;
    std::optional<PhoneLink> link = ReadyLink(*channel, why);
    if (!link) return 1;
    if (file == nullptr || file[0] == '\0') {
        why = "no boot file given";
        return 1;
    }
    if (!ReadToc(File::OpenRead(file, why), why)) {
        why = "the boot file is not a readable image: " + why;
        return 1;
    }
    Faults faults;
    if (!link->TheBench().ReadFaults(link->Instance(), faults, why)) return 1;
    if (faults.boot == StepFault::Refuse) {
        why = "the phone on " + link->Device() + " refused the boot" + kFaultNote;
        // Done with, as a phone whose boot failed is: the station asks for it
        // to be unplugged, and the robot's hands do so.
        link->SetState(phone_state::kFailed);
        return 1;
    }
    channel->RestartItemCount();
    if (!channel->Start(MakeBootJob(*link, faults.boot), callback.load())) {
        why = "channel " + std::to_string(number) + " is busy with another step";
        return 1;
    }
    return 0;
}

int Simulator::Download(int number, const char* fileSpec, std::string& why) {
    Channel* channel = Find(number, why);
    if (channel == nullptr) return 1;
    std::optional<PhoneLink> link = ReadyLink(*channel, why);
    if (!link) return 1;
    std::optional<FileSpec> spec = ParseFileSpec(fileSpec);
    if (!spec) {
        why = std::string("not an item file spec (|index|path): ") + (fileSpec ? fileSpec : "(none)");
        return 1;
    }
    auto image = std::make_shared<File>(File::OpenRead(spec->path, why));
    std::optional<ImageToc> toc = ReadToc(*image, why);
    if (!toc) return 1;
    if (spec->index >= toc->items.size()) {
        why = spec->path + " has no item " + std::to_string(spec->index);
        return 1;
    }
    Faults faults;
    if (!link->TheBench().ReadFaults(link->Instance(), faults, why)) return 1;
    std::optional<std::uint64_t> phoneRate = faults.rate ? faults.rate : RateFromEnvironment(kPhoneRateVariable, kDefaultPhoneRate, why);
    std::optional<std::uint64_t> busRate = RateFromEnvironment(kBusRateVariable, kDefaultBusRate, why);
    if (!phoneRate || !busRate) return 1;
    ItemPlan plan{image, toc->items[spec->index], channel->NextItemNumber()};
    plan.fault = faults.ItemFault(plan.number);
    plan.unplugDuringItem = faults.unplugItem == plan.number;
    plan.unplugPercent = faults.unplugPercent;
    plan.phoneRate = *phoneRate;
    plan.trustImage = TrustsImagesFromEnvironment();
    if (plan.fault == StepFault::Refuse) {
        why = "the phone on " + link->Device() + " refused item " + std::to_string(plan.number) + " (" +
              plan.item.name + ")" + kFaultNote;
        return 1;
    }
    bus.SetRate(*busRate);
    if (!channel->Start(MakeDownloadJob(*link, std::move(plan), {channel->PhoneLimiter(), bus}), callback.load())) {
        why = "channel " + std::to_string(number) + " is busy with another step";
        return 1;
    }
    return 0;
}

int Simulator::Reset(int number, std::string& why) {
    Channel* channel = Find(number, why);
    if (channel == nullptr) return 1;
    std::optional<PhoneLink> link = ReadyLink(*channel, why);
    Faults faults;
    if (link && !link->TheBench().ReadFaults(link->Instance(), faults, why)) link.reset();
    Job job = link ? MakeResetJob(*link, faults.resetFails) : MakeRefusalJob("reset refused: " + why);
    if (!channel->Start(std::move(job), callback.load())) {
        why = "channel " + std::to_string(number) + " is busy with another step";
        return 1;
    }
    return link ? 0 : 1;
}

int Simulator::Abort(int number, std::string& why) {
    Channel* channel = Find(number, why);
    if (channel == nullptr) return 1;
    channel->Abort();
    return 0;
}

}  // namespace tandrel::sim
