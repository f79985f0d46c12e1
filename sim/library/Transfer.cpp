#include "Transfer.h"

#include <algorithm>
#include <vector>

namespace tandrel::sim {
namespace {

constexpr std::size_t kChunk = 64 * 1024;

int PercentOf(std::uint64_t done, std::uint64_t total) {
    return total == 0 ? 100 : static_cast<int>(done * 100 / total);
}

// The bench's unplug fault pulls the phone out the way an operator would;
// the watch then finds it gone like any other unplug.
void PullIfDue(const ItemPlan& plan, std::uint64_t done, const PhoneLink& phone, bool& pulled) {
    if (pulled || !plan.unplugDuringItem || PercentOf(done, plan.item.length) < static_cast<int>(plan.unplugPercent)) {
        return;
    }
    pulled = true;
    std::string ignored;
    phone.TheBench().Unplug(phone.Instance(), ignored);
}

bool FailIsDue(const ItemPlan& plan, std::uint64_t done) {
    return plan.fault == StepFault::Fail && PercentOf(done, plan.item.length) >= 50;
}

}  // namespace

Outcome CopyPayload(const ItemPlan& plan, File& out, Digest& written, Links links, Watch& watch, Operation& operation,
                    const PhoneLink& phone) {
    links.phone.SetRate(plan.phoneRate);
    std::vector<std::uint8_t> buffer(kChunk);
    Sha256 sha;
    bool pulled = false;
    std::uint64_t done = 0;
    operation.Progress(0);
    for (;;) {
        PullIfDue(plan, done, phone, pulled);
        Interrupt interrupt = pulled ? watch.CheckNow() : watch.Check();
        if (interrupt != Interrupt::None) return Outcome::From(interrupt);
        if (FailIsDue(plan, done)) {
            return Outcome::Failure("item " + std::to_string(plan.number) + " (" + plan.item.name +
                                    "): flash write error on " + phone.Device() + " (fault set on the bench)");
        }
        if (done == plan.item.length) break;
        std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, plan.item.length - done));
        if (!plan.image->ReadAt(plan.item.offset + done, buffer.data(), n)) {
            return Outcome::Failure("cannot read item " + plan.item.name + " from " + plan.image->Path());
        }
        Clock::time_point now = Clock::now();
        Clock::time_point due = std::max(links.phone.Reserve(now, n), links.bus.Reserve(now, n));
        interrupt = watch.SleepUntil(due);
        if (interrupt != Interrupt::None) return Outcome::From(interrupt);
        std::string error;
        if (!out.Write(buffer.data(), n, error)) return Outcome::Failure(error);
        sha.Update(buffer.data(), n);
        done += n;
        operation.Progress(PercentOf(done, plan.item.length));
    }
    written = sha.Finish();
    return {};
}

}  // namespace tandrel::sim
