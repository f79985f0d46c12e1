// A new build copied over the image file in the middle of a run, with the
// simulator trusting whatever it reads: the station alone keeps every phone
// to the build it was started with, and its journal says which one each got.
#include <QColor>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "BenchFixture.h"
#include "RowChecks.h"
#include "SimStation.h"
#include "platform/Sha256.h"
#include "ui/ControlIds.h"
#include "usb/Timers.h"

namespace tandrel::e2e {
namespace {

namespace fs = std::filesystem;

std::string Sha256OfFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return HexOf(Sha256Of(bytes.data(), bytes.size()));
}

// The journal's list of hashes, for a container of five items: one entry each.
std::string Hashes(const std::string& entry) {
    std::string list = "[";
    for (int i = 0; i < 5; ++i) list += (i ? "," : "") + entry;
    return list + "]";
}

class ImageLock : public BenchTest {
protected:
    ImageLock() { setenv("TANDREL_SIM_TRUST_IMAGES", "1", 1); }
    ~ImageLock() override { unsetenv("TANDREL_SIM_TRUST_IMAGES"); }
};

TEST_F(ImageLock, ANewBuildCopiedOverMidRunIsWrittenOnlyAfterStartAcceptsIt) {
    folder.MakeFolder("b");
    const std::string buildB = PackContainer(folder / "b", PackImages(folder / "b", SmallItems(), 2011));
    const std::string buildA = folder / "a.pak";
    fs::copy_file(container, buildA);
    for (int n = 1; n <= 4; ++n) bench.SetFault(n, "rate=64K");
    PlugPhones({1, 2, 3, 4});
    SimStation station(bench, {container});
    station.Click(IDC_START);
    ASSERT_TRUE(station.AwaitDownloading({1, 2, 3, 4}, 20)) << "phones 1-4 are not in the middle of their Code item";

    fs::copy_file(buildB, container, fs::copy_options::overwrite_existing);
    PlugPhones({5, 6, 7, 8});
    for (int n = 1; n <= 4; ++n) {
        ASSERT_TRUE(station.AwaitShown(n, "Error, Disc the phone")) << "row " << n << ": " << station.Row(n);
        bench.Unplug(n);
    }
    for (int n = 5; n <= 8; ++n) {
        EXPECT_EQ(station.Row(n), "Image changed, press Start");
        EXPECT_EQ(station.RowColour(n), QColor(255, 0, 0));
        EXPECT_EQ(bench.PhoneState(n), "plugged") << "phone " << n << " is not touched";
    }
    EXPECT_TRUE(AnyContains(station.Log(), "Image changed since Start: " + container));
    EXPECT_TRUE(AnyContains(station.Log(), "Image changed while the phone was being written: " + container));

    station.Click(IDC_START);
    for (int n = 5; n <= 8; ++n) {
        ASSERT_TRUE(station.AwaitShown(n, "Done, Disconnect the phone")) << "row " << n << ": " << station.Row(n);
        bench.Unplug(n);
    }
    int results = 0;
    ASSERT_TRUE(station.Await([&] {
        results = 0;
        for (const JournalRecord& r : station.Records()) results += r.ev == "result";
        return results == 8;
    }, kSuccessResultMs + 20000)) << results << " results";

    for (const JournalRecord& r : station.Records()) {
        if (r.ev != "result") continue;
        SCOPED_TRACE("channel " + std::to_string(r.ch));
        if (r.ch <= 4) {
            EXPECT_TRUE(ShowedInOrder(station.History(r.ch), {"Image changed", "Error, Disc the phone", "Fail"}));
            EXPECT_EQ(r["result"], "Fail");
            EXPECT_EQ(r["sha256"], Hashes("null")) << "no hash vouches for what the phone got";
            EXPECT_NE(bench.FlashDifference(r.ch, {buildA}), "");
            EXPECT_NE(bench.FlashDifference(r.ch, {buildB}), "");
        } else {
            EXPECT_EQ(station.Row(r.ch), "Success");
            EXPECT_EQ(r["result"], "Success");
            EXPECT_EQ(r["sha256"], Hashes("\"" + Sha256OfFile(buildB) + "\""));
            EXPECT_EQ(bench.FlashDifference(r.ch, {buildB}), "");
        }
    }
}

}  // namespace
}  // namespace tandrel::e2e
