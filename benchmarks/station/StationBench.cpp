// Eight phones take the demo's images through the whole station: the
// tandrel program, the simulator at its default rates, all phones on one
// bus. The time from Start to the last "Done, Disconnect the phone" is set
// against the ideal: every byte at the bus's rate, plus the waits that a run
// cannot avoid. The journal's timeline shows where the rest went.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <thread>

#include "ImageSet.h"
#include "JournalRecords.h"
#include "Programs.h"
#include "StationTimeline.h"
#include "UnplugStall.h"
#include "VirtualBench.h"
#include "support/TempFolder.h"
#include "library/Rates.h"
#include "usb/Timers.h"

namespace tandrel::bench {
namespace {

constexpr int kPhones = 8;
constexpr auto kRunDeadline = std::chrono::seconds(300);

// The waits every run has: the first scan tick after Start, the simulated
// phone's answer to its boot and to its reset (five steps of 20 ms each),
// and the finishing pass, which reaches the eighth channel 7 x 200 ms after
// the first.
constexpr double kBootAnswerMs = 100;
constexpr double kResetAnswerMs = 100;
constexpr double kPassSpacingMs = 200;
constexpr double kFixedWaitsMs = kScanPeriodMs + kBootAnswerMs + (kPhones - 1) * kPassSpacingMs + kResetAnswerMs;

void Figure(const char* name, double value, const char* unit) { std::printf("%s: %.3f %s\n", name, value, unit); }
void Count(const char* name, long long value, const char* unit) { std::printf("%s: %lld %s\n", name, value, unit); }

std::optional<StationTimeline> RunStation(const e2e::VirtualBench& bench, const std::string& container,
                                          const std::string& journalFile, const std::string& log) {
    e2e::ChildProcess station({TANDREL_PROGRAM, "-platform", "offscreen", "--library", TANDREL_SIM_LIBRARY, "--devices",
                               "dir:" + bench.Registry(), "--image", container, "--start", "--journal", journalFile,
                               "--results", "none"},
                              log);
    e2e::JournalTail journal(journalFile);
    const auto deadline = std::chrono::steady_clock::now() + kRunDeadline;
    std::optional<StationTimeline> timeline;
    while (!timeline && station.Running() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        timeline = ReadTimeline(journal.Update(), kPhones);
    }
    station.Stop();
    return timeline;
}

int CountVerified(const e2e::VirtualBench& bench, const std::string& container) {
    int verified = 0;
    for (int n = 1; n <= kPhones; ++n) {
        const std::string difference = bench.FlashDifference(n, {container});
        if (difference.empty()) ++verified;
        else std::fprintf(stderr, "bench-station: phone %d: %s", n, difference.c_str());
    }
    return verified;
}

int Run() {
    // The default rates are what is measured.
    unsetenv(sim::kPhoneRateVariable);
    unsetenv(sim::kBusRateVariable);
    test::TempFolder folder;
    const e2e::VirtualBench bench(folder / "bench", kPhones);
    for (int n = 1; n <= kPhones; ++n) bench.Plug(n);
    const std::vector<e2e::ItemSpec> items = e2e::DemoItems();
    const std::string container = e2e::PackContainer(folder.Path(), e2e::PackImages(folder.Path(), items, 2010));
    bench.MakeCurrent();

    const std::optional<StationTimeline> line = RunStation(bench, container, folder / "journal.jsonl", folder / "log");
    if (!line) {
        std::fprintf(stderr, "bench-station: the run did not finish; journal:\n%s",
                     e2e::ReadWholeFile(folder / "journal.jsonl").c_str());
        return 1;
    }
    const int verified = CountVerified(bench, container);

    const double bytes = static_cast<double>(e2e::TotalSize(items)) * kPhones;
    const double transferIdealMs = bytes / static_cast<double>(sim::kDefaultBusRate) * 1000.0;
    const double idealMs = transferIdealMs + kFixedWaitsMs;
    const double measuredMs = static_cast<double>(line->lastDone - line->start);
    const double transferMs = static_cast<double>(line->lastItemsDone - line->firstItem);

    Count("phones", kPhones, "count");
    Count("bytes", static_cast<long long>(bytes), "bytes");
    Figure("ideal", idealMs / 1000.0, "s");
    Figure("measured", measuredMs / 1000.0, "s");
    Figure("ratio", measuredMs / idealMs, "x");
    Count("start_to_last_armed", line->lastDetected - line->start, "ms");
    Count("armed_to_first_item", line->firstItem - line->lastDetected, "ms");
    Figure("transfer", transferMs / 1000.0, "s");
    Figure("transfer_ideal", transferIdealMs / 1000.0, "s");
    Figure("bus_throughput", bytes / transferMs / 1000.0, "MB/s");
    Count("finish", line->lastDone - line->lastItemsDone, "ms");
    Count("finish_ideal", static_cast<long long>((kPhones - 1) * kPassSpacingMs + kResetAnswerMs), "ms");
    Count("verified_phones", verified, "count");

    // One phone's download while three failed phones are pulled at once:
    // the pause after each unplug must not hold it.
    const std::optional<UnplugRun> alone = MeasureDownloadBesideUnplugs(folder / "alone", false);
    const std::optional<UnplugRun> pulled = MeasureDownloadBesideUnplugs(folder / "pulled", true);
    if (!alone || !pulled || pulled->unplugsSeen != 3) {
        std::fprintf(stderr, "bench-station: the unplug runs did not get through\n");
        return 1;
    }
    Count("download_alone", alone->downloadMs, "ms");
    Count("download_during_three_unplugs", pulled->downloadMs, "ms");
    return verified == kPhones ? 0 : 1;
}

}  // namespace
}  // namespace tandrel::bench

int main() {
    try {
        return tandrel::bench::Run();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench-station: %s\n", e.what());
        return 1;
    }
}
