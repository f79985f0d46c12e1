#include <dlfcn.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "channels/EventRelay.h"
#include "library/LibraryBinding.h"
#include "library/StationHarness.h"
#include "platform/DlopenLoader.h"
#include "support/TableLoader.h"

namespace tandrel {
namespace {

using ::testing::ElementsAre;
using ::testing::StartsWith;

// The fake's own exports, reached the way the station reaches the library.
struct FakeControls {
    explicit FakeControls(const char* path) : module(dlopen(path, RTLD_NOW | RTLD_LOCAL)) {
        calls = reinterpret_cast<const char* (*)()>(dlsym(module, "FakeCalls"));
        forget = reinterpret_cast<void (*)()>(dlsym(module, "FakeForget"));
        callback = reinterpret_cast<IFWD_DL_Callback (*)()>(dlsym(module, "FakeCallback"));
        forget();
    }
    ~FakeControls() { dlclose(module); }
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
    DlopenLoader loader;
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
    DlopenLoader loader;
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
    DlopenLoader loader;
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
    loader.Export("libIFWD_DownloadDll.so", "_IFWD_DL_init_callback", &InitOnly);
    StationHarness station;
    g_initCalls = 0;
    auto dialog = station.Open(loader, "");

    EXPECT_EQ(g_initCalls, 1);
    ASSERT_EQ(station.LogLines().size(), 1u);
    EXPECT_THAT(station.LogLines()[0], StartsWith("The download library libIFWD_DownloadDll.so lacks "));
}

}  // namespace
}  // namespace tandrel
