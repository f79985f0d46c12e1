#include "RunBench.h"

#include <chrono>
#include <memory>

#include "platform/PhoneRegistryKeys.h"

namespace tandrel::test {

namespace {
std::string InstanceKey(const std::string& instance) {
    return std::string(kPhoneEnumerationKey) + "\\" + instance;
}
}  // namespace

namespace {
StationSetup WithFiles(const ImageFiles& files) {
    StationSetup setup;
    setup.files = &files;
    return setup;
}
}  // namespace

RunBench::RunBench() : Station<>(WithFiles(memoryFiles)) {
    dialog.OnInitDialog();
    dialog.libraryTable = FakeLibrary::Table();
    registry.AddKey(kPhoneEnumerationKey);
}

void RunBench::Plug(const std::string& instance, const std::string& value) {
    registry.SetString(InstanceKey(instance) + "\\" + std::string(kDeviceParametersKey), kCreateFileNameValue, value);
}

void RunBench::Unplug(const std::string& instance) { registry.RemoveKey(InstanceKey(instance)); }

void RunBench::ChooseImages(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        fake.files[path] = FakeFile{{{"", MemoryClass::Code}}};
        if (!memoryFiles.Exists(path)) memoryFiles.Write(path, "image " + path);
    }
    controls.QueueOpenFiles(paths);
    controls.Click(IDC_OPEN_FILE);
}

void RunBench::AwaitImages() {
    while (dialog.images.Current() && dialog.images.Current()->state == SnapshotState::Taking) {
        if (!loop.WaitForPost(std::chrono::seconds(10))) return;
        loop.DeliverPosted();
    }
}

std::string RunBench::CopyOf(const std::string& path) const {
    const std::shared_ptr<const ImageSnapshot> snapshot = dialog.images.Current();
    const SnapshotImage* image = snapshot ? snapshot->Find(path) : nullptr;
    return image && image->copy ? image->copy->Path() : std::string();
}

void RunBench::RunToUnplug(int channel) {
    Report(channel);  // boot done: the first item starts
    while (IsBusy(State(channel)) || State(channel) == ChannelState::LoadEep || State(channel) == ChannelState::LoadDsp) {
        Report(channel);
    }
    while (State(channel) == ChannelState::WaitPeers) loop.RunFor(kScanPeriodMs);  // the pass asks for the reset
    Report(channel);  // reset done
}

int RunBench::Calls(const std::string& entry, int channel) const {
    int n = 0;
    for (const auto& c : fake.calls) n += c.entry == entry && c.channel == channel;
    return n;
}

std::size_t RunBench::JournalPosition(const std::string& fragment) { return JournalText().find(fragment); }

int RunBench::JournalCount(const std::string& fragment) {
    const std::string all = JournalText();
    int n = 0;
    for (std::size_t at = all.find(fragment); at != std::string::npos; at = all.find(fragment, at + 1)) ++n;
    return n;
}

}  // namespace tandrel::test
