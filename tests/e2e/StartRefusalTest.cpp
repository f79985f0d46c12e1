// Files no phone could be written from, given to Start at the real window:
// Start says which and why before anything happens, and a list that ends
// up empty tells the operator, and every phone plugged, so.
#include <filesystem>
#include <fstream>

#include "BenchFixture.h"
#include "SimStation.h"
#include "ui/ControlIds.h"

namespace tandrel::e2e {
namespace {

class StartRefusal : public BenchTest {};

TEST_F(StartRefusal, AFolderAMissingAndAnEmptyFileAreRefusedAndNothingIsArmed) {
    folder.MakeFolder("images");
    std::ofstream(folder / "empty.fls").close();
    const std::string missing = folder / "gone.fls";
    PlugPhones({1});
    SimStation station(bench, {images[0], folder / "images", missing, folder / "empty.fls"});

    const std::string box = station.ClickAnsweringTheBox(IDC_START);
    EXPECT_EQ(box, "Start refused: no phone can be written from\n" + (folder / "images") + ": is a folder\n" + missing +
                       ": not found\n" + (folder / "empty.fls") + ": is empty");
    station.Await([] { return false; }, 500);
    EXPECT_EQ(bench.PhoneState(1), "plugged") << "the phone is not touched";
    EXPECT_EQ(station.Row(1), "READY");
    EXPECT_TRUE(station.Enabled(IDC_START));
    EXPECT_TRUE(station.Enabled(IDC_OPEN_FILE)) << "other files can be chosen";
}

TEST_F(StartRefusal, APhoneFindingTheListEmptiedFailsWithTheReason) {
    const std::string tooLong = "/" + std::string(600, 'x') + ".fls";
    SimStation station(bench, {tooLong});
    station.Click(IDC_START);
    for (int n = 1; n <= 8; ++n) EXPECT_EQ(station.Row(n), "List is empty") << "row " << n;
    bench.Plug(3);
    ASSERT_TRUE(station.AwaitShown(3, "Error, Disc the phone")) << station.Row(3);
    bench.Unplug(3);
    ASSERT_TRUE(station.AwaitShown(3, "Fail")) << station.Row(3);
    JournalRecord result;
    ASSERT_TRUE(station.Await([&] {
        for (const JournalRecord& r : station.Records()) {
            if (r.ev == "result" && r.ch == 3) result = r;
        }
        return !result.ev.empty();
    }));
    EXPECT_EQ(result["result"], "Fail");
    EXPECT_EQ(result["reason"], "the image list is empty");
}

}  // namespace
}  // namespace tandrel::e2e
