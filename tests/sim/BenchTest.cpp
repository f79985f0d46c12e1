#include <gtest/gtest.h>

#include <filesystem>

#include "SimTestSupport.h"
#include "bench/Verify.h"
#include "common/AtomicFiles.h"
#include "common/Bench.h"
#include "common/Manifest.h"

namespace tandrel::sim {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

std::vector<std::string> Listing(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class BenchTest : public ::testing::Test {
protected:
    Bench Make(int phones) {
        std::string error;
        EXPECT_TRUE(Bench::Create(dir / "bench", phones, error)) << error;
        std::optional<Bench> bench = Bench::Open(dir / "bench", error);
        EXPECT_TRUE(bench) << error;
        return *bench;
    }
    std::string EnumKey() const { return dir / "bench" + "/" + kEnumerationKey; }

    TempFolder dir;
};

TEST_F(BenchTest, CreatesPhonesWithNothingPlugged) {
    Bench bench = Make(3);
    EXPECT_EQ(bench.Phones(), (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(Listing(EnumKey()).empty());
    EXPECT_EQ(bench.ReadState("phone-2"), phone_state::kNew);
    EXPECT_EQ(Listing(dir.Path()), (std::vector<std::string>{"bench"}));
}

TEST_F(BenchTest, CreateRefusesAFolderInUseButTakesAnEmptyOne) {
    std::string error;
    fs::create_directory(dir / "empty");
    EXPECT_TRUE(Bench::Create(dir / "empty", 1, error)) << error;
    EXPECT_FALSE(Bench::Create(dir / "empty", 1, error));
    EXPECT_NE(error.find("not empty"), std::string::npos);
    EXPECT_FALSE(Bench::Open(dir / "nothing", error));
    EXPECT_NE(error.find("no bench"), std::string::npos);
}

TEST_F(BenchTest, PluggingWritesTheRegistryKeyTheStationReads) {
    Bench bench = Make(8);
    std::string error;
    ASSERT_TRUE(bench.Plug(3, error)) << error;
    EXPECT_EQ(Listing(EnumKey()), (std::vector<std::string>{"phone-3"}));
    EXPECT_EQ(ReadSmallFile(EnumKey() + "/phone-3/Device Parameters/CreateFileName"), "USB3");
    EXPECT_EQ(bench.FindInstance("USB3"), "phone-3");
    EXPECT_FALSE(bench.FindInstance("USB4"));
    EXPECT_EQ(bench.ReadState("phone-3"), phone_state::kPlugged);
    EXPECT_FALSE(bench.Plug(3, error));
    EXPECT_NE(error.find("already plugged"), std::string::npos);
    EXPECT_TRUE(Listing(bench.TrashDir()).empty());
}

TEST_F(BenchTest, UnplugRemovesTheKeyAndAReplugIsANewPlug) {
    Bench bench = Make(2);
    std::string error;
    ASSERT_TRUE(bench.Plug(1, error));
    unsigned first = bench.PlugCount("phone-1");
    ASSERT_TRUE(bench.Unplug("phone-1", error)) << error;
    EXPECT_FALSE(bench.IsPlugged("phone-1"));
    EXPECT_FALSE(bench.Unplug("phone-1", error));
    EXPECT_TRUE(Listing(bench.TrashDir()).empty());
    ASSERT_TRUE(bench.Plug(1, error));
    EXPECT_NE(bench.PlugCount("phone-1"), first);
}

class VerifyTest : public BenchTest {
protected:
    void SetUp() override {
        bench.emplace(Make(1));
        test::WritePlainImage(dir / "a.img", 4, "code", a);
        test::WriteContainer(dir / "c.pak", {{"eep", 7, b}, {"dsp", 13, c}});
    }
    void Flash(const std::string& name, int memoryClass, const std::vector<std::uint8_t>& bytes) {
        std::string file = std::to_string(++written) + "-" + name;
        test::WriteBytes(bench->FlashDir("phone-1") + "/" + file, bytes);
        FlashEntry entry{name, memoryClass, bytes.size(), Sha256Of(bytes.data(), bytes.size()), file};
        std::string manifest = bench->FlashDir("phone-1") + "/" + kManifestName;
        std::string error;
        WriteFileAtomically(manifest, ReadSmallFile(manifest).value_or("") + FormatManifestLine(entry), error);
    }
    bool Verify(std::string& report) { return VerifyFlash(*bench, 1, {dir / "a.img", dir / "c.pak"}, report); }

    std::optional<Bench> bench;
    std::vector<std::uint8_t> a = test::Payload(3000, 1), b = test::Payload(100, 2), c = test::Payload(5000, 3);
    int written = 0;
};

TEST_F(VerifyTest, AcceptsAFlashHoldingExactlyTheImagesInAnyOrder) {
    Flash("dsp", 13, c);
    Flash("code", 4, a);
    Flash("eep", 7, b);
    std::string report;
    EXPECT_TRUE(Verify(report)) << report;
}

TEST_F(VerifyTest, NamesTheFirstDifferingByte) {
    std::vector<std::uint8_t> damaged = c;
    damaged[4321] ^= 1;
    Flash("code", 4, a);
    Flash("eep", 7, b);
    Flash("dsp", 13, damaged);
    std::string report;
    EXPECT_FALSE(Verify(report));
    EXPECT_NE(report.find("item dsp"), std::string::npos) << report;
    EXPECT_NE(report.find("SHA-256 differs"), std::string::npos) << report;
}

TEST_F(VerifyTest, ReportsMissingExtraAndShortItems) {
    Flash("code", 4, {a.begin(), a.end() - 1});
    Flash("eep", 7, b);
    Flash("boot", 1, b);
    std::string report;
    EXPECT_FALSE(Verify(report));
    EXPECT_NE(report.find("item dsp (" + dir / "c.pak" + "): not in the flash"), std::string::npos) << report;
    EXPECT_NE(report.find("item boot: in the flash but in none"), std::string::npos) << report;
    EXPECT_NE(report.find("flash holds 2999 bytes, the image 3000"), std::string::npos) << report;
}

TEST_F(VerifyTest, ADamagedImageIsNotTakenAsTheTruth) {
    std::vector<std::uint8_t> image = test::ReadBytes(dir / "a.img");
    image.back() ^= 0xFF;
    test::WriteBytes(dir / "a.img", image);
    Flash("code", 4, {image.begin() + 128, image.end()});
    Flash("eep", 7, b);
    Flash("dsp", 13, c);
    std::string report;
    EXPECT_FALSE(Verify(report));
    EXPECT_NE(report.find("the image itself is damaged"), std::string::npos) << report;
}

}  // namespace
}  // namespace tandrel::sim
