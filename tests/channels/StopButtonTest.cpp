// The Stop buttons, clicked on the main window.
#include <gtest/gtest.h>

#include "EngineBench.h"

namespace tandrel::test {
namespace {

using K = ChannelEventKind;
using S = ChannelState;

// After Start: Start disabled, every Stop enabled.
struct Started : EngineBench {
    explicit Started(bool usb = true) : EngineBench(usb) {
        dialog.display.EnableControl(IDC_START, false);
        for (int n = 1; n <= 8; ++n) dialog.display.EnableControl(StopButtonId(n), true);
        AddItem(4, "/i/code.fls");
    }
    void Detect(int n) {
        R(n).deviceNumber = n;
        Event(K::DeviceDetected, n);
    }
    bool ClickStop(int n) { return controls.Click(StopButtonId(n)); }
};

TEST(StopButton, AbortsOnlyItsOwnDownloadingChannelAndMakesStartUsable) {
    for (bool usb : {true, false}) {
        Started st(usb);
        for (int n : {2, 5}) {
            st.Detect(n);
            st.Event(K::StepSucceeded, n);
        }
        ASSERT_TRUE(st.ClickStop(5));

        EXPECT_FALSE(st.R(5).portOpen);
        EXPECT_FALSE(st.StopEnabled(5));
        EXPECT_TRUE(st.controls.IsEnabled(IDC_START));
        EXPECT_EQ(st.LabelColour(5), kRed);
        EXPECT_EQ(st.State(5), usb ? S::WaitUnplug : S::LoadFls);
        EXPECT_EQ(st.Row(5), usb ? "Abort, Disc the phone" : "Downloading FLS");
        EXPECT_EQ(st.fake.calls.back(), (LibraryCall{"close", 5, "", {}}));
        EXPECT_EQ(st.State(2), S::LoadFls);
        EXPECT_TRUE(st.R(2).portOpen && st.StopEnabled(2));
        const std::string journal = st.JournalText();
        EXPECT_NE(journal.find("\"ev\":\"state\",\"ch\":5,\"state\":\"Booting\"}\n"), std::string::npos);
        EXPECT_NE(journal.find("\"ev\":\"enable\",\"id\":1031,\"on\":false"), std::string::npos);
    }
}

TEST(StopButton, AChannelAwaitingItsUnplugAfterSuccessIsNoLongerASuccess) {
    Started st;
    st.Detect(5);
    st.Event(K::StepSucceeded, 5);
    st.Event(K::StepSucceeded, 5);
    st.loop.RunFor(1000);
    st.Event(K::StepSucceeded, 5);
    ASSERT_EQ(st.Row(5), "Done, Disconnect the phone");
    ASSERT_TRUE(st.R(5).succeeded);

    st.ClickStop(5);
    EXPECT_FALSE(st.R(5).succeeded);
    EXPECT_EQ(st.Row(5), "Abort, Disc the phone");
    st.loop.RunFor(3000);  // the phone is gone at the next scan
    EXPECT_EQ(st.State(5), S::Ready);
    EXPECT_EQ(st.Row(5), "Fail");
}

TEST(StopButton, OnAReadyChannelBootsWithoutOpeningThePortAndEndsDisabled) {
    Started st;
    st.ClickStop(3);
    EXPECT_EQ(st.fake.Entries(), std::vector<std::string>{"boot"});
    EXPECT_EQ(st.State(3), S::Booting);
    EXPECT_FALSE(st.StopEnabled(3));

    st.list.count = 0;
    st.ClickStop(4);
    EXPECT_EQ(st.Row(4), "Setup error. Can't boot");
    EXPECT_EQ(st.fake.calls.size(), 1u);
}

TEST(StopButton, ComesBackOnceANewPhoneOnItsChannelHasBooted) {
    Started st;
    st.list.count = 0;
    for (int n = 1; n <= 8; ++n) st.ClickStop(n);
    st.list.count = 1;
    for (int n = 1; n <= 8; ++n) {
        ASSERT_FALSE(st.StopEnabled(n));
        st.Detect(n);
        EXPECT_TRUE(st.StopEnabled(n)) << n;
    }
}

}  // namespace
}  // namespace tandrel::test
