#include "UnplugStall.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include "ImageSet.h"
#include "JournalRecords.h"
#include "Programs.h"
#include "VirtualBench.h"

namespace tandrel::bench {

namespace {

constexpr int kWrittenPhone = 4;

// When channel first showed text, or -1.
std::int64_t ShownAt(const std::vector<e2e::JournalRecord>& records, int channel, const std::string& text) {
    for (const e2e::JournalRecord& r : records) {
        if (r.ev == "status" && r.ch == channel && r["text"] == text) return r.t;
    }
    return -1;
}

std::int64_t FirstDownloadAt(const std::vector<e2e::JournalRecord>& records) {
    for (const e2e::JournalRecord& r : records) {
        if (r.ev == "status" && r.ch == kWrittenPhone && r["text"].rfind("Downloading", 0) == 0) return r.t;
    }
    return -1;
}

}  // namespace

std::optional<UnplugRun> MeasureDownloadBesideUnplugs(const std::string& folder, bool pull) {
    std::filesystem::create_directories(folder);
    const e2e::VirtualBench bench(folder + "/bench", kWrittenPhone);
    for (int n = 1; n < kWrittenPhone; ++n) bench.SetFault(n, "boot=fail");
    bench.SetFault(kWrittenPhone, "rate=256K");
    for (int n = 1; n < kWrittenPhone; ++n) bench.Plug(n);
    const std::string container = e2e::PackContainer(folder, e2e::PackImages(folder, e2e::SmallItems(), 2010));
    bench.MakeCurrent();
    const std::string journalFile = folder + "/journal.jsonl";
    e2e::ChildProcess station({TANDREL_PROGRAM, "-platform", "offscreen", "--library", TANDREL_SIM_LIBRARY,
                               "--devices", "dir:" + bench.Registry(), "--image", container, "--start", "--journal",
                               journalFile},
                              folder + "/log");
    e2e::JournalTail journal(journalFile);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    auto awaitJournal = [&](const auto& condition) {
        while (!condition(journal.Update())) {
            if (!station.Running() || std::chrono::steady_clock::now() > deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    };
    if (!awaitJournal([](const auto& records) {
            for (int n = 1; n < kWrittenPhone; ++n) {
                if (ShownAt(records, n, "Error, Disc the phone") < 0) return false;
            }
            return true;
        })) {
        return std::nullopt;
    }
    bench.Plug(kWrittenPhone);
    if (!awaitJournal([](const auto& records) { return FirstDownloadAt(records) >= 0; })) return std::nullopt;
    if (pull) {
        for (int n = 1; n < kWrittenPhone; ++n) bench.Unplug(n);
    }
    const bool done = awaitJournal([](const auto& records) { return ShownAt(records, kWrittenPhone, "Done") >= 0; });
    std::this_thread::sleep_for(std::chrono::milliseconds(pull ? 3000 : 0));
    const std::vector<e2e::JournalRecord>& records = journal.Update();
    station.Stop();
    if (!done) return std::nullopt;

    UnplugRun run;
    run.downloadMs = ShownAt(records, kWrittenPhone, "Done") - FirstDownloadAt(records);
    for (int n = 1; n < kWrittenPhone; ++n) run.unplugsSeen += ShownAt(records, n, "USB disconnected") >= 0;
    return run;
}

}  // namespace tandrel::bench
