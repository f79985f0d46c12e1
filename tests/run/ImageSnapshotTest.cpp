// A phone is only ever handed the copies Start took of the chosen files:
// it waits while they are being made, is never armed when they cannot be,
// and whatever becomes of the chosen files afterwards reaches no phone.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "RunBench.h"
#include "platform/Sha256.h"

namespace tandrel::test {
namespace {

using S = ChannelState;

const std::string kImage = "/images/code.fls";

int Count(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

std::vector<std::string> Texts(const RunBench& bench, const std::string& entry, int channel) {
    std::vector<std::string> texts;
    for (const auto& c : bench.fake.calls) {
        if (c.entry == entry && c.channel == channel) texts.push_back(c.text);
    }
    return texts;
}

TEST(ImageSnapshot, APhoneFoundWhileTheCopiesAreMadeWaitsAndIsWrittenFromThem) {
    RunBench bench;
    bench.ChooseImages({kImage});
    bench.memoryFiles.HoldCopies(true);
    bench.controls.Click(IDC_START);
    bench.Plug(2);
    for (int tick = 0; tick < 3; ++tick) bench.Tick();
    EXPECT_EQ(bench.Row(2), "Wait for images");
    EXPECT_EQ(bench.State(2), S::Ready);
    EXPECT_EQ(bench.Calls("open", 2), 0) << "no path is handed out before its copy is whole";

    bench.memoryFiles.HoldCopies(false);
    bench.AwaitImages();
    bench.Tick();
    const std::string copy = bench.CopyOf(kImage);
    ASSERT_FALSE(copy.empty());
    EXPECT_EQ(copy, bench.snapshots.Path() + "/" + HexOf(Sha256Of(("image " + kImage).data(), 6 + kImage.size())));
    EXPECT_EQ(Texts(bench, "boot", 2), std::vector<std::string>{copy});
    bench.Report(2);
    EXPECT_EQ(Texts(bench, "fls", 2), std::vector<std::string>{"|0|" + copy});
}

// Another build written over the chosen file, even in the middle of a
// phone's download: every phone of this Start still gets the copy, the
// operator hears of it once, and the result names the copy's hash.
TEST(ImageSnapshot, AChosenFileChangedAfterStartReachesNoPhoneOfThatStart) {
    RunBench bench;
    bench.ChooseImages({kImage});
    bench.Start();
    const std::string copy = bench.CopyOf(kImage);
    bench.Plug(1);
    bench.Tick();
    bench.Report(1);  // booted: the Code item is being written
    bench.memoryFiles.Write(kImage, "build B");
    bench.Plug(2);
    bench.Plug(3);
    for (int tick = 0; tick < 3; ++tick) bench.Tick();
    for (int n : {2, 3}) EXPECT_EQ(Texts(bench, "boot", n), std::vector<std::string>{copy}) << "phone " << n;
    const std::string told = kImage +
                             " changed on disk since Start; phones still get the build taken at Start \xE2\x80\x94 "
                             "press Start to take the new one";
    EXPECT_EQ(Count(bench.Log(), told), 1);

    for (int n : {2, 3}) bench.controls.Click(StopButtonId(n));  // phone 1 waits for no peer
    bench.RunToUnplug(1);
    bench.Unplug(1);
    bench.Tick();
    bench.loop.RunFor(40000);
    EXPECT_EQ(bench.Row(1), "Success");
    const std::string hash = HexOf(Sha256Of(("image " + kImage).data(), 6 + kImage.size()));
    EXPECT_EQ(bench.JournalCount("\"sha256\":[\"" + hash + "\"]"), 1);

    bench.Start();
    const std::string newCopy = bench.CopyOf(kImage);
    EXPECT_NE(newCopy, copy) << "Start takes the new build";
    bench.CloseDialog();
    EXPECT_FALSE(bench.memoryFiles.Exists(copy) || bench.memoryFiles.Exists(newCopy)) << "no run needs them now";
}

TEST(ImageSnapshot, ACopyThatCannotBeWrittenRefusesStartAndArmsNothing) {
    RunBench bench;
    bench.ChooseImages({kImage});
    const std::string folder = bench.snapshots.Path();
    bench.memoryFiles.FailCopies({FileErrorKind::Io, "No space left on device", folder + "/incoming-7"});
    bench.Plug(4);
    bench.Start();
    for (int tick = 0; tick < 3; ++tick) bench.Tick();

    const std::string why =
        "Start refused: the image snapshot cannot be written in " + folder + ": No space left on device";
    EXPECT_EQ(bench.controls.MessageBoxes(), std::vector<std::string>{why});
    EXPECT_EQ(Count(bench.Log(), why), 1);
    EXPECT_EQ(bench.Calls("open", 4), 0);
    EXPECT_EQ(bench.Row(4), "No images, press Start");
    EXPECT_TRUE(bench.controls.IsEnabled(IDC_START));
}

}  // namespace
}  // namespace tandrel::test
