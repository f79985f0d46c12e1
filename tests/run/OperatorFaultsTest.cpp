// What an operator runs into on the simulated window: reports that arrive for
// a run that has ended, Start pressed again in the middle of a run, and ports
// the library will not open or close.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "RunBench.h"
#include "channels/EventRelay.h"

namespace tandrel::test {
namespace {

using K = ChannelEventKind;
using S = ChannelState;

// Every status a library report can carry: done, failed, progress.
constexpr int kStatuses[] = {IFWD_DL_STATUS_OK, IFWD_DL_STATUS_FAILED, IFWD_DL_STATUS_PROGRESS};

// Started in USB mode on one Code image, with phones downloading on the channels given.
struct Downloading : RunBench {
    explicit Downloading(std::initializer_list<int> channels) {
        ChooseImages({"/images/code.fls"});
        Start();
        for (int n : channels) Plug(n);
        Tick();
        for (int n : channels) Report(n);
    }
    // The library reports, from its own side, through the registered callback.
    static void LibraryReports(int channel) {
        for (int status : kStatuses) LibraryCallback(channel, status, "99");
    }
    bool Logged(const std::string& line) const {
        const std::vector<std::string> lines = Log();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
};

// Reports the library queued before Reset, and while Reset pauses between
// ports, are made for runs that Reset has ended: none may start a channel.
TEST(ReportsFromBeforeReset, AreDroppedAndEveryChannelStaysReadyOnRestart) {
    Downloading bench({1, 2, 3, 4, 5, 6, 7, 8});
    for (int n = 1; n <= 8; ++n) Downloading::LibraryReports(n);
    // Each port Reset closes lets every channel's item end meanwhile.
    bench.fake.onCall = [](const LibraryCall& call) {
        if (call.entry != "close") return;
        for (int n = 1; n <= 8; ++n) Downloading::LibraryReports(n);
    };
    const std::size_t callsBefore = bench.fake.calls.size();
    bench.Reset();
    bench.fake.onCall = nullptr;
    bench.loop.RunFor(5000);

    EXPECT_EQ(bench.fake.calls.size(), callsBefore + 8) << "Reset closes eight ports and calls nothing else";
    for (int n = 1; n <= 8; ++n) {
        SCOPED_TRACE("channel " + std::to_string(n));
        EXPECT_EQ(bench.State(n), S::Ready);
        EXPECT_EQ(bench.Row(n), "Restart");
        EXPECT_EQ(bench.dialog.display.Label(n).backgroundColor(), kWhite);
        EXPECT_EQ(bench.Progress(n), 0);
    }
}

// However a run ends, what the library still reports for it changes nothing
// the operator can see; before it ends, the same reports do.
TEST(ReportsOfAnEndedRun, ChangeNoRowAndStartNothing) {
    const std::pair<const char*, std::function<void(Downloading&)>> ends[] = {
        {"Stop", [](Downloading& b) { b.controls.Click(StopButtonId(3)); }},
        {"failure", [](Downloading& b) { b.Report(3, K::StepFailed); }},
        {"completion", [](Downloading& b) { b.RunToUnplug(3); }},
    };
    for (const auto& [name, end] : ends) {
        SCOPED_TRACE(name);
        Downloading bench({3});
        LibraryCallback(3, IFWD_DL_STATUS_PROGRESS, "42");
        bench.loop.DeliverPosted();
        ASSERT_EQ(bench.Progress(3), 42) << "a report of the run under way is handled";

        end(bench);
        const std::string journal = bench.JournalText();
        const std::size_t calls = bench.fake.calls.size();
        Downloading::LibraryReports(3);
        bench.loop.DeliverPosted();
        EXPECT_EQ(bench.JournalText(), journal);
        EXPECT_EQ(bench.fake.calls.size(), calls);
        EXPECT_EQ(bench.State(3), S::WaitUnplug);
    }
}

// Start pressed again rebuilds the list for the phones armed after it; the
// phones already running keep theirs, and each result names exactly what
// its phone took.
TEST(StartMidRun, RunningChannelsKeepTheListTheyWereArmedWith) {
    RunBench bench;
    bench.ChooseImages({"/images/a.fls", "/images/b.fls"});
    bench.Start();
    for (int n : {4, 6}) bench.Plug(n);
    bench.Tick();
    for (int n : {4, 6}) bench.Report(n);  // booted: a.fls under way

    const std::string a = "|0|" + bench.CopyOf("/images/a.fls");
    bench.controls.Click(SlotCheckBoxId(0));  // a.fls no longer chosen
    bench.controls.Click(StopButtonId(1));    // Stop 1 makes Start usable
    bench.Start();
    bench.Plug(5);
    bench.Tick();

    bench.Report(6);
    bench.Report(6, K::StepFailed);  // b.fls fails on phone 6
    bench.Report(4);
    bench.Report(4);  // a.fls and b.fls in: phone 4 waits for phone 5
    bench.RunToUnplug(5);
    bench.Report(4);  // its reset done
    for (int n : {4, 5, 6}) bench.Unplug(n);
    bench.Tick();
    bench.loop.RunFor(40000);

    auto specs = [&](int channel) {
        std::vector<std::string> out;
        for (const auto& c : bench.fake.calls) {
            if (c.entry == "fls" && c.channel == channel) out.push_back(c.text);
        }
        return out;
    };
    using Texts = std::vector<std::string>;
    const std::string b = "|0|" + bench.CopyOf("/images/b.fls");
    EXPECT_EQ(specs(4), (Texts{a, b})) << "the copies the first Start took";
    EXPECT_EQ(specs(5), (Texts{b}));
    EXPECT_EQ(bench.Row(4), "Success");
    const std::string result = R"("ev":"result","ch":%d,"device":%d,"result":"%s","images":%s,)";
    auto record = [&](int n, const char* outcome, const std::string& images) {
        char text[256];
        std::snprintf(text, sizeof text, result.c_str(), n, n, outcome, images.c_str());
        return bench.JournalCount(text);
    };
    EXPECT_EQ(record(4, "Success", R"(["|0|/images/a.fls","|0|/images/b.fls"])"), 1);
    EXPECT_EQ(record(5, "Success", R"(["|0|/images/b.fls"])"), 1);
    EXPECT_EQ(record(6, "Fail", R"(["|0|/images/a.fls"])"), 1) << bench.JournalText();
}

// A phone whose port will not open is tried once; once it has gone, the next
// phone on its channel is served, and nothing else is disturbed meanwhile.
TEST(RefusedOpen, IsNotRetriedWhileThePhoneStaysAndItsChannelTakesTheNextOne) {
    for (bool throws : {false, true}) {
        SCOPED_TRACE(throws ? "open throws" : "open refused");
        Downloading bench({5});
        bench.fake.results["open"] = 1;
        bench.fake.throws["open"] = throws;
        bench.Plug(3);
        bench.loop.RunFor(1000);
        EXPECT_EQ(bench.Calls("open", 3), 1);
        EXPECT_EQ(bench.Row(3), "Can't open port");
        EXPECT_EQ(bench.State(3), S::Ready);
        EXPECT_EQ(bench.JournalCount(R"("ev":"result","ch":3,"device":3,"result":"Fail","images":[],)"), 1);
        EXPECT_EQ(bench.Logged("Opening \\\\.\\USB3 failed in the download library: library fault"), throws);

        bench.Unplug(3);
        bench.Tick();
        bench.fake.results["open"] = 0;
        bench.fake.throws["open"] = false;
        bench.Plug(3);
        bench.Tick();
        EXPECT_EQ(bench.Calls("open", 3), 2);
        EXPECT_EQ(bench.State(3), S::Booting);
        EXPECT_EQ(bench.State(5), S::LoadFls) << "the neighbour downloads on";
        EXPECT_EQ(bench.Calls("close", 5), 0);
    }
}

TEST(RefusedOpen, IsTriedAgainAfterResetAndStart) {
    Downloading bench({});
    bench.fake.results["open"] = 1;
    bench.Plug(3);
    bench.loop.RunFor(500);
    bench.Reset();
    bench.fake.results["open"] = 0;
    bench.Start();
    bench.Tick();
    EXPECT_EQ(bench.Calls("open", 3), 2);
    EXPECT_EQ(bench.State(3), S::Booting);
}

// A port that will not close keeps its channel waiting for the unplug for as
// long as the phone is in it; once the phone is gone the port is closed again.
TEST(UnwillingClose, APhoneStillPluggedInIsNeverTakenForUnplugged) {
    for (bool throws : {false, true}) {
        for (bool success : {true, false}) {
            SCOPED_TRACE(std::string(throws ? "close throws" : "close refused") +
                         (success ? ", success" : ", failure"));
            Downloading bench({3});
            bench.fake.results["close"] = 1;
            bench.fake.throws["close"] = throws;
            if (success) bench.RunToUnplug(3);
            else bench.Report(3, K::StepFailed);
            ASSERT_TRUE(bench.R(3).portOpen);
            const std::string shown = bench.Row(3);

            bench.loop.RunFor(2000);
            EXPECT_EQ(bench.State(3), S::WaitUnplug);
            EXPECT_EQ(bench.Row(3), shown);
            EXPECT_EQ(bench.Logged("Closing the port of channel 3 failed in the download library: library fault"),
                      throws);

            bench.fake.results["close"] = 0;
            bench.fake.throws["close"] = false;
            bench.Unplug(3);
            bench.Tick();
            EXPECT_EQ(bench.Row(3), "USB disconnected");
            EXPECT_EQ(bench.State(3), success ? S::Completed : S::Ready);
            EXPECT_FALSE(bench.R(3).portOpen) << "closed again once its phone had gone";
            bench.loop.RunFor(success ? 35000 : 1000);
            EXPECT_EQ(bench.Row(3), success ? "Success" : "Fail");
            if (success) continue;
            bench.Plug("another", "USB3");
            bench.Tick();
            EXPECT_EQ(bench.State(3), S::Booting) << "the failed channel takes the next phone";
        }
    }
}

}  // namespace
}  // namespace tandrel::test

namespace tandrel::test {
namespace {

// The close box with two phones being written asks first; No keeps the
// window and records nothing, Yes records each phone as failed.
TEST(CloseDuringDownload, AsksFirstAndRecordsEveryPhoneBeingWrittenAsFailed) {
    Downloading bench({2, 6});
    EXPECT_FALSE(bench.controls.RequestClose(true));
    EXPECT_EQ(bench.controls.MessageBoxes().back(), "2 phones are being written. Close anyway?");
    EXPECT_EQ(bench.JournalCount("\"ev\":\"result\""), 0);

    bench.controls.QueueAnswer(true);
    EXPECT_TRUE(bench.controls.RequestClose(true));
    for (int n : {2, 6}) {
        EXPECT_EQ(bench.JournalCount("\"ch\":" + std::to_string(n) + ",\"device\":" + std::to_string(n) +
                                     ",\"result\":\"Fail\""),
                  1);
        EXPECT_EQ(bench.Calls("abort", n), 1);
        EXPECT_FALSE(bench.R(n).portOpen);
    }
    EXPECT_EQ(bench.JournalCount("\"reason\":\"station closed during download\""), 2);
    EXPECT_TRUE(bench.Logged("Station closed during download: channel 2, 6 recorded as Fail"));
    EXPECT_TRUE(bench.controls.RequestClose(false));
    EXPECT_EQ(bench.JournalCount("\"ev\":\"result\""), 2) << "a second request records nothing again";
}

}  // namespace
}  // namespace tandrel::test
