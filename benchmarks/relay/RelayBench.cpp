// Library reports from eight threads through the real callback and the Qt
// window loop (offscreen) to the window thread's handler:
//   flood: as fast as the senders can go, how many the window thread handles per second;
//   load:  8 x 1000 reports/s, the time from callback entry to handler, and
//          the share of one core the window thread spends.
#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <thread>
#include <vector>

#include "channels/ChannelEvent.h"
#include "channels/EventRelay.h"
#include "qt/QtWindowLoop.h"

namespace tandrel {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSenders = 8;
constexpr int kFloodEach = 250000;
// Senders stay this far ahead of the window at most, so a flood measures a
// rate the window sustains rather than how fast memory fills.
constexpr int kFloodAhead = 20000;
constexpr int kLoadRatePerSender = 1000;
constexpr int kLoadSeconds = 5;

std::int64_t NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

double ThreadCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

// The window side: hands every report on as the window's handler does, and
// stops the phase's event loop once expected reports have arrived.
class Window {
public:
    Window() {
        channels_.Create();
        loop_.SetHandlers([this](WindowMessage& m) { OnMessage(m); }, [](int) {});
        AttachRelay(channels_, loop_);
    }
    ~Window() { DetachRelay(channels_); }

    // Runs send on eight threads while the window thread handles their
    // reports; returns the wall time until the last one was handled.
    double Run(int expected, const std::function<void(int channel)>& send) {
        expected_ = expected;
        handled_ = 0;
        QEventLoop phase;
        phase_ = &phase;
        const auto start = Clock::now();
        std::vector<std::thread> senders;
        for (int n = 1; n <= kSenders; ++n) senders.emplace_back(send, n);
        phase.exec();
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        for (auto& t : senders) t.join();
        return seconds;
    }

    int Handled() const { return handled_.load(std::memory_order_relaxed); }
    std::vector<double>& LatenciesMs() { return latenciesMs_; }
    void RecordLatency(bool on) { recordLatency_ = on; }

private:
    void OnMessage(WindowMessage& message) {
        const std::unique_ptr<MessagePayload> payload = std::move(message.payload);
        const auto* event = dynamic_cast<const ChannelEvent*>(payload.get());
        if (!event) return;
        DeliverChannelEvent(
            *event,
            [this](ChannelEventKind, int, std::string_view text) {
                if (recordLatency_) {
                    // The text ends at its terminator inside the event.
                    const std::int64_t sent = std::strtoll(text.data(), nullptr, 10);
                    latenciesMs_.push_back(static_cast<double>(NowNs() - sent) / 1e6);
                }
            },
            [](int, int) {});
        if (handled_.fetch_add(1, std::memory_order_relaxed) + 1 == expected_) phase_->quit();
    }

    ChannelTable channels_;
    QtWindowLoop loop_;
    QEventLoop* phase_ = nullptr;
    int expected_ = 0;
    std::atomic<int> handled_{0};
    bool recordLatency_ = false;
    std::vector<double> latenciesMs_;
};

double Percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1));
    return values[index];
}

void Flood(Window& window) {
    std::atomic<int> sent{0};
    const double seconds = window.Run(kSenders * kFloodEach, [&](int channel) {
        for (int i = 0; i < kFloodEach; ++i) {
            while (sent.load(std::memory_order_relaxed) - window.Handled() > kFloodAhead) std::this_thread::yield();
            LibraryCallback(channel, IFWD_DL_STATUS_PROGRESS, "57");
            sent.fetch_add(1, std::memory_order_relaxed);
        }
    });
    std::printf("flood throughput: %.0f reports/s\n", kSenders * kFloodEach / seconds);
}

void SteadyLoad(Window& window) {
    constexpr int kEach = kLoadRatePerSender * kLoadSeconds;
    window.LatenciesMs().reserve(kSenders * kEach);
    window.RecordLatency(true);
    const double cpuBefore = ThreadCpuSeconds();
    const double seconds = window.Run(kSenders * kEach, [](int channel) {
        const auto period = std::chrono::microseconds(1000000 / kLoadRatePerSender);
        auto next = Clock::now();
        char text[32];
        for (int i = 0; i < kEach; ++i) {
            next += period;
            std::this_thread::sleep_until(next);
            std::snprintf(text, sizeof text, "%" PRId64, NowNs());
            LibraryCallback(channel, IFWD_DL_STATUS_OK, text);
        }
    });
    const double cpu = ThreadCpuSeconds() - cpuBefore;
    const std::vector<double>& latencies = window.LatenciesMs();
    std::printf("latency p50: %.3f ms\n", Percentile(latencies, 0.50));
    std::printf("latency p99: %.3f ms\n", Percentile(latencies, 0.99));
    std::printf("latency max: %.3f ms\n", *std::max_element(latencies.begin(), latencies.end()));
    std::printf("window thread cpu: %.1f %%\n", 100.0 * cpu / seconds);
}

}  // namespace
}  // namespace tandrel

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tandrel::Window window;
    tandrel::Flood(window);
    tandrel::SteadyLoad(window);
    return 0;
}
