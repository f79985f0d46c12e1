// How fast reports travel from sender threads to the window thread through
// QtWindowLoop::Post: the rate with eight senders posting flat out, and the
// delay of each report with eight senders at 1000 reports/s each.
#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "qt/QtWindowLoop.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kSenders = 8;

struct Report : tandrel::MessagePayload {
    explicit Report(Clock::time_point t) : sent(t) {}
    Clock::time_point sent;
};

tandrel::WindowMessage MakeReport() {
    return tandrel::WindowMessage{tandrel::WM_CHANNEL_EVENT, std::make_unique<Report>(Clock::now())};
}

// Runs the event loop until count reports have been handled.
void RunUntilHandled(long long& handled, long long count) {
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (handled >= count) QCoreApplication::quit();
    });
    check.start(1);
    QCoreApplication::exec();
}

double FlatOutRate(long long perSender) {
    tandrel::QtWindowLoop loop;
    long long handled = 0;
    loop.SetHandlers([&](tandrel::WindowMessage&) { ++handled; }, [](int) {});
    const auto start = Clock::now();
    std::vector<std::thread> senders;
    for (int s = 0; s < kSenders; ++s) {
        senders.emplace_back([&] {
            for (long long n = 0; n < perSender; ++n) loop.Post(MakeReport());
        });
    }
    RunUntilHandled(handled, perSender * kSenders);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    for (auto& t : senders) t.join();
    return static_cast<double>(handled) / seconds;
}

std::vector<double> PacedDelaysMs(int perSecond, int seconds) {
    tandrel::QtWindowLoop loop;
    std::vector<double> delays;
    const long long total = static_cast<long long>(kSenders) * perSecond * seconds;
    delays.reserve(static_cast<std::size_t>(total));
    long long handled = 0;
    loop.SetHandlers(
        [&](tandrel::WindowMessage& m) {
            const auto& r = static_cast<const Report&>(*m.payload);
            delays.push_back(std::chrono::duration<double, std::milli>(Clock::now() - r.sent).count());
            ++handled;
        },
        [](int) {});
    std::vector<std::thread> senders;
    for (int s = 0; s < kSenders; ++s) {
        senders.emplace_back([&, s] {
            const auto period = std::chrono::microseconds(1000000 / perSecond);
            auto next = Clock::now() + period * s / kSenders;
            for (long long n = 0; n < static_cast<long long>(perSecond) * seconds; ++n) {
                std::this_thread::sleep_until(next);
                loop.Post(MakeReport());
                next += period;
            }
        });
    }
    RunUntilHandled(handled, total);
    for (auto& t : senders) t.join();
    std::sort(delays.begin(), delays.end());
    return delays;
}

double Percentile(const std::vector<double>& sorted, double p) {
    if (sorted.empty()) return 0;
    const auto index = static_cast<std::size_t>(p * static_cast<double>(sorted.size() - 1));
    return sorted[index];
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::printf("post-rate-8-senders: %.0f reports/s\n", FlatOutRate(250000));
    const std::vector<double> delays = PacedDelaysMs(1000, 3);
    std::printf("delay-p50-8x1000: %.3f ms\n", Percentile(delays, 0.50));
    std::printf("delay-p99-8x1000: %.3f ms\n", Percentile(delays, 0.99));
    std::printf("delay-max-8x1000: %.3f ms\n", delays.empty() ? 0.0 : delays.back());
    return 0;
}
