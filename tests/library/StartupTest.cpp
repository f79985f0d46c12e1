#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "channels/EventRelay.h"
#include "library/LibraryBinding.h"
#include "support/FakeLibrary.h"
#include "support/Station.h"
#include "support/SystemLoader.h"
#include "support/TableLoader.h"

namespace tandrel {
namespace {

using ::testing::ElementsAre;
using ::testing::StartsWith;
using Texts = std::vector<std::string>;

// The fake inside a shared library, reached the way the station reaches the
// library (and, like the station's, never unloaded), with a fresh script.
test::FakeLibrary& LoadedFake(const char* path) {
    SystemLoader loader;
    std::string error;
    void* module = loader.Load(path, error);
    return *reinterpret_cast<test::FakeLibrary* (*)()>(loader.Resolve(module, "FakeLibraryReset"))();
}

// Each call as "entry arg arg ...".
Texts CallsOf(const test::FakeLibrary& fake) {
    Texts calls;
    for (const test::LibraryCall& call : fake.calls) {
        std::string line = call.entry;
        for (int arg : call.args) line += " " + std::to_string(arg);
        calls.push_back(line);
    }
    return calls;
}

const Texts kParameterCalls = {"parameter 0 0", "parameter 15 0", "parameter 14 0",    "parameter 6 1",
                               "parameter 5 1", "parameter 16 0", "parameter 8 1",     "parameter 3 1",
                               "parameter 9 0", "parameter 19 0", "parameter 2 50000", "parameter 1 20000"};

test::StationSetup LibraryAt(const std::string& path, ModuleLoader& loader) {
    test::StationSetup setup{{}, &loader};
    setup.options.libraryPath = path;
    return setup;
}

void ExpectEightReadyRows(const test::Station<>& station) {
    for (int n = 1; n <= 8; ++n) EXPECT_EQ(station.Row(n), "READY") << "channel " << n;
}

TEST(LibraryStartup, RegistersTheCallbackThenSetsTheTwelveParametersThroughTheOneMessageBuffer) {
    test::FakeLibrary& fake = LoadedFake(FAKE_LIBRARY_PATH);
    fake.writes["init"] = "callback registered";
    fake.writes["parameter"] = "parameter set";
    SystemLoader loader;
    test::Station<> station(LibraryAt("", loader));
    station.dialog.OnInitDialog();

    // The library's version is asked first: every phone's result names it.
    Texts expected = {"version", "init"};
    expected.insert(expected.end(), kParameterCalls.begin(), kParameterCalls.end());
    EXPECT_EQ(CallsOf(fake), expected);
    EXPECT_EQ(fake.callback, &LibraryCallback);
    // Every call answers in the window's one buffer; the last answer is what it holds.
    EXPECT_STREQ(station.dialog.libraryMessage.Text(), "parameter set");
    EXPECT_NE(g_libraryModule, nullptr);
    EXPECT_THAT(station.Log(), ElementsAre(std::string("Loaded the download library ") + FAKE_LIBRARY_PATH));
    ExpectEightReadyRows(station);
}

TEST(LibraryStartup, AnUnloadableLibraryIsReportedAndTheWindowStillOpens) {
    SystemLoader loader;
    test::Station<> station(LibraryAt("/nonexistent.so", loader));
    station.dialog.OnInitDialog();

    EXPECT_EQ(g_libraryModule, nullptr);
    EXPECT_EQ(station.dialog.libraryTable.set_dll_parameter, nullptr);
    ASSERT_EQ(station.Log().size(), 1u);
    EXPECT_THAT(station.Log()[0], StartsWith("Could not load the download library: /nonexistent.so"));
    ExpectEightReadyRows(station);
}

TEST(LibraryStartup, MissingEntryPointsAreNamedAndTheirSlotsAreNeverCalled) {
    test::FakeLibrary& fake = LoadedFake(FAKE_PARTIAL_LIBRARY_PATH);
    SystemLoader loader;
    test::Station<> station(LibraryAt(FAKE_PARTIAL_LIBRARY_PATH, loader));
    station.dialog.OnInitDialog();

    Texts expected = {"version"};
    expected.insert(expected.end(), kParameterCalls.begin(), kParameterCalls.end());
    EXPECT_EQ(CallsOf(fake), expected);
    EXPECT_THAT(station.Log(),
                ElementsAre(std::string("The download library ") + FAKE_PARTIAL_LIBRARY_PATH +
                            " lacks _IFWD_DL_init_callback, _IFWD_DL_boot_target, _IFWD_DL_TOC_get_filename"));
}

int g_initCalls = 0;
int InitOnly(IFWD_DL_Callback, char*) { return ++g_initCalls; }

TEST(LibraryStartup, WithoutTheParameterEntryTheCallbackIsStillRegistered) {
    TableLoader loader;
    loader.Export(kLibraryFileName, "_IFWD_DL_init_callback", &InitOnly);
    test::Station<> station(LibraryAt("", loader));
    g_initCalls = 0;
    station.dialog.OnInitDialog();

    EXPECT_EQ(g_initCalls, 1);
    ASSERT_EQ(station.Log().size(), 1u);
    EXPECT_THAT(station.Log()[0], StartsWith(std::string("The download library ") + kLibraryFileName + " lacks "));
}

// The two stdcall decorations, beside a name exported both ways (which binds)
// and a decorated name that is no entry point.
TEST(LibraryStartup, AnEntryPointExportedOnlyUnderAStdcallNameIsNotBoundAndTheLogSaysSo) {
    TableLoader loader;
    loader.Export(kLibraryFileName, "_IFWD_DL_init_callback", &InitOnly);
    loader.Export(kLibraryFileName, "__IFWD_DL_boot_target@16", &InitOnly);
    loader.Export(kLibraryFileName, "_IFWD_DL_open_comm_port@20", &InitOnly);
    loader.Export(kLibraryFileName, "_IFWD_DL_init_callback@8", &InitOnly);
    loader.Export(kLibraryFileName, "_Helper@4", &InitOnly);
    test::Station<> station(LibraryAt("", loader));
    station.dialog.OnInitDialog();

    EXPECT_EQ(station.dialog.libraryTable.boot_target, nullptr);
    EXPECT_EQ(station.dialog.libraryTable.open_comm_port, nullptr);
    const std::string expected = " (stdcall); the station calls its entry points as cdecl";
    EXPECT_THAT(station.Log(),
                ElementsAre(StartsWith("The download library "),
                            "Not binding _IFWD_DL_open_comm_port: the library exports it only as "
                            "_IFWD_DL_open_comm_port@20" + expected,
                            "Not binding _IFWD_DL_boot_target: the library exports it only as __IFWD_DL_boot_target@16" +
                                expected));
}

}  // namespace
}  // namespace tandrel
