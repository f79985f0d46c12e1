#include "Robot.h"

#include <thread>

namespace tandrel::sim {
namespace {

constexpr auto kPoll = std::chrono::milliseconds(20);

struct Hand {
    int phone;
    bool plugged = false;
    bool released = false;
    std::string finalState;
};

void PlugNext(const Bench& bench, Hand& hand, std::FILE* log) {
    std::string error;
    hand.plugged = true;
    if (bench.Plug(hand.phone, error)) {
        std::fprintf(log, "robot: plugged phone %d\n", hand.phone);
    } else {
        std::fprintf(log, "robot: cannot plug phone %d: %s\n", hand.phone, error.c_str());
        hand.released = true;
    }
}

void ReleaseIfFinished(const Bench& bench, Hand& hand, std::FILE* log) {
    std::string instance = Bench::InstanceName(hand.phone);
    std::string state = bench.ReadState(instance);
    if (!IsFinalState(state)) return;
    std::string error;
    hand.released = true;
    hand.finalState = state;
    if (bench.IsPlugged(instance) && !bench.Unplug(instance, error)) {
        std::fprintf(log, "robot: cannot unplug phone %d: %s\n", hand.phone, error.c_str());
        return;
    }
    std::fprintf(log, "robot: unplugged phone %d (%s)\n", hand.phone, state.c_str());
}

int Summary(const std::vector<Hand>& hands) {
    for (const Hand& hand : hands) {
        if (hand.finalState != phone_state::kResetDone) return 1;
    }
    return 0;
}

}  // namespace

int RunRobot(const Bench& bench, const RobotPlan& plan, const std::atomic<bool>& stop, std::FILE* log) {
    std::vector<Hand> hands;
    for (int phone : plan.phones) hands.push_back(Hand{phone, false, false, {}});
    auto start = std::chrono::steady_clock::now();
    auto nextPlug = start;
    std::size_t toPlug = 0;
    while (!stop.load()) {
        auto now = std::chrono::steady_clock::now();
        if (toPlug < hands.size() && now >= nextPlug) {
            PlugNext(bench, hands[toPlug++], log);
            nextPlug += plan.interval;
        }
        bool allOut = toPlug == hands.size();
        for (Hand& hand : hands) {
            if (hand.plugged && !hand.released) ReleaseIfFinished(bench, hand, log);
            allOut = allOut && hand.released;
        }
        std::fflush(log);
        if (plan.untilDone && allOut) return Summary(hands);
        if (plan.timeout.count() > 0 && now - start >= plan.timeout) {
            std::fprintf(log, "robot: time is up with phones still on the bench\n");
            return 1;
        }
        std::this_thread::sleep_for(kPoll);
    }
    return 0;
}

}  // namespace tandrel::sim
