#include "LibraryHarness.h"

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>

#include "common/AtomicFiles.h"
#include "common/Manifest.h"

namespace tandrel::sim::test {
namespace {

template <typename T>
void Resolve(void* module, const char* name, T& slot) {
    slot = reinterpret_cast<T>(::dlsym(module, name));
    if (slot == nullptr) throw std::runtime_error(std::string("library lacks ") + name);
}

Entry Load() {
    void* module = ::dlopen(TANDREL_SIM_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) throw std::runtime_error(::dlerror());
    Entry entry{};
    Resolve(module, "_IFWD_DL_init_callback", entry.init_callback);
    Resolve(module, "_IFWD_DL_open_comm_port", entry.open_comm_port);
    Resolve(module, "_IFWD_DL_close_comm_port", entry.close_comm_port);
    Resolve(module, "_IFWD_DL_boot_target", entry.boot_target);
    Resolve(module, "_IFWD_DL_download_fls_file", entry.download_fls_file);
    Resolve(module, "_IFWD_DL_download_eep_file", entry.download_eep_file);
    Resolve(module, "_IFWD_DL_download_dffs_file", entry.download_dffs_file);
    Resolve(module, "_IFWD_DL_download_cust_file", entry.download_cust_file);
    Resolve(module, "_IFWD_DL_force_target_reset", entry.force_target_reset);
    Resolve(module, "_IFWD_DL_abort_process", entry.abort_process);
    Resolve(module, "_IFWD_DL_TOC_get_nof_items", entry.TOC_get_nof_items);
    Resolve(module, "_IFWD_DL_TOC_get_filename", entry.TOC_get_filename);
    Resolve(module, "_IFWD_DL_TOC_get_memory_class", entry.TOC_get_memory_class);
    return entry;
}

bool IsOutcome(const Event& event) { return event.status == IFWD_DL_STATUS_OK || event.status == IFWD_DL_STATUS_FAILED; }

}  // namespace

const Entry& Library() {
    static const Entry entry = Load();
    return entry;
}

Reports& Reports::Instance() {
    static Reports reports;
    return reports;
}

void Reports::Callback(int channel, int status, const char* text) {
    Reports& self = Instance();
    {
        std::lock_guard lock(self.mutex);
        self.events.push_back({channel, status, text == nullptr ? "" : text});
    }
    self.changed.notify_all();
}

std::optional<Event> Reports::NextOutcome(int channel, std::chrono::seconds limit) {
    std::unique_lock lock(mutex);
    std::optional<Event> found;
    changed.wait_for(lock, limit, [&] {
        for (std::size_t seen = 0, i = 0; i < events.size(); ++i) {
            if (events[i].channel != channel || !IsOutcome(events[i])) continue;
            if (seen++ == taken[static_cast<std::size_t>(channel)]) {
                found = events[i];
                ++taken[static_cast<std::size_t>(channel)];
                return true;
            }
        }
        return false;
    });
    return found;
}

bool Reports::WaitProgress(int channel, int percent, std::chrono::seconds limit) {
    std::unique_lock lock(mutex);
    return changed.wait_for(lock, limit, [&] {
        for (const Event& event : events) {
            if (event.channel == channel && event.status == IFWD_DL_STATUS_PROGRESS && std::atoi(event.text.c_str()) >= percent) {
                return true;
            }
        }
        return false;
    });
}

std::vector<Event> Reports::Of(int channel) {
    std::lock_guard lock(mutex);
    std::vector<Event> mine;
    for (const Event& event : events) {
        if (event.channel == channel) mine.push_back(event);
    }
    return mine;
}

void Reports::Clear() {
    std::lock_guard lock(mutex);
    events.clear();
    taken.assign(taken.size(), 0);
}

void LibraryTest::SetUp() {
    ::unsetenv("TANDREL_SIM_PHONE_RATE");
    ::unsetenv("TANDREL_SIM_BUS_RATE");
    Library().init_callback(&Reports::Callback, msg);
}

void LibraryTest::TearDown() {
    for (int channel = 1; channel <= 8; ++channel) {
        if (bench && bench->HasPhone(channel)) {
            std::string ignored;
            bench->WriteFaults(Bench::InstanceName(channel), Faults{}, ignored);
        }
        Library().abort_process(static_cast<std::uint8_t>(channel), msg);
        EXPECT_EQ(Library().close_comm_port(static_cast<std::uint8_t>(channel), msg), 0) << msg;
    }
    Reports::Instance().Clear();
}

void LibraryTest::MakeBench(int phones, bool plugAll) {
    std::string error;
    ASSERT_TRUE(Bench::Create(dir / "bench", phones, error)) << error;
    bench = Bench::Open(dir / "bench", error);
    ::setenv(kBenchVariable, (dir / "bench").c_str(), 1);
    for (int phone = 1; plugAll && phone <= phones; ++phone) ASSERT_TRUE(bench->Plug(phone, error)) << error;
}

int LibraryTest::Open(int channel, int device) {
    std::string port = "\\\\.\\USB" + std::to_string(device);
    msg[0] = '\0';
    return Library().open_comm_port(static_cast<std::uint8_t>(channel), port.c_str(), port.c_str(), 460800, msg);
}

int LibraryTest::Boot(int channel, const std::string& file) {
    msg[0] = '\0';
    return Library().boot_target(static_cast<std::uint8_t>(channel), file.c_str(), bootBlock, msg);
}

int LibraryTest::Download(int channel, const std::string& fileSpec) {
    msg[0] = '\0';
    return Library().download_fls_file(static_cast<std::uint8_t>(channel), fileSpec.c_str(), msg);
}

void LibraryTest::SetFault(int phone, const std::string& setting) {
    std::string instance = Bench::InstanceName(phone);
    Faults faults;
    std::string error;
    ASSERT_TRUE(bench->ReadFaults(instance, faults, error)) << error;
    ASSERT_TRUE(ApplyFault(faults, setting, error)) << error;
    ASSERT_TRUE(bench->WriteFaults(instance, faults, error)) << error;
}

std::string LibraryTest::PlainImage(const std::string& name, int memoryClass, std::size_t size) {
    std::string path = dir / (name + ".img");
    WritePlainImage(path, memoryClass, name, Payload(size, static_cast<unsigned>(size + memoryClass)));
    return path;
}

std::string LibraryTest::Flashed(int phone) const {
    return ReadSmallFile(bench->FlashDir(Bench::InstanceName(phone)) + "/" + kManifestName).value_or("");
}

bool LibraryTest::OpenAndBoot(int channel, const std::string& file) {
    if (Open(channel) != 0 || Boot(channel, file) != 0) return false;
    std::optional<Event> outcome = Reports::Instance().NextOutcome(channel);
    return outcome && outcome->status == IFWD_DL_STATUS_OK;
}

}  // namespace tandrel::sim::test
