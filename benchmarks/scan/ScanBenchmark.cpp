// One scan pass with eight phones plugged, on a directory tree and on a fake
// sysfs tree: time per pass, the CPU share of a pass every 50 ms, and heap
// allocations per pass.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>
#include <vector>

#include "platform/DirectoryRegistry.h"
#include "platform/PhoneRegistryKeys.h"
#include "platform/posix/SysfsRegistry.h"
#include "usb/DeviceScan.h"
#include "usb/Timers.h"

namespace {

std::atomic<long> allocations{0};

}  // namespace

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace tandrel {
namespace {

namespace fs = std::filesystem;

constexpr int kPhones = 8;
constexpr int kPasses = 3000;

void WriteFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

fs::path MakeDirectoryBench(const fs::path& root) {
    const fs::path enumeration = root / kPhoneEnumerationFolder;
    for (int n = 1; n <= kPhones; ++n) {
        WriteFile(enumeration / ("5&2c0a1f3&0&" + std::to_string(n)) / kDeviceParametersKey / kCreateFileNameValue,
                  "USB" + std::to_string(n) + "\n");
    }
    return root;
}

// The kernel's layout: devices under devices/…, links in bus/usb/devices;
// besides the phones, root hubs, the station's hub, interfaces and a keyboard.
void AddSysfsDevice(const fs::path& root, const std::string& name, const std::string& vendor,
                    const std::string& product) {
    const fs::path home = root / "devices/pci0000:00" / name;
    WriteFile(home / "idVendor", vendor + "\n");
    WriteFile(home / "idProduct", product + "\n");
    fs::create_directory_symlink(home, root / "bus/usb/devices" / name);
    if (name.find('-') != std::string::npos) {
        fs::create_directories(root / "devices/pci0000:00" / (name + ":1.0"));
        fs::create_directory_symlink(root / "devices/pci0000:00" / (name + ":1.0"),
                                     root / "bus/usb/devices" / (name + ":1.0"));
    }
}

fs::path MakeSysfsBench(const fs::path& root) {
    fs::create_directories(root / "bus/usb/devices");
    AddSysfsDevice(root, "usb1", "1d6b", "0002");
    AddSysfsDevice(root, "usb2", "1d6b", "0003");
    AddSysfsDevice(root, "1-1", "05e3", "0610");
    AddSysfsDevice(root, "2-1", "046d", "c31c");
    for (int n = 1; n <= kPhones; ++n) AddSysfsDevice(root, "1-1." + std::to_string(n), "058b", "0041");
    return root;
}

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

struct PassFigures {
    double medianUs = 0;
    double p99Us = 0;
    double cpuSecondsPerPass = 0;
    double allocationsPerPass = 0;
};

// Runs kPasses passes; fresh ones start from an empty table, so that every
// phone is read and recorded, as after Reset or while phones wait for unplug.
PassFigures Measure(const DeviceRegistry& registry, bool fresh) {
    DevicePathTable table;
    FoundList warmup;
    ScanUsbDevices(registry, table, warmup);
    if (warmup.count != kPhones) {
        std::fprintf(stderr, "bench-scan: expected %d phones, found %d\n", kPhones, warmup.count);
        std::exit(1);
    }

    std::vector<double> micros(kPasses);
    const long allocationsBefore = allocations.load();
    const double cpuBefore = CpuSeconds();
    for (double& us : micros) {
        if (fresh) table.ClearDevicePaths();
        FoundList found;
        const auto start = std::chrono::steady_clock::now();
        ScanUsbDevices(registry, table, found);
        us = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
    }
    PassFigures figures;
    figures.cpuSecondsPerPass = (CpuSeconds() - cpuBefore) / kPasses;
    figures.allocationsPerPass = static_cast<double>(allocations.load() - allocationsBefore) / kPasses;
    std::sort(micros.begin(), micros.end());
    figures.medianUs = micros[micros.size() / 2];
    figures.p99Us = micros[micros.size() * 99 / 100];
    return figures;
}

void Report(const char* source, const char* kind, const PassFigures& f) {
    std::printf("%s-%s-pass-median: %.1f us\n", source, kind, f.medianUs);
    std::printf("%s-%s-pass-p99: %.1f us\n", source, kind, f.p99Us);
    std::printf("%s-%s-cpu-share-at-%dms: %.3f %%\n", source, kind, kScanPeriodMs,
                100.0 * f.cpuSecondsPerPass / (kScanPeriodMs / 1000.0));
    std::printf("%s-%s-allocations-per-pass: %.1f count\n", source, kind, f.allocationsPerPass);
}

int Run() {
    std::string pattern = (fs::temp_directory_path() / "bench-scan-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("bench-scan: mkdtemp");
        return 1;
    }
    const fs::path root = pattern;
    const DirectoryRegistry directory(MakeDirectoryBench(root / "tree").string());
    const SysfsRegistry sysfs(MakeSysfsBench(root / "sys").string());

    Report("dir", "fresh", Measure(directory, true));
    Report("dir", "quiet", Measure(directory, false));
    Report("sysfs", "fresh", Measure(sysfs, true));
    Report("sysfs", "quiet", Measure(sysfs, false));
    fs::remove_all(root);
    return 0;
}

}  // namespace
}  // namespace tandrel

int main() { return tandrel::Run(); }
