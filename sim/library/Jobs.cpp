#include "Jobs.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "common/AtomicFiles.h"
#include "common/Manifest.h"
#include "common/System.h"

namespace tandrel::sim {
namespace {

// How long the phone takes to answer a boot or a reset, in steps of progress.
constexpr auto kHandshakeStep = std::chrono::milliseconds(20);
constexpr int kHandshakeSteps = 5;

Outcome Handshake(Operation& operation, Watch& watch) {
    for (int step = 0; step < kHandshakeSteps; ++step) {
        Interrupt interrupt = watch.SleepUntil(Clock::now() + kHandshakeStep);
        if (interrupt != Interrupt::None) return Outcome::From(interrupt);
        operation.Progress((step + 1) * 100 / kHandshakeSteps);
    }
    return {};
}

// A new boot starts a new run: the flash holds only what this run writes.
Outcome EraseFlash(const PhoneLink& link) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(link.FlashDir(), ec)) {
        std::filesystem::remove(entry.path(), ec);
        if (ec) return Outcome::Failure("cannot erase the flash of " + link.Device() + ": " + ec.message());
    }
    if (ec) return Outcome::Failure("cannot read the flash of " + link.Device() + ": " + ec.message());
    return {};
}

std::string FlashFileName(const ItemPlan& plan) {
    std::string name = plan.item.name;
    for (char& c : name) {
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                     c == '-' || c == '_';
        if (!plain) c = '_';
    }
    char number[16];
    std::snprintf(number, sizeof number, "%02u-", plan.number);
    return number + name;
}

// Reads back what landed in the flash and compares it with the image: success
// is reported only for bytes that are there. The payload's digest was checked
// while it streamed, so equal bytes also mean the manifest's SHA-256 is true.
// Trusting the image, the flash is held to what was streamed instead, as the
// image may have changed since.
Outcome CheckWritten(const std::string& path, const ItemPlan& plan, const Digest& written, const PhoneLink& link) {
    std::string error;
    File check = File::OpenRead(path, error);
    bool held = check.IsOpen() && check.Size() == plan.item.length;
    if (held && plan.trustImage) {
        Digest flashed{};
        held = HashRange(check, 0, plan.item.length, flashed) && flashed == written;
    } else if (held) {
        held = !FirstDifference(*plan.image, plan.item.offset, check, 0, plan.item.length);
    }
    if (!held) {
        return Outcome::Failure("item " + plan.item.name + ": the flash of " + link.Device() +
                                " does not hold what was written");
    }
    return {};
}

// The manifest names the digest of the bytes written, which is the item's
// checksum unless the image was trusted.
Outcome RecordItem(const std::string& temp, const ItemPlan& plan, const Digest& written, const PhoneLink& link) {
    std::string file = FlashFileName(plan);
    std::string flash = link.FlashDir();
    std::string manifest = flash + "/" + kManifestName;
    std::string text = ReadSmallFile(manifest).value_or("");
    text += FormatManifestLine({plan.item.name, plan.item.memoryClass, plan.item.length, written, file});
    std::string error;
    if (!RenameReplacing(temp, flash + "/" + file, error) || !WriteFileAtomically(manifest, text, error)) {
        return Outcome::Failure("cannot record item " + plan.item.name + " in the flash of " + link.Device());
    }
    return {};
}

Outcome Download(Operation& operation, const PhoneLink& link, const ItemPlan& plan, Links links) {
    Watch watch(operation, link);
    std::string temp = TemporaryName(link.FlashDir(), "item");
    std::string error;
    File out = File::Create(temp, error);
    if (!out.IsOpen()) return Outcome::Failure(error);
    Digest written{};
    Outcome outcome = CopyPayload(plan, out, written, links, watch, operation, link);
    if (outcome.kind == Outcome::Done && !out.Commit(error)) outcome = Outcome::Failure(error);
    if (outcome.kind == Outcome::Done && !plan.trustImage && written != plan.item.checksum) {
        outcome = Outcome::Failure("item " + plan.item.name + " of " + plan.image->Path() +
                                   " is damaged: its payload does not match its checksum");
    }
    if (outcome.kind == Outcome::Done) outcome = CheckWritten(temp, plan, written, link);
    if (outcome.kind == Outcome::Done) outcome = RecordItem(temp, plan, written, link);
    if (outcome.kind != Outcome::Done) std::remove(temp.c_str());
    return outcome;
}

}  // namespace

Job MakeBootJob(PhoneLink link, StepFault fault) {
    return [link = std::move(link), fault](Operation& operation) {
        Watch watch(operation, link);
        Outcome outcome = Outcome::From(watch.CheckNow());
        if (outcome.kind == Outcome::Done) outcome = Handshake(operation, watch);
        if (outcome.kind == Outcome::Done && fault == StepFault::Fail) {
            outcome = Outcome::Failure("boot failed: the phone on " + link.Device() +
                                       " did not answer (fault set on the bench)");
        }
        if (outcome.kind == Outcome::Done) outcome = EraseFlash(link);
        if (outcome.kind != Outcome::Done) return ReportTrouble(operation, link, outcome);
        link.SetState(phone_state::kBooted);
        operation.Succeed();
    };
}

Job MakeDownloadJob(PhoneLink link, ItemPlan plan, Links links) {
    return [link = std::move(link), plan = std::move(plan), links](Operation& operation) {
        Outcome outcome = Download(operation, link, plan, links);
        if (outcome.kind != Outcome::Done) return ReportTrouble(operation, link, outcome);
        operation.Succeed();
    };
}

Job MakeResetJob(PhoneLink link, bool fails) {
    return [link = std::move(link), fails](Operation& operation) {
        Watch watch(operation, link);
        Outcome outcome = Outcome::From(watch.CheckNow());
        if (outcome.kind == Outcome::Done) outcome = Handshake(operation, watch);
        if (outcome.kind == Outcome::Done && fails) {
            outcome = Outcome::Failure("reset failed: the phone on " + link.Device() +
                                       " did not restart (fault set on the bench)");
        }
        if (outcome.kind != Outcome::Done) return ReportTrouble(operation, link, outcome);
        link.SetState(phone_state::kResetDone);
        operation.Succeed();
    };
}

Job MakeRefusalJob(std::string why) {
    return [why = std::move(why)](Operation& operation) { operation.Fail(why); };
}

}  // namespace tandrel::sim
