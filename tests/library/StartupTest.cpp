#include <dlfcn.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "channels/EventRelay.h"
#include "library/LibraryBinding.h"
#include "platform/DlopenLoader.h"
#include "support/FakeLibrary.h"
#include "support/Station.h"
#include "support/TableLoader.h"

namespace tandrel {
namespace {

using ::testing::ElementsAre;
using ::testing::StartsWith;
using Texts = std::vector<std::string>;

// The fake inside a shared library, reached the way the station reaches the
// library, with a fresh script.
class LoadedFake {
public:
    explicit LoadedFake(const char* path) : module_(dlopen(path, RTLD_NOW | RTLD_LOCAL)) {
        fake = reinterpret_cast<test::FakeLibrary* (*)()>(dlsym(module_, "FakeLibraryReset"))();
    }
    ~LoadedFake() { dlclose(module_); }
    LoadedFake(const LoadedFake&) = delete;
    LoadedFake& operator=(const LoadedFake&) = delete;

    test::FakeLibrary* fake = nullptr;

private:
    void* module_;
};

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
    LoadedFake loaded(FAKE_LIBRARY_PATH);
    loaded.fake->writes["init"] = "callback registered";
    loaded.fake->writes["parameter"] = "parameter set";
    DlopenLoader loader;
    test::Station<> station(LibraryAt("", loader));
    station.dialog.OnInitDialog();

    Texts expected = {"init"};
    expected.insert(expected.end(), kParameterCalls.begin(), kParameterCalls.end());
    EXPECT_EQ(CallsOf(*loaded.fake), expected);
    EXPECT_EQ(loaded.fake->callback, &LibraryCallback);
    // Every call answers in the window's one buffer; the last answer is what it holds.
    EXPECT_STREQ(station.dialog.libraryMessage.Text(), "parameter set");
    EXPECT_NE(g_libraryModule, nullptr);
    EXPECT_THAT(station.Log(), ElementsAre(std::string("Loaded the download library ") + FAKE_LIBRARY_PATH));
    ExpectEightReadyRows(station);
}

TEST(LibraryStartup, AnUnloadableLibraryIsReportedAndTheWindowStillOpens) {
    DlopenLoader loader;
    test::Station<> station(LibraryAt("/nonexistent.so", loader));
    station.dialog.OnInitDialog();

    EXPECT_EQ(g_libraryModule, nullptr);
    EXPECT_EQ(station.dialog.libraryTable.set_dll_parameter, nullptr);
    ASSERT_EQ(station.Log().size(), 1u);
    EXPECT_THAT(station.Log()[0], StartsWith("Could not load the download library: /nonexistent.so"));
    ExpectEightReadyRows(station);
}

TEST(LibraryStartup, MissingEntryPointsAreNamedAndTheirSlotsAreNeverCalled) {
    LoadedFake loaded(FAKE_PARTIAL_LIBRARY_PATH);
    DlopenLoader loader;
    test::Station<> station(LibraryAt(FAKE_PARTIAL_LIBRARY_PATH, loader));
    station.dialog.OnInitDialog();

    EXPECT_EQ(CallsOf(*loaded.fake), kParameterCalls);
    EXPECT_THAT(station.Log(),
                ElementsAre(std::string("The download library ") + FAKE_PARTIAL_LIBRARY_PATH +
                            " lacks _IFWD_DL_init_callback, _IFWD_DL_boot_target, _IFWD_DL_TOC_get_filename"));
}

int g_initCalls = 0;
int InitOnly(IFWD_DL_Callback, char*) { return ++g_initCalls; }

TEST(LibraryStartup, WithoutTheParameterEntryTheCallbackIsStillRegistered) {
    TableLoader loader;
    loader.Export("libIFWD_DownloadDll.so", "_IFWD_DL_init_callback", &InitOnly);
    test::Station<> station(LibraryAt("", loader));
    g_initCalls = 0;
    station.dialog.OnInitDialog();

    EXPECT_EQ(g_initCalls, 1);
    ASSERT_EQ(station.Log().size(), 1u);
    EXPECT_THAT(station.Log()[0], StartsWith("The download library libIFWD_DownloadDll.so lacks "));
}

}  // namespace
}  // namespace tandrel
