#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "channels/ChannelEvent.h"
#include "channels/EventRelay.h"
#include "support/SimulatedLoop.h"

namespace tandrel {
namespace {

struct Report {
    int channel;
    int status;
    std::string text;
    bool operator==(const Report&) const = default;
};

// A window attached to the relay, collecting what reaches its thread.
class RelayTest : public ::testing::Test {
protected:
    void SetUp() override {
        channels.Create();
        loop.SetHandlers(
            [this](WindowMessage& m) {
                ASSERT_EQ(m.id, WM_CHANNEL_EVENT);
                const auto& e = dynamic_cast<const ChannelEvent&>(*m.payload);
                delivered.push_back({e.channel, e.status, e.text});
            },
            [](int) {});
        AttachRelay(channels, loop);
    }
    void TearDown() override { DetachRelay(channels); }

    void SetState(int channel, ChannelState state) { channels.SetState(*channels.Record(channel), state); }

    ChannelTable channels;
    SimulatedLoop loop;
    std::vector<Report> delivered;
};

TEST_F(RelayTest, ProgressIsHeldBackWhileBootingOrLoadingTheFirstStage) {
    SetState(1, ChannelState::Booting);
    SetState(2, ChannelState::LoadPsi);
    SetState(3, ChannelState::LoadFls);
    for (int n = 1; n <= 3; ++n) LibraryCallback(n, 2, "40");
    loop.RunFor(0);
    EXPECT_EQ(delivered, (std::vector<Report>{{3, 2, "40"}}));
}

TEST_F(RelayTest, StepEndsPassInEveryStateAndOtherStatusesOnlyOutsideTheFilteredStates) {
    const ChannelState states[] = {ChannelState::Ready,     ChannelState::Booting,   ChannelState::LoadPsi,
                                   ChannelState::LoadFls,   ChannelState::WaitPeers, ChannelState::Finishing,
                                   ChannelState::WaitUnplug, ChannelState::Completed};
    for (ChannelState state : states) {
        SetState(4, state);
        delivered.clear();
        LibraryCallback(4, 0, "ok");
        LibraryCallback(4, 1, "boom");
        LibraryCallback(4, 7, "odd");
        loop.RunFor(0);
        const bool held = state == ChannelState::Booting || state == ChannelState::LoadPsi;
        std::vector<Report> expected = {{4, 0, "ok"}, {4, 1, "boom"}};
        if (!held) expected.push_back({4, 7, "odd"});
        EXPECT_EQ(delivered, expected) << StateName(state);
    }
}

TEST_F(RelayTest, OnlyTheLowEightBitsNameTheChannelAndUnknownChannelsAreDropped) {
    for (int channel : {0, 9, 255, 256, -256}) LibraryCallback(channel, 0, "stray");
    LibraryCallback(0x103, 0, "three");
    LibraryCallback(-253, 0, "also three");
    loop.RunFor(0);
    EXPECT_EQ(delivered, (std::vector<Report>{{3, 0, "three"}, {3, 0, "also three"}}));
}

TEST_F(RelayTest, ReportsKeepTheirOrderAndANullTextArrivesEmpty) {
    LibraryCallback(5, 2, "10");
    LibraryCallback(6, 2, nullptr);
    LibraryCallback(5, 2, "20");
    LibraryCallback(5, 0, "");
    loop.RunFor(0);
    EXPECT_EQ(delivered, (std::vector<Report>{{5, 2, "10"}, {6, 2, ""}, {5, 2, "20"}, {5, 0, ""}}));
}

TEST_F(RelayTest, AnOverlongTextIsCutToTheEventsField) {
    // On the heap with nothing after it, so a read past the end is caught.
    std::vector<char> text(5000, 'x');
    text.back() = '\0';
    LibraryCallback(1, 1, text.data());
    // Exactly as long as the field: no terminator in the first 1000 bytes.
    std::vector<char> exact(ChannelEvent::kTextSize + 1, 'y');
    exact.back() = '\0';
    LibraryCallback(2, 1, exact.data());
    loop.RunFor(0);
    ASSERT_EQ(delivered.size(), 2u);
    EXPECT_EQ(delivered[0].text, std::string(ChannelEvent::kTextSize - 1, 'x'));
    EXPECT_EQ(delivered[1].text, std::string(ChannelEvent::kTextSize - 1, 'y'));
}

TEST_F(RelayTest, NothingIsPostedOnceTheWindowIsDetached) {
    ChannelTable otherWindow;
    DetachRelay(otherWindow);
    LibraryCallback(1, 0, "still attached");
    DetachRelay(channels);
    LibraryCallback(1, 0, "too late");
    loop.RunFor(0);
    EXPECT_EQ(delivered, (std::vector<Report>{{1, 0, "still attached"}}));
}

TEST_F(RelayTest, ANewWindowTakesTheReportsOverFromTheOldOne) {
    ChannelTable newChannels;
    newChannels.Create();
    SimulatedLoop newLoop;
    int reachedNew = 0;
    newLoop.SetHandlers([&](WindowMessage&) { ++reachedNew; }, [](int) {});
    AttachRelay(newChannels, newLoop);
    LibraryCallback(1, 0, "for the new window");
    // The old window closing must not cut the new one off.
    DetachRelay(channels);
    LibraryCallback(1, 0, "still for the new window");
    newLoop.RunFor(0);
    loop.RunFor(0);
    EXPECT_EQ(reachedNew, 2);
    EXPECT_TRUE(delivered.empty());
    DetachRelay(newChannels);
}

}  // namespace
}  // namespace tandrel
