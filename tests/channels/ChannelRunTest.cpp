// Whole runs of one or two channels, driven by the reports a library would send.
#include <gtest/gtest.h>

#include <algorithm>

#include "EngineBench.h"

namespace tandrel::test {
namespace {

using K = ChannelEventKind;
using S = ChannelState;
using Calls = std::vector<LibraryCall>;
using Texts = std::vector<std::string>;

// The phone on channel n is detected and its boot reported good.
void Boot(EngineBench& b, int n) {
    b.R(n).deviceNumber = n;
    b.Event(K::DeviceDetected, n);
    b.Event(K::StepSucceeded, n);
}

Calls CallsOf(const EngineBench& b, const std::string& entry) {
    Calls out;
    for (const auto& c : b.fake.calls)
        if (c.entry == entry) out.push_back(c);
    return out;
}

TEST(ChannelRun, ItemsGoInListOrderThroughTheCallOfTheirClassThenThePhoneIsReset) {
    EngineBench b;
    b.AddItem(4, "/i/code.fls");
    b.AddItem(7, "/i/stat.eep");
    b.AddItem(11, "/i/stat.ffs");
    b.fake.writes["eep"] = "slow link";
    Boot(b, 2);
    for (S next : {S::LoadEep, S::LoadFfs, S::WaitPeers}) {
        b.Event(K::StepSucceeded, 2);
        EXPECT_EQ(b.State(2), next);
    }
    b.loop.RunFor(199);  // the pass reaches channel 2 after 200 ms
    EXPECT_EQ(b.State(2), S::WaitPeers);
    b.loop.RunFor(1);
    EXPECT_EQ(b.State(2), S::Finishing);
    b.Event(K::StepSucceeded, 2);

    EXPECT_EQ(b.fake.calls, (Calls{{"open", 2, "\\\\.\\USB2|\\\\.\\USB2", {460800}},
                                   {"boot", 2, "/i/code.fls", {0}},
                                   {"fls", 2, "|0|/i/code.fls", {}},
                                   {"eep", 2, "|0|/i/stat.eep", {0}},
                                   {"dffs", 2, "|0|/i/stat.ffs", {1}},
                                   {"reset", 2, "", {1, 16, 17, 0}},
                                   {"close", 2, "", {}}}));
    EXPECT_EQ(b.StatusHistory(2), (Texts{"READY", "Please wait...", "Wait for USB", "Downloading FLS", "Downloading EEPROM",
                                         "Downloading DFFS", "Done", "Done, Disconnect the phone"}));
    EXPECT_EQ(b.Log(), Texts{"slow link"});
    EXPECT_EQ(b.LabelColour(2), kGreen);
    EXPECT_TRUE(b.R(2).succeeded);
    EXPECT_EQ(b.queue.At(0), 2);
}

TEST(ChannelRun, ClassesPickTheirCallStageAndPartition) {
    struct Case {
        int memoryClass;
        LibraryCall call;
        S state;
        const char* text;
    } const cases[] = {
        {13, {"cust", 1, "|0|/i/x", {}}, S::LoadDsp, "Downloading DSP"},
        {15, {"dffs", 1, "|0|/i/x", {4}}, S::LoadFfs, "Downloading DFAT"},
    };
    for (const Case& c : cases) {
        EngineBench b;
        b.AddItem(c.memoryClass, "/i/x");
        Boot(b, 1);
        EXPECT_EQ(b.fake.calls.back(), c.call) << c.memoryClass;
        EXPECT_EQ(b.State(1), c.state) << c.memoryClass;
        EXPECT_EQ(b.Row(1), c.text) << c.memoryClass;
    }
}

TEST(ChannelRun, AnUnsupportedFirstItemFailsTheBootStageAndNamesTheClass) {
    EngineBench b;
    b.AddItem(6, "/i/dyn.eep");
    b.AddItem(4, "/i/code.fls");
    Boot(b, 1);
    EXPECT_EQ(b.StatusHistory(1), (Texts{"READY", "Please wait...", "Wait for USB", "Boot Failed", "Error, Disc the phone"}));
    EXPECT_EQ(b.Log(), Texts{"Unsupported memory class: \"Dyn.EEP\"."});
    EXPECT_EQ(b.LabelColour(1), kRed);
    EXPECT_EQ(b.R(1).itemCursor, 1000000000);
    EXPECT_EQ(b.fake.Entries(), (Texts{"open", "boot", "close"}));
}

TEST(ChannelRun, AnEblBootcoreFailsWithNothingLogged) {
    EngineBench b(false);
    b.AddItem(3, "/i/ebl.fls");
    Boot(b, 1);
    EXPECT_EQ(b.Row(1), "Boot Failed");
    EXPECT_TRUE(b.Log().empty());
    EXPECT_FALSE(b.R(1).portOpen);
}

TEST(ChannelRun, ARefusedDownloadFailsTheStageJustBegunAndNoLaterItemStarts) {
    EngineBench b(false);
    b.AddItem(4, "/i/code.fls");
    b.AddItem(7, "/i/stat.eep");
    b.fake.results["fls"] = 1;
    b.fake.writes["fls"] = "flash busy";
    Boot(b, 1);
    EXPECT_EQ(b.Row(1), "Failed (FLS)");
    EXPECT_EQ(b.Log(), Texts{"flash busy"});
    b.Event(K::StepSucceeded, 1);
    EXPECT_TRUE(CallsOf(b, "eep").empty());
    EXPECT_NE(b.State(1), S::Finishing);
}

TEST(ChannelRun, AWaitingChannelIsFinishedOnlyOnceNoPeerIsBusyAndOnePassFinishesBoth) {
    EngineBench b;
    b.AddItem(4, "/i/code.fls");
    Boot(b, 1);
    Boot(b, 2);
    b.Event(K::StepSucceeded, 1);
    EXPECT_EQ(b.Row(1), "Wait DL complete");
    b.loop.RunFor(5000);
    EXPECT_TRUE(CallsOf(b, "reset").empty());
    b.Event(K::StepSucceeded, 2);
    b.loop.RunFor(5000);
    const Calls resets = CallsOf(b, "reset");
    ASSERT_EQ(resets.size(), 2u);
    EXPECT_EQ(resets[0].channel, 1);
    EXPECT_EQ(resets[1].channel, 2);
    EXPECT_EQ(resets[1].at - resets[0].at, 200);
}

TEST(ChannelRun, APeerThatFailsLetsTheWaitingChannelFinishAlone) {
    EngineBench b;
    b.AddItem(4, "/i/code.fls");
    Boot(b, 1);
    Boot(b, 2);
    b.Event(K::StepSucceeded, 1);
    b.Event(K::StepFailed, 2, "link lost");
    b.loop.RunFor(2000);
    EXPECT_EQ(CallsOf(b, "reset"), (Calls{{"reset", 1, "", {1, 16, 17, 0}}}));
}

// In COMM mode an ended run keeps its loading state; with its port closed it
// must not hold back the channel waiting for it.
TEST(ChannelRun, InCommModeAPeerThatFailsOrIsStoppedLetsTheWaitingChannelFinish) {
    for (K end : {K::StepFailed, K::AbortRequested}) {
        EngineBench b(false);
        b.AddItem(4, "/i/code.fls");
        Boot(b, 1);
        Boot(b, 2);
        b.Event(K::StepSucceeded, 1);
        EXPECT_EQ(b.Row(1), "Wait DL complete");
        b.Event(end, 2, "link lost");
        EXPECT_EQ(b.State(2), S::LoadFls);
        EXPECT_FALSE(b.R(2).portOpen);
        b.loop.RunFor(2000);
        EXPECT_EQ(CallsOf(b, "reset"), (Calls{{"reset", 1, "", {1, 16, 17, 0}}}));
    }
}

TEST(ChannelRun, EepromAndDspDownloadsDoNotHoldBackAWaitingChannel) {
    for (int peerClass : {7, 13}) {
        EngineBench b;
        b.AddItem(peerClass, "/i/peer");
        Boot(b, 2);
        b.list.items[0].memoryClass = 4;
        Boot(b, 1);
        b.Event(K::StepSucceeded, 1);
        b.loop.RunFor(0);
        EXPECT_EQ(b.State(1), S::Finishing) << peerClass;
    }
}

TEST(FinishPass, VisitsEveryChannel200msApartAndEndsAfterTheEighthWhileOthersRun) {
    EngineBench b;
    b.AddItem(4, "/i/code.fls");
    for (int n : {1, 2, 8}) {
        b.R(n).portOpen = true;
        b.R(n).itemCursor = 1;
    }
    b.channels.SetState(b.R(8), S::WaitPeers);
    b.channels.SetState(b.R(1), S::LoadFls);
    b.Event(K::StepSucceeded, 1);  // no peer busy: pass A starts at 0
    b.loop.RunFor(100);
    b.channels.SetState(b.R(2), S::LoadFls);
    b.Event(K::StepSucceeded, 2);  // pass B starts at 100
    b.loop.RunFor(1599);
    EXPECT_NE(b.loop.PendingTasks(), 0u);
    b.loop.RunFor(1);
    EXPECT_EQ(b.loop.PendingTasks(), 0u);

    std::vector<std::pair<int, std::int64_t>> resets;
    for (const auto& c : CallsOf(b, "reset")) resets.emplace_back(c.channel, c.at);
    EXPECT_EQ(resets, (std::vector<std::pair<int, std::int64_t>>{{1, 0}, {2, 200}, {8, 1400}}));
}

TEST(ChannelRun, InCommModeASuccessfulChannelStaysFinishingWithItsPortClosedAndBlue) {
    EngineBench b(false);
    b.AddItem(4, "/i/code.fls");
    b.R(1).portOpen = true;
    b.Event(K::AbortRequested, 1);  // Stop on a Ready channel boots it
    b.Event(K::StepSucceeded, 1);
    b.Event(K::StepSucceeded, 1);
    b.loop.RunFor(0);
    b.Event(K::StepSucceeded, 1);
    EXPECT_EQ(b.State(1), S::Finishing);
    EXPECT_EQ(b.Row(1), "Done");
    EXPECT_FALSE(b.R(1).portOpen);
    EXPECT_EQ(b.LabelColour(1), kRowBlue);
    EXPECT_EQ(b.queue.Count(), 0);
}

TEST(ChannelRun, AResetThatFailsStillCompletesButTellsTheOperatorWhy) {
    EngineBench b;
    b.AddItem(4, "/i/code.fls");
    Boot(b, 1);
    b.Event(K::StepSucceeded, 1);
    b.loop.RunFor(0);
    b.Event(K::StepFailed, 1, "reset timed out");
    EXPECT_EQ(b.Row(1), "Done, Disconnect the phone");
    EXPECT_EQ(b.LabelColour(1), kGreen);
    EXPECT_EQ(b.Log(), Texts{"reset timed out"});
}

TEST(ChannelRun, BootFailuresAtDetection) {
    EngineBench b;
    b.Event(K::DeviceDetected, 1);  // empty list: the phone fails, its port closed
    const std::vector<std::string> shown = b.StatusHistory(1);
    EXPECT_NE(std::find(shown.begin(), shown.end(), "Setup error. Can't boot"), shown.end());
    EXPECT_EQ(b.State(1), S::WaitUnplug);
    EXPECT_FALSE(b.R(1).portOpen);

    b.AddItem(4, "/i/code.fls");
    b.fake.results["boot"] = 1;
    b.fake.writes["boot"] = "no answer";
    b.Event(K::DeviceDetected, 2);  // a refused boot fails without turning the row red
    EXPECT_EQ(b.LabelColour(2), kWhite);
    EXPECT_EQ(b.StatusHistory(2).at(2), "Boot Failed");
    EXPECT_EQ(b.Log(), (Texts{"Nothing to download: the image list is empty.", "no answer"}));
    EXPECT_EQ(b.State(2), S::WaitUnplug);
    EXPECT_FALSE(b.R(2).portOpen);
}

TEST(ChannelRun, ALibraryLackingADownloadOrResetCallSaysSoInsteadOfHanging) {
    EngineBench b;
    b.AddItem(4, "/i/code.fls");
    b.library.download_fls_file = nullptr;
    b.library.force_target_reset = nullptr;
    Boot(b, 1);
    EXPECT_EQ(b.StatusHistory(1).at(4), "Failed (FLS)");
    EXPECT_EQ(b.Log(), Texts{"The download library has no call for this memory class."});

    b.R(2).portOpen = true;
    b.channels.SetState(b.R(2), S::WaitPeers);
    b.Event(K::StepSucceeded, 2);
    EXPECT_EQ(b.Row(2), "Done, Disconnect the phone");
    EXPECT_EQ(b.Log().back(), "The download library has no call to reset the phone.");
}

}  // namespace
}  // namespace tandrel::test
