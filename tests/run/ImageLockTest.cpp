// The image files a phone gets are those Start took: a file changed since
// keeps a phone from being armed, and fails a phone that was being written.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>

#include "RunBench.h"
#include "platform/Sha256.h"
#include "support/TempFolder.h"

namespace tandrel::test {
namespace {

namespace fs = std::filesystem;
using K = ChannelEventKind;
using S = ChannelState;

constexpr const char* kBuildA = "build A";

// One Code image on disk, chosen and started in USB mode.
struct LockBench : RunBench {
    LockBench() {
        folder.WriteFile("code.fls", kBuildA);
        ChooseImages({image});
        Start();
        AwaitHash();
    }
    // Another build copied over the image in place; with same, its bytes stay.
    void CopyOver(const std::string& content) {
        const auto written = fs::last_write_time(image);
        folder.WriteFile("code.fls", content);
        fs::last_write_time(image, written + std::chrono::seconds(2));
    }
    // The hashing thread's next answer, handled on the window.
    void AwaitHash() {
        ASSERT_TRUE(loop.WaitForPost(std::chrono::seconds(10)));
        loop.DeliverPosted();
    }
    int LogLinesNaming(const std::string& path) const {
        const std::vector<std::string> lines = Log();
        return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.find(path) != std::string::npos;
        }));
    }

    TempFolder folder;
    const std::string image = folder / "code.fls";
};

TEST(ImageLock, APhoneFoundAfterTheImageChangedWaitsUntilStartAcceptsIt) {
    LockBench bench;
    bench.CopyOver("build B");
    bench.Plug(2);
    for (int tick = 0; tick < 5; ++tick) bench.Tick();

    EXPECT_EQ(bench.Row(2), "Image changed, press Start");
    EXPECT_EQ(bench.dialog.display.Label(2).backgroundColor(), kRed);
    EXPECT_EQ(bench.LogLinesNaming(bench.image), 1) << "told once, however often the phone is reported";
    EXPECT_EQ(bench.State(2), S::Ready);
    EXPECT_EQ(bench.Calls("open", 2), 0) << "the phone is not touched";
    EXPECT_TRUE(bench.controls.IsEnabled(IDC_START)) << "the operator can accept the new build";
    bench.Plug(3);
    bench.Tick();
    EXPECT_EQ(bench.Row(3), "Image changed, press Start") << "scanning goes on for every other phone";

    bench.Start();
    bench.Tick();
    for (int n : {2, 3}) {
        EXPECT_EQ(bench.State(n), S::Booting) << "channel " << n;
        EXPECT_EQ(bench.Calls("open", n), 1) << "channel " << n;
    }
}

// What becomes of a phone whose image was copied over while it was written:
// only the bytes decide, the time of the file does not.
TEST(ImageLock, APhoneWrittenWhileItsImageChangedFailsUnlessTheBytesStayed) {
    struct Case {
        const char* copied;
        const char* rowAfterUnplug;
        bool hashNamed;
    };
    for (const Case& c : {Case{"build B", "Fail", false}, Case{kBuildA, "Success", true}}) {
        SCOPED_TRACE(c.copied);
        LockBench bench;
        bench.Plug(1);
        bench.Tick();
        bench.Report(1);  // booted: the Code item is being written
        bench.CopyOver(c.copied);
        bench.Report(1);  // the item is in
        bench.AwaitHash();
        bench.loop.RunFor(2000);
        bench.Report(1);  // the reset, for a phone that got there
        bench.Unplug(1);
        bench.loop.RunFor(40000);

        EXPECT_EQ(bench.Row(1), c.rowAfterUnplug);
        const bool failed = std::string(c.rowAfterUnplug) == "Fail";
        EXPECT_EQ(bench.JournalCount("\"text\":\"Image changed\""), failed ? 1 : 0);
        EXPECT_EQ(bench.LogLinesNaming(bench.image), failed ? 1 : 0);
        EXPECT_EQ(bench.Calls("reset", 1), failed ? 0 : 1);
        const std::string hash = HexOf(Sha256Of(kBuildA, std::string(kBuildA).size()));
        EXPECT_EQ(bench.JournalCount("\"sha256\":[\"" + hash + "\"],"), c.hashNamed ? 1 : 0);
        EXPECT_EQ(bench.JournalCount("\"sha256\":[null],"), c.hashNamed ? 0 : 1);
    }
}

}  // namespace
}  // namespace tandrel::test
