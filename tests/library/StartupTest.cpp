#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "library/EventRelay.h"
#include "library/LibraryBinding.h"
#include "library/StationHarness.h"
#include "support/SystemLoader.h"
#include "platform/sim/TableLoader.h"

namespace tandrel {
namespace {

using ::testing::ElementsAre;
using ::testing::StartsWith;

// The fake's own exports, reached the way the station reaches the library
// (and, like the station's, never unloaded).
struct FakeControls {
    explicit FakeControls(const char* path) : module(loader.Load(path, error)) {
        calls = reinterpret_cast<const char* (*)()>(loader.Resolve(module, "FakeCalls"));
        forget = reinterpret_cast<void (*)()>(loader.Resolve(module, "FakeForget"));
        callback = reinterpret_cast<IFWD_DL_Callback (*)()>(loader.Resolve(module, "FakeCallback"));
        forget();
    }
    SystemLoader loader;
    std::string error;
    void* module;
    const char* (*calls)();
    void (*forget)();
    IFWD_DL_Callback (*callback)();
};

constexpr const char* kParameterCalls =
    "set_dll_parameter 0 0\nset_dll_parameter 15 0\nset_dll_parameter 14 0\nset_dll_parameter 6 1\n"
    "set_dll_parameter 5 1\nset_dll_parameter 16 0\nset_dll_parameter 8 1\nset_dll_parameter 3 1\n"
    "set_dll_parameter 9 0\nset_dll_parameter 19 0\nset_dll_parameter 2 50000\nset_dll_parameter 1 20000\n";

void ExpectEightReadyRows(const StationHarness& station) {
    for (int n = 1; n <= 8; ++n) EXPECT_EQ(station.RowText(n), "READY") << "channel " << n;
}

TEST(LibraryStartup, RegistersTheCallbackThenSetsTheTwelveParametersThroughTheOneMessageBuffer) {
    FakeControls fake(FAKE_LIBRARY_PATH);
    SystemLoader loader;
    StationHarness station;
    auto dialog = station.Open(loader, "");

    EXPECT_EQ(std::string(fake.calls()), std::string("init_callback\n") + kParameterCalls);
    EXPECT_EQ(fake.callback(), &LibraryCallback);
    // The fake answers every call in msg; the last answer is in the window's buffer.
    EXPECT_STREQ(dialog->libraryMessage.Text(), "set_dll_parameter 1 20000");
    EXPECT_NE(g_libraryModule, nullptr);
    EXPECT_THAT(station.LogLines(), ElementsAre(std::string("Loaded the download library ") + FAKE_LIBRARY_PATH));
    ExpectEightReadyRows(station);
}

TEST(LibraryStartup, AnUnloadableLibraryIsReportedAndTheWindowStillOpens) {
    SystemLoader loader;
    StationHarness station;
    auto dialog = station.Open(loader, "/nonexistent.so");

    EXPECT_EQ(g_libraryModule, nullptr);
    EXPECT_EQ(dialog->libraryTable.set_dll_parameter, nullptr);
    ASSERT_EQ(station.LogLines().size(), 1u);
    EXPECT_THAT(station.LogLines()[0], StartsWith("Could not load the download library: /nonexistent.so"));
    ExpectEightReadyRows(station);
}

TEST(LibraryStartup, MissingEntryPointsAreNamedAndTheirSlotsAreNeverCalled) {
    FakeControls fake(FAKE_PARTIAL_LIBRARY_PATH);
    SystemLoader loader;
    StationHarness station;
    auto dialog = station.Open(loader, FAKE_PARTIAL_LIBRARY_PATH);

    EXPECT_EQ(std::string(fake.calls()), kParameterCalls);
    EXPECT_THAT(station.LogLines(),
                ElementsAre(std::string("The download library ") + FAKE_PARTIAL_LIBRARY_PATH +
                            " lacks _IFWD_DL_init_callback, _IFWD_DL_boot_target, _IFWD_DL_TOC_get_filename"));
}

int g_initCalls = 0;
int InitOnly(IFWD_DL_Callback, char*) { return ++g_initCalls; }

TEST(LibraryStartup, WithoutTheParameterEntryTheCallbackIsStillRegistered) {
    TableLoader loader;
    loader.Export(kLibraryFileName, "_IFWD_DL_init_callback", &InitOnly);
    StationHarness station;
    g_initCalls = 0;
    auto dialog = station.Open(loader, "");

    EXPECT_EQ(g_initCalls, 1);
    ASSERT_EQ(station.LogLines().size(), 1u);
    EXPECT_THAT(station.LogLines()[0], StartsWith(std::string("The download library ") + kLibraryFileName + " lacks "));
}

}  // namespace
}  // namespace tandrel
