#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/DownloaderApp.h"
#include "support/SimulatedControls.h"
#include "support/SimulatedLoop.h"
#include "support/NoLibrary.h"
#include "support/TempFolder.h"
#include "TandrelVersion.h"
#include "ui/ControlIds.h"
#include "ui/Templates.h"

namespace tandrel {
namespace {

// What a simulated window saw of its life; outlives the window.
struct WindowTrace {
    int made = 0;
    std::vector<std::string> steps;
    bool postRefusedAfterRun = false;
};

struct Counted : MessagePayload {
    explicit Counted(int& alive) : alive_(alive) { ++alive_; }
    ~Counted() override { --alive_; }
    int& alive_;
};

// The window on simulated controls and loop. The operator keeps it open for
// a second of virtual time; a message still queued when it closes must be freed.
class TracedWindow : public WindowSystem {
public:
    TracedWindow(WindowTrace& trace, int& alive) : trace_(trace), alive_(alive) { ++trace_.made; }
    ~TracedWindow() override {
        trace_.postRefusedAfterRun = !loop_.Post(WindowMessage{WM_CHANNEL_EVENT, std::make_unique<Counted>(alive_)});
    }

    DialogControls& Controls() override { return controls_; }
    WindowLoop& Loop() override { return loop_; }
    void Show() override { trace_.steps.push_back("show, row 1 " + controls_.GetText(StatusLabelId(1))); }
    void RunUntilClosed() override {
        trace_.steps.push_back("run");
        loop_.RunFor(1000);
        loop_.Post(WindowMessage{WM_CHANNEL_EVENT, std::make_unique<Counted>(alive_)});
    }
    bool SaveScreenshot(const std::string& file, std::string& error) override {
        trace_.steps.push_back("screenshot " + file);
        error = "no screen";
        return false;
    }

private:
    WindowTrace& trace_;
    int& alive_;
    SimulatedControls controls_{MainDialogTemplate()};
    SimulatedLoop loop_;
};

struct AppTest : ::testing::Test {
    // Keeps no results store unless the test names one: the machine's own
    // must stay out of tests.
    int Run(std::vector<std::string> args) {
        if (std::find(args.begin(), args.end(), "--results") == args.end()) args.insert(args.begin(), {"--results", "none"});
        DownloaderApp app([this] { return std::make_unique<TracedWindow>(trace, alive); }, loader, output, errors);
        return app.Run(args);
    }

    WindowTrace trace;
    int alive = 0;
    test::NoLibrary loader;
    std::ostringstream output;
    std::ostringstream errors;
};

TEST_F(AppTest, RunsTheWindowAfterItsInitialisationAndEndsWithZeroWhenItCloses) {
    EXPECT_EQ(Run({}), 0);
    EXPECT_EQ(trace.made, 1);
    EXPECT_EQ(trace.steps, (std::vector<std::string>{"show, row 1 READY", "run"}));
    EXPECT_TRUE(trace.postRefusedAfterRun) << "the window's loop must be closed with the dialog";
    EXPECT_EQ(alive, 0) << "a message still queued at closing must be freed";
    EXPECT_EQ(errors.str(), "");
}

TEST_F(AppTest, TheScreenshotIsTakenOnceTheWindowHasClosedAndItsFailureIsReported) {
    EXPECT_EQ(Run({"--screenshot", "/tmp/final.png"}), 0);
    EXPECT_EQ(trace.steps, (std::vector<std::string>{"show, row 1 READY", "run", "screenshot /tmp/final.png"}));
    EXPECT_EQ(errors.str(), "tandrel: no screen\n");
}

TEST_F(AppTest, AnUnknownOptionGetsTheUsageAndStatusTwoWithoutAWindow) {
    EXPECT_EQ(Run({"--bogus"}), 2);
    EXPECT_EQ(trace.made, 0);
    EXPECT_NE(errors.str().find("unknown option --bogus"), std::string::npos) << errors.str();
    EXPECT_NE(errors.str().find("usage: tandrel"), std::string::npos) << errors.str();
}

TEST_F(AppTest, TheVersionIsPrintedWithoutAWindowOrAnyFileAndEndsWithZero) {
    EXPECT_EQ(Run({"--journal", "/nonexistent-folder/journal.jsonl", "--version"}), 0);
    EXPECT_EQ(trace.made, 0);
    EXPECT_EQ(output.str(), "tandrel " TANDREL_VERSION "\n");
    EXPECT_EQ(errors.str(), "");
}

TEST_F(AppTest, AnOptionWithoutItsValueIsRefused) {
    EXPECT_EQ(Run({"--journal"}), 2);
    EXPECT_EQ(trace.made, 0);
    EXPECT_NE(errors.str().find("usage: tandrel"), std::string::npos);
}

TEST_F(AppTest, AJournalThatCannotBeWrittenIsRefusedWithItsReason) {
    EXPECT_EQ(Run({"--journal", "/nonexistent-folder/journal.jsonl"}), 2);
    EXPECT_EQ(trace.made, 0);
    EXPECT_NE(errors.str().find("/nonexistent-folder/journal.jsonl"), std::string::npos) << errors.str();
    EXPECT_NE(errors.str().find("No such file or directory"), std::string::npos) << errors.str();
}

TEST_F(AppTest, ADeviceSourceThatCannotBeUsedIsRefusedWithItsReason) {
    EXPECT_EQ(Run({"--devices", "dir:/nonexistent-bench"}), 2);
    EXPECT_EQ(trace.made, 0);
    EXPECT_NE(errors.str().find("/nonexistent-bench"), std::string::npos) << errors.str();
}

TEST_F(AppTest, ALineTheStationCannotForwardToIsRefusedBeforeAnyWindow) {
    const test::TempFolder folder;
    folder.WriteFile("token", "secret\n");
    folder.WriteFile("empty", "\n");
    const std::string store = folder / "results.db";
    const struct {
        std::vector<std::string> args;
        std::string reason;
    } cases[] = {
        {{"--line", "http://line:8025"}, "--line needs --line-token FILE"},
        {{"--results", "none", "--line", "http://line:8025", "--line-token", folder / "token"},
         "cannot go with --results none"},
        {{"--results", store, "--line", "http://line:8025", "--line-token", folder / "missing"},
         "cannot read the line token file " + folder / "missing"},
        {{"--results", store, "--line", "http://line:8025", "--line-token", folder / "empty"}, "holds no token"},
        {{"--results", store, "--line", "ftp://line", "--line-token", folder / "token"},
         "--line takes the line service's address, http://HOST:PORT, not ftp://line"},
        {{"--results", store, "--line", "http://line:80x", "--line-token", folder / "token"}, "not http://line:80x"},
    };
    for (const auto& c : cases) {
        errors.str("");
        EXPECT_EQ(Run(c.args), 2) << c.reason;
        EXPECT_NE(errors.str().find(c.reason), std::string::npos) << errors.str();
    }
    EXPECT_EQ(trace.made, 0);
}

TEST_F(AppTest, TheJournalFileGetsEveryRowReadyOnWhite) {
    const test::TempFolder folder;
    const std::string name = folder / "journal";
    ASSERT_EQ(Run({"--journal", name}), 0);
    std::ifstream in(name);
    int ready = 0, white = 0;
    for (std::string line; std::getline(in, line);) {
        ready += line.find(R"("ev":"status")") != std::string::npos && line.find(R"("text":"READY")") != std::string::npos;
        white += line.find(R"("ev":"colour")") != std::string::npos && line.find("[255,255,255]") != std::string::npos;
    }
    EXPECT_EQ(ready, 8);
    EXPECT_EQ(white, 8);
}

}  // namespace
}  // namespace tandrel
