// Flashes one 32 MiB image into eight phones at the default link and bus
// rates, and measures how long an unplugged phone takes to fail its download.
#include <dlfcn.h>
#include <stdlib.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <random>
#include <stdexcept>
#include <thread>
#include <unistd.h>
#include <string>
#include <vector>

#include "common/Bench.h"
#include "common/File.h"
#include "common/ImageFormat.h"
#include "library/DownloadLibrary.h"

using namespace tandrel::sim;
using Clock = std::chrono::steady_clock;

namespace {

constexpr std::size_t kImageSize = 32u << 20;
constexpr int kPhones = 8;

struct Outcomes {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<int> pending = std::vector<int>(kPhones + 1, -1);
    std::vector<Clock::time_point> at = std::vector<Clock::time_point>(kPhones + 1);
} g_outcomes;

void OnReport(int channel, int status, const char*) {
    if (status == IFWD_DL_STATUS_PROGRESS || channel < 1 || channel > kPhones) return;
    std::lock_guard lock(g_outcomes.mutex);
    g_outcomes.pending[channel] = status;
    g_outcomes.at[channel] = Clock::now();
    g_outcomes.changed.notify_all();
}

// The step's status on channel, once it has one.
int AwaitOutcome(int channel) {
    std::unique_lock lock(g_outcomes.mutex);
    g_outcomes.changed.wait(lock, [&] { return g_outcomes.pending[channel] >= 0; });
    int status = g_outcomes.pending[channel];
    g_outcomes.pending[channel] = -1;
    return status;
}

template <typename T>
T Symbol(void* module, const char* name) {
    auto symbol = reinterpret_cast<T>(::dlsym(module, name));
    if (symbol == nullptr) throw std::runtime_error(std::string("missing ") + name);
    return symbol;
}

struct Library {
    explicit Library(void* m)
        : open(Symbol<IFWD_DL_open_comm_port_fn>(m, "_IFWD_DL_open_comm_port")),
          close(Symbol<IFWD_DL_close_comm_port_fn>(m, "_IFWD_DL_close_comm_port")),
          boot(Symbol<IFWD_DL_boot_target_fn>(m, "_IFWD_DL_boot_target")),
          download(Symbol<IFWD_DL_download_fls_file_fn>(m, "_IFWD_DL_download_fls_file")),
          reset(Symbol<IFWD_DL_force_target_reset_fn>(m, "_IFWD_DL_force_target_reset")) {
        Symbol<IFWD_DL_init_callback_fn>(m, "_IFWD_DL_init_callback")(OnReport, message);
    }
    IFWD_DL_open_comm_port_fn open;
    IFWD_DL_close_comm_port_fn close;
    IFWD_DL_boot_target_fn boot;
    IFWD_DL_download_fls_file_fn download;
    IFWD_DL_force_target_reset_fn reset;
    char message[IFWD_DL_MESSAGE_SIZE] = {};
};

void WriteImage(const std::string& path) {
    std::vector<std::uint8_t> payload(kImageSize);
    std::mt19937 random(7);
    for (auto& b : payload) b = static_cast<std::uint8_t>(random());
    ImageItem item{"code", 4, kPlainHeaderSize, payload.size(), tandrel::Sha256Of(payload.data(), payload.size())};
    std::vector<std::uint8_t> header = EncodePlainHeader(item);
    std::string error;
    File file = File::Create(path, error);
    if (!file.Write(header.data(), header.size(), error) || !file.Write(payload.data(), payload.size(), error) ||
        !file.Commit(error)) {
        throw std::runtime_error(error);
    }
}

void Expect(bool ok, const char* what) {
    if (!ok) throw std::runtime_error(what);
}

void OpenAll(Library& lib, int phones) {
    for (int ch = 1; ch <= phones; ++ch) {
        std::string port = "\\\\.\\USB" + std::to_string(ch);
        Expect(lib.open(static_cast<std::uint8_t>(ch), port.c_str(), port.c_str(), 460800, lib.message) == 0,
               lib.message);
    }
}

double FlashEightPhones(Library& lib, const std::string& image) {
    std::string spec = "|0|" + image;
    const std::uint8_t bootBlock[6] = {};
    OpenAll(lib, kPhones);
    Clock::time_point start = Clock::now();
    for (int ch = 1; ch <= kPhones; ++ch) Expect(lib.boot(static_cast<std::uint8_t>(ch), image.c_str(), bootBlock, lib.message) == 0, "boot");
    for (int ch = 1; ch <= kPhones; ++ch) Expect(AwaitOutcome(ch) == 0, "boot failed");
    for (int ch = 1; ch <= kPhones; ++ch) Expect(lib.download(static_cast<std::uint8_t>(ch), spec.c_str(), lib.message) == 0, "download");
    for (int ch = 1; ch <= kPhones; ++ch) Expect(AwaitOutcome(ch) == 0, "download failed");
    for (int ch = 1; ch <= kPhones; ++ch) lib.reset(static_cast<std::uint8_t>(ch), 1, 16, 17, 0, lib.message);
    for (int ch = 1; ch <= kPhones; ++ch) Expect(AwaitOutcome(ch) == 0, "reset failed");
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    for (int ch = 1; ch <= kPhones; ++ch) lib.close(static_cast<std::uint8_t>(ch), lib.message);
    return seconds;
}

// Pulls phone 1 out in the middle of a slow download, several times, and
// returns the longest wait for the failure report.
double WorstUnplugLatencyMs(Library& lib, const Bench& bench, const std::string& image) {
    std::string spec = "|0|" + image;
    const std::uint8_t bootBlock[6] = {};
    double worst = 0;
    for (int round = 0; round < 10; ++round) {
        std::string error;
        if (!bench.IsPlugged("phone-1")) Expect(bench.Plug(1, error), error.c_str());
        OpenAll(lib, 1);
        Expect(lib.boot(1, image.c_str(), bootBlock, lib.message) == 0 && AwaitOutcome(1) == 0, "boot");
        Expect(lib.download(1, spec.c_str(), lib.message) == 0, "download");
        std::this_thread::sleep_for(std::chrono::milliseconds(50 + 7 * round));
        Clock::time_point pulled = Clock::now();
        Expect(bench.Unplug("phone-1", error), error.c_str());
        Expect(AwaitOutcome(1) == 1, "unplug not reported as failure");
        worst = std::max(worst, std::chrono::duration<double, std::milli>(g_outcomes.at[1] - pulled).count());
        lib.close(1, lib.message);
    }
    return worst;
}

}  // namespace

int main() {
    try {
        std::filesystem::path root = std::filesystem::temp_directory_path() / ("bench-sim-" + std::to_string(::getpid()));
        std::string error;
        Expect(Bench::Create((root / "bench").string(), kPhones, error), error.c_str());
        Bench bench = *Bench::Open((root / "bench").string(), error);
        for (int phone = 1; phone <= kPhones; ++phone) Expect(bench.Plug(phone, error), error.c_str());
        ::setenv(kBenchVariable, (root / "bench").c_str(), 1);
        std::string image = (root / "code.img").string();
        WriteImage(image);

        void* module = ::dlopen(TANDREL_SIM_LIBRARY, RTLD_NOW);
        Expect(module != nullptr, "cannot load the simulator library");
        Library lib(module);

        double seconds = FlashEightPhones(lib, image);
        double megabytes = kPhones * double(kImageSize) / 1e6;
        std::printf("flash_8x32MiB_default_rates: %.2f s\n", seconds);
        std::printf("aggregate_throughput: %.1f MB/s\n", megabytes / seconds);
        std::printf("bus_budget: 35.0 MB/s\n");
        std::printf("time_at_bus_budget: %.2f s\n", megabytes / 35.0);
        std::printf("unplug_to_failure_worst: %.1f ms\n", WorstUnplugLatencyMs(lib, bench, image));
        std::filesystem::remove_all(root);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench-sim: %s\n", e.what());
        return 1;
    }
}
