// What goes wrong for an operator at the real window, on the simulator and a
// bench of phones: a stray Enter, ports that will not open or close, reports
// that arrive while Reset closes the ports, and Start pressed mid-run.
#include <QColor>
#include <algorithm>

#include "BenchFixture.h"
#include "RowChecks.h"
#include "SimStation.h"
#include "ui/ControlIds.h"
#include "usb/Timers.h"

namespace tandrel::e2e {
namespace {

// A phone at this rate is a few seconds into its Code item when the tests
// act on it.
constexpr const char* kCodeTakesFourSeconds = "rate=64K";

class OperatorFaults : public BenchTest {
protected:
    // Every row's text and its channel's state.
    static std::vector<std::string> Rows(SimStation& station) {
        std::vector<std::string> rows;
        for (int n = 1; n <= ChannelTable::channelCount; ++n) {
            rows.push_back(station.Row(n) + " / " + std::string(StateName(station.Record(n).state.load())));
        }
        return rows;
    }

    // Lets the window run for ms, whatever happens meanwhile.
    static void RunWindow(SimStation& station, int ms) {
        station.Await([] { return false; }, ms);
    }

    static std::vector<JournalRecord> Results(SimStation& station, int channel) {
        std::vector<JournalRecord> results;
        for (const JournalRecord& r : station.Records()) {
            if (r.ev == "result" && r.ch == channel) results.push_back(r);
        }
        return results;
    }
};

// Return and keypad Enter in the Comm field, a path field and the Driver box
// change nothing, before Start, during a run and after Reset; on a focused
// push button they click it.
TEST_F(OperatorFaults, EnterInAFieldDoesNothingAndOnAFocusedButtonClicksIt) {
    bench.SetFault(2, kSlowLink);
    PlugPhones({2});
    SimStation station(bench, {container});
    auto expectEnterChangesNothing = [&](const char* when) {
        SCOPED_TRACE(when);
        const std::vector<std::string> before = Rows(station);
        for (ControlId field : {IDC_COMM_NUMBER, SlotPathId(0), IDC_DRIVER}) {
            station.PressKey(field, Qt::Key_Return);
            station.PressKey(field, Qt::Key_Enter, Qt::KeypadModifier);
        }
        RunWindow(station, 200);
        EXPECT_EQ(Rows(station), before);
        EXPECT_TRUE(station.WindowOpen());
    };

    expectEnterChangesNothing("before Start");
    station.Click(IDC_START);
    ASSERT_TRUE(station.Await([&] { return station.Row(2) == "Downloading FLS"; }));
    expectEnterChangesNothing("during a run");

    station.PressKey(StopButtonId(2), Qt::Key_Return);
    EXPECT_EQ(station.Row(2), "Abort, Disc the phone");
    station.ResetAnsweringTheBox();
    expectEnterChangesNothing("after Reset");
    station.PressKey(IDC_START, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_FALSE(station.Enabled(IDC_START)) << "keypad Enter clicked the focused Start";
    EXPECT_EQ(station.Row(1), "Wait for USB");
}

// Refused or thrown, after a success or a failure: while the phone is in,
// its row keeps asking for the unplug; only its going ends the run.
TEST_F(OperatorFaults, APhoneWhosePortWillNotCloseIsNotTakenForUnpluggedWhileItIsIn) {
    struct Case {
        const char* closeFault;
        const char* runFault;  // "" for a run that succeeds
    };
    const Case cases[] = {{"close=refuse", ""}, {"close=throw", ""}, {"close=refuse", "item3=fail"},
                          {"close=throw", "item3=fail"}};
    // Phone n + 1 takes case n.
    for (int n = 1; n <= 4; ++n) {
        const Case& c = cases[n - 1];
        bench.SetFault(n, c.closeFault);
        if (*c.runFault) bench.SetFault(n, c.runFault);
    }
    PlugPhones({1, 2, 3, 4});
    SimStation station(bench, {container});
    station.Click(IDC_START);
    auto waiting = [&](int n) {
        return *cases[n - 1].runFault ? "Error, Disc the phone" : "Done, Disconnect the phone";
    };
    for (int n = 1; n <= 4; ++n) {
        ASSERT_TRUE(station.Await([&] { return station.Row(n) == waiting(n); }))
            << "row " << n << ": " << station.Row(n);
    }

    RunWindow(station, 1000);
    for (int n = 1; n <= 4; ++n) {
        SCOPED_TRACE("phone " + std::to_string(n));
        EXPECT_TRUE(station.Record(n).portOpen);
        EXPECT_EQ(station.Row(n), waiting(n));
        EXPECT_EQ(station.Record(n).state.load(), ChannelState::WaitUnplug);
        EXPECT_FALSE(Contains(station.History(n), "USB disconnected"));
    }
    EXPECT_TRUE(AnyContains(station.Log(), "would not close"));
    EXPECT_TRUE(AnyContains(station.Log(), "failed in the download library: USB2: the port driver crashed"));

    for (int n = 1; n <= 4; ++n) bench.Unplug(n);
    for (int n = 1; n <= 4; ++n) {
        SCOPED_TRACE("phone " + std::to_string(n));
        const bool failed = *cases[n - 1].runFault;
        ASSERT_TRUE(station.AwaitShown(n, failed ? "Fail" : "USB disconnected"));
        EXPECT_EQ(station.Record(n).state.load(), failed ? ChannelState::Ready : ChannelState::Completed);
        EXPECT_EQ(station.Dialog().loop.IsTimerSet(ResultTimerId(n)), !failed) << "\"Success\" follows";
    }
}

// Eight phones whose items end while Reset closes one port after another:
// what the library reported meanwhile is for runs Reset has ended.
TEST_F(OperatorFaults, ReportsMadeWhileResetClosesThePortsStartNothingAfterIt) {
    for (int n = 1; n <= 8; ++n) bench.SetFault(n, kCodeTakesFourSeconds);
    PlugPhones({1, 2, 3, 4, 5, 6, 7, 8});
    SimStation station(bench, {container});
    station.Click(IDC_START);
    // Two seconds or less from the end of their Code items; Reset takes four.
    ASSERT_TRUE(station.AwaitDownloading({1, 2, 3, 4, 5, 6, 7, 8}, 50));

    station.ResetAnsweringTheBox();
    RunWindow(station, 1500);
    int endedDuringReset = 0;
    for (int n = 1; n <= 8; ++n) {
        SCOPED_TRACE("channel " + std::to_string(n));
        EXPECT_EQ(station.Row(n), "Restart");
        EXPECT_EQ(station.RowColour(n), QColor(Qt::white));
        EXPECT_EQ(station.Record(n).state.load(), ChannelState::Ready);
        EXPECT_FALSE(station.Record(n).portOpen);
        EXPECT_EQ(station.Progress(n), 0);
        // "closed": the phone's item had ended when Reset closed its port.
        endedDuringReset += bench.PhoneState(n) == "closed";
        EXPECT_TRUE(bench.PhoneState(n) == "closed" || bench.PhoneState(n) == "aborted") << bench.PhoneState(n);
    }
    EXPECT_GT(endedDuringReset, 0) << "no item ended while Reset ran: the test proved nothing";
}

// The image list as the Start that armed each phone built it: a phone
// running when Start is pressed again takes all of its images, a phone armed
// after it the new selection, and each result names exactly those.
TEST_F(OperatorFaults, StartPressedMidRunChangesTheListOnlyForPhonesArmedAfterIt) {
    bench.SetFault(2, kSlowLink);
    PlugPhones({2});
    SimStation station(bench, images);
    station.Click(IDC_START);
    ASSERT_TRUE(station.Await([&] { return station.Row(2) == "Downloading FLS"; }));

    for (int slot : {3, 4}) station.Click(SlotCheckBoxId(slot));
    station.Click(StopButtonId(1));  // makes Start usable
    station.Click(IDC_START);
    const std::vector<std::string> chosen(images.begin(), images.begin() + 3);
    bench.Plug(3);
    for (int n : {3, 2}) {
        ASSERT_TRUE(station.Await([&] { return station.Row(n) == "Done, Disconnect the phone"; }))
            << "row " << n << ": " << station.Row(n);
    }
    EXPECT_EQ(bench.FlashDifference(2, images), "");
    EXPECT_EQ(bench.FlashDifference(3, chosen), "");

    for (int n : {2, 3}) bench.Unplug(n);
    for (int n : {2, 3}) {
        ASSERT_TRUE(station.AwaitShown(n, "USB disconnected"));
        station.Dialog().OnTimer(ResultTimerId(n));  // rather than wait the 35 s
    }
    for (int n : {2, 3}) {
        SCOPED_TRACE("phone " + std::to_string(n));
        const std::vector<JournalRecord> results = Results(station, n);
        ASSERT_EQ(results.size(), 1u);
        EXPECT_EQ(results[0]["result"], "Success");
        const std::string named = results[0]["images"];
        const auto& taken = n == 2 ? images : chosen;
        for (const std::string& image : images) {
            const bool expected = std::find(taken.begin(), taken.end(), image) != taken.end();
            EXPECT_EQ(named.find("|0|" + image + "\"") != std::string::npos, expected) << image << " in " << named;
        }
    }
}

// A phone whose port will not open is tried once and keeps its row; pulled
// and plugged again it is served, while the phones beside it run on.
TEST_F(OperatorFaults, APhoneWhosePortWillNotOpenIsServedOncePluggedAgain) {
    for (int n : {1, 2}) bench.SetFault(n, kCodeTakesFourSeconds);
    bench.SetFault(3, "open=refuse");
    bench.SetFault(4, "open=throw");
    PlugPhones({1, 2});
    SimStation station(bench, {container});
    station.Click(IDC_START);
    ASSERT_TRUE(station.Await([&] {
        return station.Row(1) == "Downloading FLS" && station.Row(2) == "Downloading FLS";
    }));

    PlugPhones({3, 4});
    for (int n : {3, 4}) ASSERT_TRUE(station.AwaitShown(n, "Can't open port"));
    RunWindow(station, 500);
    for (int n : {3, 4}) {
        SCOPED_TRACE("phone " + std::to_string(n));
        EXPECT_EQ(station.Row(n), "Can't open port");
        const std::vector<std::string> history = station.History(n);
        EXPECT_EQ(std::count(history.begin(), history.end(), "Please wait..."), 1) << "tried once";
        const std::vector<JournalRecord> results = Results(station, n);
        ASSERT_EQ(results.size(), 1u);
        EXPECT_EQ(results[0]["result"], "Fail");
        EXPECT_EQ(results[0]["images"], "[]");
    }
    EXPECT_TRUE(AnyContains(station.Log(), "USB3: the phone refused the connection"));
    EXPECT_TRUE(AnyContains(station.Log(), "Opening \\\\.\\USB4 failed in the download library"));

    for (int n : {3, 4}) {
        bench.Unplug(n);
        bench.ClearFaults(n);
    }
    RunWindow(station, 500);  // the scan sees them gone
    PlugPhones({3, 4});
    for (int n : {3, 4, 1, 2}) {
        SCOPED_TRACE("phone " + std::to_string(n));
        ASSERT_TRUE(station.Await([&] { return station.Row(n) == "Done, Disconnect the phone"; })) << station.Row(n);
        EXPECT_EQ(bench.FlashDifference(n, {container}), "");
        if (n <= 2) {
            EXPECT_TRUE(RanThrough(station.History(n), {"Done, Disconnect the phone"}));
        }
    }
}

}  // namespace
}  // namespace tandrel::e2e
