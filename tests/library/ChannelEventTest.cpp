#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "channels/ChannelEvent.h"
#include "channels/EventRelay.h"
#include "support/Station.h"
#include "support/TableLoader.h"

namespace tandrel {
namespace {

struct Delivered {
    std::vector<std::string> steps;
    std::vector<std::pair<int, int>> progress;
};

Delivered Deliver(int status, const char* text) {
    Delivered d;
    DeliverChannelEvent(
        ChannelEvent(3, status, text),
        [&](ChannelEventKind kind, int channel, std::string_view t) {
            d.steps.push_back(std::to_string(static_cast<int>(kind)) + " " + std::to_string(channel) + " " +
                              std::string(t));
        },
        [&](int channel, int percent) { d.progress.emplace_back(channel, percent); });
    return d;
}

TEST(ChannelEventDelivery, StepEndsGoToTheStateMachineWithTheirText) {
    EXPECT_EQ(Deliver(0, "booted").steps, std::vector<std::string>{"0 3 booted"});
    EXPECT_EQ(Deliver(1, "no answer").steps, std::vector<std::string>{"1 3 no answer"});
    EXPECT_TRUE(Deliver(0, "booted").progress.empty());
}

TEST(ChannelEventDelivery, ProgressTakesTheLeadingNumberAndOtherStatusesAreIgnored) {
    EXPECT_EQ(Deliver(2, "57").progress, (std::vector<std::pair<int, int>>{{3, 57}}));
    EXPECT_EQ(Deliver(2, "abc").progress, (std::vector<std::pair<int, int>>{{3, 0}}));
    EXPECT_EQ(Deliver(2, " \t+42% done").progress, (std::vector<std::pair<int, int>>{{3, 42}}));
    for (int status : {3, -1, 1026}) {
        const Delivered d = Deliver(status, "57");
        EXPECT_TRUE(d.steps.empty() && d.progress.empty()) << status;
    }
}

TEST(LeadingInteger, ReadsSignAndDigitsAndSaturatesInsteadOfOverflowing) {
    EXPECT_EQ(LeadingInteger(""), 0);
    EXPECT_EQ(LeadingInteger("-"), 0);
    EXPECT_EQ(LeadingInteger("- 5"), 0);
    EXPECT_EQ(LeadingInteger("  -7x"), -7);
    EXPECT_EQ(LeadingInteger("2147483647"), INT_MAX);
    EXPECT_EQ(LeadingInteger("2147483648"), INT_MAX);
    EXPECT_EQ(LeadingInteger("-2147483648"), INT_MIN);
    EXPECT_EQ(LeadingInteger("-99999999999999999999999999"), INT_MIN);
    EXPECT_EQ(LeadingInteger("000000000000000000000000042"), 42);
}

TEST(ChannelEventWindow, AProgressReportMovesTheChannelsBar) {
    TableLoader loader;
    test::Station<> station({{}, &loader});
    station.dialog.OnInitDialog();
    for (int n : {6, 7}) station.dialog.channelTable.Record(n)->BeginSession();  // runs under way
    LibraryCallback(6, 2, "57");
    LibraryCallback(7, 2, "abc");
    station.window.loop.RunFor(0);
    EXPECT_EQ(station.Progress(6), 57);
    EXPECT_EQ(station.Progress(7), 0);
}

TEST(ChannelEventWindow, AppendLogAddsTheSendersTextAndLeavesItWithTheSender) {
    TableLoader loader;
    test::Station<> station({{}, &loader});
    station.dialog.OnInitDialog();
    const std::string text = "from elsewhere";
    SimulatedLoop& loop = station.window.loop;
    loop.Post(WindowMessage{WM_APPEND_LOG, std::make_unique<AppendLogText>(text.c_str())});
    loop.Post(WindowMessage{WM_APPEND_LOG, std::make_unique<AppendLogText>(nullptr)});
    loop.Post(WindowMessage{WM_APPEND_LOG, nullptr});
    loop.RunFor(0);
    ASSERT_FALSE(station.Log().empty());
    EXPECT_EQ(station.Log().back(), text);
    EXPECT_EQ(station.Log().size(), 2u);
}

}  // namespace
}  // namespace tandrel
