#include <cstdlib>
#include <filesystem>

#include "LibraryHarness.h"

namespace tandrel::sim::test {
namespace {

std::string Contains(const std::string& text, const std::string& part) {
    return text.find(part) == std::string::npos ? "\"" + text + "\" lacks \"" + part + "\"" : "";
}

class LibraryFaultTest : public LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        MakeBench(1);
        image = PlainImage("code", 4, 300000);
    }
    Event Outcome() {
        std::optional<Event> outcome = Reports::Instance().NextOutcome(1);
        EXPECT_TRUE(outcome);
        return outcome.value_or(Event{1, -1, "no outcome"});
    }
    std::vector<std::string> FlashFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(bench->FlashDir("phone-1"))) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    std::string image;
};

TEST_F(LibraryFaultTest, OpenRefusedOrThrowingLeavesThePortClosed) {
    SetFault(1, "open=refuse");
    EXPECT_EQ(Open(1), 1);
    EXPECT_EQ(Contains(msg, "refused the connection"), "");
    SetFault(1, "open=throw");
    EXPECT_ANY_THROW(Open(1));
    EXPECT_EQ(Boot(1, image), 1);
    EXPECT_EQ(Contains(msg, "no open port"), "");
}

TEST_F(LibraryFaultTest, CloseRefusedOrThrowingLeavesThePortOpen) {
    ASSERT_EQ(Open(1), 0);
    SetFault(1, "close=refuse");
    EXPECT_EQ(Library().close_comm_port(1, msg), 1);
    EXPECT_EQ(Contains(msg, "would not close"), "");
    SetFault(1, "close=throw");
    EXPECT_ANY_THROW(Library().close_comm_port(1, msg));
    EXPECT_EQ(Boot(1, image), 0) << msg;
    EXPECT_EQ(Outcome().status, IFWD_DL_STATUS_OK);
}

TEST_F(LibraryFaultTest, BootRefusedReturnsOneAndReportsNothing) {
    SetFault(1, "boot=refuse");
    ASSERT_EQ(Open(1), 0);
    EXPECT_EQ(Boot(1, image), 1);
    EXPECT_EQ(Contains(msg, "refused the boot"), "");
    EXPECT_TRUE(Reports::Instance().Of(1).empty());
    EXPECT_EQ(bench->ReadState("phone-1"), phone_state::kFailed) << "the robot unplugs it";
}

TEST_F(LibraryFaultTest, BootFailureIsReportedWithAReason) {
    SetFault(1, "boot=fail");
    ASSERT_EQ(Open(1), 0);
    ASSERT_EQ(Boot(1, image), 0);
    Event outcome = Outcome();
    EXPECT_EQ(outcome.status, IFWD_DL_STATUS_FAILED);
    EXPECT_EQ(Contains(outcome.text, "did not answer"), "");
    EXPECT_EQ(bench->ReadState("phone-1"), phone_state::kFailed);
}

TEST_F(LibraryFaultTest, ItemsAreCountedFromOneAfterEachBoot) {
    SetFault(1, "item2=refuse");
    ASSERT_TRUE(OpenAndBoot(1, image));
    ASSERT_EQ(Download(1, "|0|" + image), 0) << msg;
    EXPECT_EQ(Outcome().status, IFWD_DL_STATUS_OK);
    EXPECT_EQ(Download(1, "|0|" + image), 1);
    EXPECT_EQ(Contains(msg, "refused item 2 (code)"), "");
    ASSERT_EQ(Boot(1, image), 0);
    EXPECT_EQ(Outcome().status, IFWD_DL_STATUS_OK);
    EXPECT_EQ(Download(1, "|0|" + image), 0) << msg;
    EXPECT_EQ(Outcome().status, IFWD_DL_STATUS_OK);
}

TEST_F(LibraryFaultTest, AFailedItemLeavesNothingInTheFlash) {
    SetFault(1, "item1=fail");
    ASSERT_TRUE(OpenAndBoot(1, image));
    ASSERT_EQ(Download(1, "|0|" + image), 0) << msg;
    Event outcome = Outcome();
    EXPECT_EQ(outcome.status, IFWD_DL_STATUS_FAILED);
    EXPECT_EQ(Contains(outcome.text, "item 1 (code): flash write error on USB1"), "");
    EXPECT_TRUE(FlashFiles().empty());
}

TEST_F(LibraryFaultTest, ResetFailureIsReported) {
    SetFault(1, "reset=fail");
    ASSERT_TRUE(OpenAndBoot(1, image));
    ASSERT_EQ(Library().force_target_reset(1, 1, 16, 17, 0, msg), 0);
    Event outcome = Outcome();
    EXPECT_EQ(outcome.status, IFWD_DL_STATUS_FAILED);
    EXPECT_EQ(Contains(outcome.text, "reset failed"), "");
    EXPECT_NE(bench->ReadState("phone-1"), phone_state::kResetDone);
}

TEST_F(LibraryFaultTest, UnplugFaultPullsThePhoneMidItem) {
    SetFault(1, "unplug=2@50");
    ASSERT_TRUE(OpenAndBoot(1, image));
    ASSERT_EQ(Download(1, "|0|" + image), 0) << msg;
    EXPECT_EQ(Outcome().status, IFWD_DL_STATUS_OK);
    ASSERT_EQ(Download(1, "|0|" + image), 0) << msg;
    Event outcome = Outcome();
    EXPECT_EQ(outcome.status, IFWD_DL_STATUS_FAILED);
    EXPECT_EQ(Contains(outcome.text, "USB connection lost"), "");
    EXPECT_FALSE(bench->IsPlugged("phone-1"));
    std::vector<Event> events = Reports::Instance().Of(1);
    EXPECT_LT(std::atoi(events[events.size() - 2].text.c_str()), 100);
}

TEST_F(LibraryFaultTest, PullingThePhoneDuringADownloadFailsIt) {
    SetFault(1, "rate=100K");
    ASSERT_TRUE(OpenAndBoot(1, image));
    ASSERT_EQ(Download(1, "|0|" + image), 0) << msg;
    ASSERT_TRUE(Reports::Instance().WaitProgress(1, 5));
    std::string error;
    ASSERT_TRUE(bench->Unplug("phone-1", error)) << error;
    Event outcome = Outcome();
    EXPECT_EQ(outcome.status, IFWD_DL_STATUS_FAILED);
    EXPECT_EQ(Contains(outcome.text, "USB connection lost: the phone on USB1 was unplugged"), "");
    EXPECT_TRUE(FlashFiles().empty());
}

TEST_F(LibraryFaultTest, APhonePulledAndPutBackIsNotThePortsPhone) {
    ASSERT_EQ(Open(1), 0);
    std::string error;
    ASSERT_TRUE(bench->Unplug("phone-1", error));
    ASSERT_TRUE(bench->Plug(1, error));
    ASSERT_EQ(Boot(1, image), 0);
    EXPECT_EQ(Outcome().status, IFWD_DL_STATUS_FAILED);
}

TEST_F(LibraryFaultTest, AbortCancelsSilentlyAndLeavesNoPartialItem) {
    SetFault(1, "rate=100K");
    ASSERT_TRUE(OpenAndBoot(1, image));
    ASSERT_EQ(Download(1, "|0|" + image), 0) << msg;
    ASSERT_TRUE(Reports::Instance().WaitProgress(1, 5));
    EXPECT_EQ(Library().abort_process(1, msg), 0);
    std::size_t reported = Reports::Instance().Of(1).size();
    // Close waits for the worker to wind down, so anything the cancelled
    // download still had to say would have been said by now.
    ASSERT_EQ(Library().close_comm_port(1, msg), 0) << msg;
    EXPECT_EQ(Reports::Instance().Of(1).size(), reported);
    EXPECT_TRUE(FlashFiles().empty());
    EXPECT_EQ(bench->ReadState("phone-1"), phone_state::kAborted);
    ASSERT_EQ(Open(1), 0) << msg;
    EXPECT_EQ(Boot(1, image), 0) << msg;
}

TEST_F(LibraryFaultTest, ABadRateInTheEnvironmentRefusesTheDownload) {
    ASSERT_TRUE(OpenAndBoot(1, image));
    ::setenv("TANDREL_SIM_BUS_RATE", "fast", 1);
    EXPECT_EQ(Download(1, "|0|" + image), 1);
    EXPECT_EQ(Contains(msg, "TANDREL_SIM_BUS_RATE=fast is not a rate"), "");
}

}  // namespace
}  // namespace tandrel::sim::test
