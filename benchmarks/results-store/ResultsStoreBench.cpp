// bench-results-store: how long a phone's result takes to be durable in the
// results store (handed over by the window thread, committed by the
// store-writer thread with synchronous=FULL), and what handing it over costs
// the window thread.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "results/StoreWriter.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRecords = 200;

// A window that takes every post and drops it: only the writer is timed.
class DroppingLoop : public tandrel::WindowLoop {
public:
    void SetHandlers(MessageHandler, TimerHandler) override {}
    bool Post(tandrel::WindowMessage) override { return true; }
    void SetTimer(int, int) override {}
    void KillTimer(int) override {}
    bool IsTimerSet(int) const override { return false; }
    void After(int, Task) override {}
    void Pause(int) override {}
    std::int64_t Now() const override { return 0; }
    void Close() override {}
};

tandrel::ResultRecord Phone(int n) {
    tandrel::ResultRecord r;
    r.uuid = tandrel::NewUuid();
    r.station = "bench";
    r.mode = "USB";
    r.channel = r.device = 1 + n % 8;
    r.success = true;
    for (int i = 0; i < 5; ++i) {
        r.images.push_back("|" + std::to_string(i) + "|/srv/images/all.pak");
        r.sha256.push_back(std::string(64, 'a'));
    }
    r.stationVersion = "1.0";
    r.resultMs = 1;
    return r;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main() {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("bench-results-store-" + std::to_string(std::rand()));
    std::filesystem::create_directories(folder);
    DroppingLoop loop;
    std::mutex mutex;
    std::map<std::string, Clock::time_point> handedAt;
    std::vector<double> durableMs, handMicros;
    {
        tandrel::StoreWriter writer(
            (folder / "results.db").string(), loop, [](const std::string&) {},
            [&](const tandrel::ResultRecord& r) {
                const auto now = Clock::now();
                const std::lock_guard<std::mutex> lock(mutex);
                durableMs.push_back(std::chrono::duration<double, std::milli>(now - handedAt[r.uuid]).count());
            });
        for (int n = 0; n < kRecords; ++n) {
            tandrel::ResultRecord record = Phone(n);
            const auto start = Clock::now();
            {
                const std::lock_guard<std::mutex> lock(mutex);
                handedAt[record.uuid] = start;
            }
            const auto before = Clock::now();
            writer.Hand(std::move(record));
            handMicros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - before).count());
            // Phones finish far apart compared with a write: one every 20 ms.
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    std::filesystem::remove_all(folder);
    std::printf("result-to-durable median: %.2f ms\n", Median(durableMs));
    std::printf("result-to-durable max: %.2f ms\n", *std::max_element(durableMs.begin(), durableMs.end()));
    std::printf("window thread per handed-over record: %.2f us\n", Median(handMicros));
    return durableMs.size() == static_cast<std::size_t>(kRecords) ? 0 : 1;
}
