// Every cell of the channel event table, in both link modes.
#include <gtest/gtest.h>

#include "EngineBench.h"

namespace tandrel::test {
namespace {

using K = ChannelEventKind;
using S = ChannelState;

enum class Outcome { Boot, Detect, NextItem, Fail, Abort, Finish, Complete, Nothing };

struct Row {
    S state;
    Outcome onSucceeded, onFailed, onDetected, onAbort;
    const char* failText;
};

constexpr Outcome B = Outcome::Boot, D = Outcome::Detect, N = Outcome::NextItem, F = Outcome::Fail,
                  A = Outcome::Abort, Fin = Outcome::Finish, C = Outcome::Complete, X = Outcome::Nothing;

const Row kTable[] = {
    {S::Ready, B, B, D, B, ""},
    {S::Booting, N, F, N, A, "Boot Failed"},
    {S::LoadPsi, N, F, N, A, "Failed (NAND PSI)"},
    {S::LoadSlb, N, F, N, A, "Failed (NAND SLB)"},
    {S::LoadFls, N, F, N, A, "Failed (FLS)"},
    {S::LoadEep, N, F, N, A, "Failed (EEP)"},
    {S::LoadDsp, N, F, N, A, "Failed (DSP)"},
    {S::LoadFfs, N, F, N, A, "Failed (DFFS/DFAT)"},
    {S::LoadCust, N, F, N, A, "Failed (Cust.)"},
    {S::WaitPeers, Fin, Fin, Fin, A, ""},
    {S::Finishing, C, C, C, A, ""},
    {S::WaitUnplug, X, X, X, A, ""},
    {S::Completed, X, X, X, A, ""},
};

struct Cell {
    Row row;
    K kind;
    bool usb;
    Outcome outcome() const {
        switch (kind) {
            case K::StepSucceeded: return row.onSucceeded;
            case K::StepFailed: return row.onFailed;
            case K::DeviceDetected: return row.onDetected;
            case K::AbortRequested: return row.onAbort;
        }
        return X;
    }
};

std::vector<Cell> AllCells() {
    std::vector<Cell> cells;
    for (const Row& row : kTable)
        for (K kind : {K::StepSucceeded, K::StepFailed, K::DeviceDetected, K::AbortRequested})
            for (bool usb : {true, false}) cells.push_back({row, kind, usb});
    return cells;
}

void PrintTo(const Cell& cell, std::ostream* os) {
    *os << StateName(cell.row.state) << " kind " << static_cast<int>(cell.kind) << (cell.usb ? " USB" : " COMM");
}

class EventTable : public ::testing::TestWithParam<Cell> {};

// Channel 3 with one Code item left to download and its port open (closed
// when Ready); the other channels idle.
TEST_P(EventTable, CellDoesWhatTheTableSays) {
    const Cell cell = GetParam();
    EngineBench b(cell.usb);
    b.AddItem(4, "/img/code.fls");
    ChannelRecord& r = b.R(3);
    r.deviceNumber = 3;
    r.portOpen = cell.row.state != S::Ready;
    r.itemCursor = cell.row.state == S::Ready ? 5 : 0;
    if (cell.row.state != S::Ready) r.armedList = ArmWith(b.list, nullptr);
    b.channels.SetState(r, cell.row.state);
    b.dialog.display.EnableControl(StopButtonId(3), false);
    const bool portWasOpen = r.portOpen;

    b.Event(cell.kind, 3, "boom");

    const std::string portName = cell.usb ? "\\\\.\\USB3" : "\\\\.\\COM3";
    const LibraryCall boot{"boot", 3, "/img/code.fls", {0}};
    const bool parked = cell.usb && cell.outcome() != Outcome::Nothing;
    switch (cell.outcome()) {
        case Outcome::Boot:
        case Outcome::Detect:
            if (cell.outcome() == Outcome::Detect) {
                EXPECT_EQ(b.fake.calls, (std::vector<LibraryCall>{{"open", 3, portName + "|" + portName, {460800}}, boot}));
                EXPECT_EQ(r.itemCursor, 0);
            } else {
                EXPECT_EQ(b.fake.calls, std::vector<LibraryCall>{boot});
                EXPECT_EQ(r.itemCursor, 5);
            }
            EXPECT_EQ(r.state, S::Booting);
            EXPECT_EQ(b.Row(3), cell.usb ? "Wait for USB" : "Booting...");
            EXPECT_TRUE(b.controls.IsEnabled(StopButtonId(3)));
            break;
        case Outcome::NextItem:
            EXPECT_EQ(b.fake.calls, (std::vector<LibraryCall>{{"fls", 3, "|0|/img/code.fls", {}}}));
            EXPECT_EQ(r.state, S::LoadFls);
            EXPECT_EQ(b.Row(3), "Downloading FLS");
            EXPECT_EQ(b.LabelColour(3), kRowBlue);
            break;
        case Outcome::Fail:
            EXPECT_EQ(b.fake.Entries(), std::vector<std::string>{"close"});
            EXPECT_EQ(b.Log(), std::vector<std::string>{"boom"});
            EXPECT_EQ(b.StatusHistory(3).at(1), cell.row.failText);
            EXPECT_EQ(r.state, parked ? S::WaitUnplug : cell.row.state);
            EXPECT_EQ(b.Row(3), parked ? "Error, Disc the phone" : cell.row.failText);
            break;
        case Outcome::Abort:
            EXPECT_EQ(b.fake.Entries(),
                      (portWasOpen ? std::vector<std::string>{"abort", "close"} : std::vector<std::string>{"abort"}));
            EXPECT_EQ(r.state, parked ? S::WaitUnplug : cell.row.state);
            EXPECT_EQ(b.Row(3), parked ? "Abort, Disc the phone" : "READY");
            break;
        case Outcome::Finish:
            EXPECT_EQ(b.fake.calls, (std::vector<LibraryCall>{{"reset", 3, "", {1, 16, 17, 0}}}));
            EXPECT_EQ(r.state, S::Finishing);
            EXPECT_EQ(b.Row(3), "Done");
            break;
        case Outcome::Complete:
            EXPECT_EQ(b.fake.Entries(), std::vector<std::string>{"close"});
            EXPECT_TRUE(r.succeeded);
            EXPECT_EQ(r.state, cell.usb ? S::WaitUnplug : S::Finishing);
            EXPECT_EQ(b.Row(3), cell.usb ? "Done, Disconnect the phone" : "READY");
            break;
        case Outcome::Nothing:
            EXPECT_TRUE(b.fake.calls.empty());
            EXPECT_EQ(r.state, cell.row.state);
            break;
    }

    // The run's end closes the port, queues the channel for its unplug and
    // keeps scanning; everything else leaves queue and scanning alone.
    const bool ends = cell.outcome() == Outcome::Fail || cell.outcome() == Outcome::Abort ||
                      cell.outcome() == Outcome::Complete;
    EXPECT_TRUE(!ends || !r.portOpen);
    EXPECT_EQ(b.queue.Count(), parked && ends ? 1 : 0);
    EXPECT_EQ(b.loop.IsTimerSet(1), parked && ends);
    const bool paused = portWasOpen && (cell.outcome() == Outcome::Fail || cell.outcome() == Outcome::Abort);
    EXPECT_EQ(b.loop.Now(), paused ? 100 : 0);

    Colour expected = kWhite;
    if (cell.kind == K::StepFailed || cell.kind == K::AbortRequested) expected = kRed;
    if (cell.outcome() == Outcome::NextItem) expected = kRowBlue;
    if (cell.outcome() == Outcome::Complete && cell.usb) expected = kGreen;
    EXPECT_EQ(b.LabelColour(3), expected);
}

std::string CellName(const ::testing::TestParamInfo<Cell>& info) {
    static const char* kinds[] = {"Succeeded", "StepFailure", "Detected", "Abort"};
    return std::string(StateName(info.param.row.state)) + "_" + kinds[static_cast<int>(info.param.kind)] + "_" +
           (info.param.usb ? "Usb" : "Comm");
}

INSTANTIATE_TEST_SUITE_P(AllCells, EventTable, ::testing::ValuesIn(AllCells()), CellName);

}  // namespace
}  // namespace tandrel::test
