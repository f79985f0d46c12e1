// What becomes of the chosen image files after Start, done to them in the
// shared folder while the phones are written, with the simulator trusting
// whatever it reads: no phone ever gets anything but the build Start took.
#include <algorithm>
#include <chrono>
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

class ImageSnapshot : public BenchTest {
protected:
    ImageSnapshot() {
        setenv("TANDREL_SIM_TRUST_IMAGES", "1", 1);
        folder.MakeFolder("b");
        buildB = PackContainer(folder / "b", PackImages(folder / "b", SmallItems(), 2011));
        fs::copy_file(container, buildA);
    }
    ~ImageSnapshot() override { unsetenv("TANDREL_SIM_TRUST_IMAGES"); }

    // A copy of build, renamed over the chosen container as a new build is
    // dropped into a shared folder.
    void RenameOver(const std::string& build, const std::string& name) {
        fs::copy_file(build, folder / name);
        fs::rename(folder / name, container);
    }
    // Every phone of phones ends "Success" with build A in its flash.
    void ExpectAllWrittenWithA(SimStation& station, std::initializer_list<int> phones) {
        int results = 0;
        ASSERT_TRUE(station.Await([&] {
            results = 0;
            for (const JournalRecord& r : station.Records()) results += r.ev == "result";
            return results == static_cast<int>(phones.size());
        }, kSuccessResultMs + 20000)) << results << " results";
        for (const JournalRecord& r : station.Records()) {
            if (r.ev != "result") continue;
            SCOPED_TRACE("channel " + std::to_string(r.ch));
            EXPECT_EQ(r["result"], "Success");
            EXPECT_EQ(r["sha256"], Hashes("\"" + Sha256OfFile(buildA) + "\""));
            EXPECT_EQ(bench.FlashDifference(r.ch, {buildA}), "");
        }
    }
    void WriteAndUnplug(SimStation& station, int phone) {
        bench.Plug(phone);
        ASSERT_TRUE(station.AwaitShown(phone, "Done, Disconnect the phone")) << station.Row(phone);
        bench.Unplug(phone);
    }

    std::string buildB;
    const std::string buildA = folder / "a.pak";
};

TEST_F(ImageSnapshot, ABuildSwappedInAndBackMidDownloadNeverReachesThePhone) {
    bench.SetFault(1, "rate=64K");
    PlugPhones({1});
    SimStation station(bench, {container});
    station.Click(IDC_START);
    ASSERT_TRUE(station.AwaitDownloading({1}, 20)) << "phone 1 is not in the middle of its Code item";

    RenameOver(buildB, "b.new");
    WriteAndUnplug(station, 2);
    RenameOver(buildA, "a.new");
    ASSERT_TRUE(station.AwaitShown(1, "Done, Disconnect the phone")) << station.Row(1);
    bench.Unplug(1);
    ExpectAllWrittenWithA(station, {1, 2});
    const std::string told = container +
                             " changed on disk since Start; phones still get the build taken at Start \xE2\x80\x94 "
                             "press Start to take the new one";
    const std::vector<std::string> log = station.Log();
    EXPECT_EQ(std::count(log.begin(), log.end(), told), 1);
}

// Neither changes a byte, so neither may keep a phone from being written.
TEST_F(ImageSnapshot, ATouchOrACopyOfTheSameBytesAfterStartLeavesLaterPhonesWritten) {
    SimStation station(bench, {container});
    station.Click(IDC_START);
    WriteAndUnplug(station, 1);
    fs::last_write_time(container, fs::last_write_time(container) + std::chrono::seconds(5));
    WriteAndUnplug(station, 2);
    fs::copy_file(buildA, container, fs::copy_options::overwrite_existing);
    WriteAndUnplug(station, 3);
    ExpectAllWrittenWithA(station, {1, 2, 3});
}

}  // namespace
}  // namespace tandrel::e2e
