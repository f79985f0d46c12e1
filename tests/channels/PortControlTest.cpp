// Opening and closing a channel's port in the library.
#include <gtest/gtest.h>

#include "EngineBench.h"

namespace tandrel::test {
namespace {

using Texts = std::vector<std::string>;

TEST(ChannelPorts, TheNameFollowsTheLinkChosenNowAndTheDeviceNumber) {
    EngineBench b(false);
    EXPECT_TRUE(b.engine.OpenChannelPort(&b.R(2)));
    EXPECT_EQ(b.fake.calls.at(0), (LibraryCall{"open", 2, "\\\\.\\COM0|\\\\.\\COM0", {460800}}));
    b.SetMode(true);
    b.R(4).deviceNumber = 4;
    b.engine.OpenChannelPort(&b.R(4));
    EXPECT_EQ(b.fake.calls.at(1).text, "\\\\.\\USB4|\\\\.\\USB4");
}

TEST(ChannelPorts, AnOpenPortIsNotOpenedAgainNorAClosedOneClosedAgain) {
    EngineBench b;
    b.R(1).portOpen = true;
    EXPECT_TRUE(b.engine.OpenChannelPort(&b.R(1)));
    EXPECT_TRUE(b.engine.CloseChannelPort(&b.R(2)));
    EXPECT_TRUE(b.fake.calls.empty());
    EXPECT_TRUE(b.Log().empty());
}

TEST(ChannelPorts, TheLibrarysMessageIsLoggedOnceWhetherTheOpenWorkedFailedOrThrew) {
    EngineBench b;
    b.fake.writes["open"] = "opened with a warning";
    EXPECT_TRUE(b.engine.OpenChannelPort(&b.R(1)));
    b.fake.writes["open"] = "no such port";
    b.fake.results["open"] = 5;
    EXPECT_FALSE(b.engine.OpenChannelPort(&b.R(2)));
    b.fake.writes["open"] = "half way";
    b.fake.throws["open"] = true;
    EXPECT_FALSE(b.engine.OpenChannelPort(&b.R(3)));
    EXPECT_TRUE(b.R(1).portOpen);
    EXPECT_FALSE(b.R(2).portOpen || b.R(3).portOpen);
    EXPECT_EQ(b.Log(), (Texts{"opened with a warning", "no such port", "half way",
                              "Opening \\\\.\\USB0 failed in the download library: library fault"}));
}

TEST(ChannelPorts, AFailedOrFaultyCloseLeavesThePortOpenForResetToRetry) {
    EngineBench b;
    b.R(1).portOpen = b.R(2).portOpen = b.R(3).portOpen = true;
    b.fake.results["close"] = 1;
    EXPECT_FALSE(b.engine.CloseChannelPort(&b.R(1)));
    b.fake.writes["close"] = "stuck";
    b.fake.throws["close"] = true;
    EXPECT_FALSE(b.engine.CloseChannelPort(&b.R(2)));
    EXPECT_TRUE(b.R(1).portOpen && b.R(2).portOpen);
    EXPECT_EQ(b.Log(), (Texts{"stuck", "Closing the port of channel 2 failed in the download library: library fault"}));
    b.fake = FakeLibrary{};
    EXPECT_TRUE(b.engine.CloseChannelPort(&b.R(3)));
    EXPECT_FALSE(b.R(3).portOpen);
    EXPECT_EQ(b.fake.calls.at(0), (LibraryCall{"close", 3, "", {}}));
}

TEST(ChannelPorts, ALibraryWithoutThePortCallsOpensAndClosesNothing) {
    EngineBench b;
    b.library.open_comm_port = nullptr;
    b.library.close_comm_port = nullptr;
    b.AddItem(4, "/i/code.fls");
    b.Event(ChannelEventKind::DeviceDetected, 1);
    EXPECT_EQ(b.Row(1), "Can't open port");
    EXPECT_EQ(b.State(1), ChannelState::Ready);
    b.R(2).portOpen = true;
    EXPECT_FALSE(b.engine.CloseChannelPort(&b.R(2)));
}

}  // namespace
}  // namespace tandrel::test
