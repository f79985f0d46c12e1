#include <gtest/gtest.h>

#include "common/Faults.h"
#include "common/FileSpecParser.h"
#include "common/Manifest.h"

namespace tandrel::sim {
namespace {

TEST(FileSpec, ReadsIndexAndPath) {
    std::optional<FileSpec> spec = ParseFileSpec("|12|/images/a b|c.fls");
    ASSERT_TRUE(spec);
    EXPECT_EQ(spec->index, 12u);
    EXPECT_EQ(spec->path, "/images/a b|c.fls");
}

TEST(FileSpec, RefusesAnythingElse) {
    for (const char* bad : {"", "0|a", "||a", "|x|a", "|1|", "|1a", "|1234567890|a", "| 1|a"}) {
        EXPECT_FALSE(ParseFileSpec(bad)) << bad;
    }
    EXPECT_FALSE(ParseFileSpec(nullptr));
}

TEST(Faults, EverySettingRoundTripsThroughTheFaultsFile) {
    Faults faults;
    std::string error;
    for (const char* setting : {"open=throw", "close=refuse", "boot=fail", "item2=refuse", "item5=fail", "reset=fail",
                                "rate=500K", "unplug=3@40%"}) {
        ASSERT_TRUE(ApplyFault(faults, setting, error)) << setting << ": " << error;
    }
    std::string text = FormatFaults(faults);
    Faults back;
    ASSERT_TRUE(ParseFaults(text, back, error)) << error;
    EXPECT_EQ(FormatFaults(back), text);
    EXPECT_EQ(back.open, PortFault::Throw);
    EXPECT_EQ(back.close, PortFault::Refuse);
    EXPECT_EQ(back.boot, StepFault::Fail);
    EXPECT_EQ(back.ItemFault(2), StepFault::Refuse);
    EXPECT_EQ(back.ItemFault(5), StepFault::Fail);
    EXPECT_EQ(back.ItemFault(1), StepFault::None);
    EXPECT_TRUE(back.resetFails);
    EXPECT_EQ(back.rate, 500000u);
    EXPECT_EQ(back.unplugItem, 3u);
    EXPECT_EQ(back.unplugPercent, 40u);
}

TEST(Faults, OkOffAndDefaultClearSettings) {
    Faults faults;
    std::string error;
    for (const char* setting : {"boot=fail", "item2=fail", "rate=1M", "unplug=1@5"}) ApplyFault(faults, setting, error);
    for (const char* setting : {"boot=ok", "item2=ok", "rate=default", "unplug=off"}) {
        ASSERT_TRUE(ApplyFault(faults, setting, error)) << setting;
    }
    EXPECT_EQ(FormatFaults(faults), "");
}

TEST(Faults, RefusesUnknownKeysAndValues) {
    Faults faults;
    std::string error;
    for (const char* bad : {"", "open", "open=fail", "boot=throw", "item0=fail", "itemx=fail", "reset=refuse",
                            "rate=fast", "rate=-1", "unplug=2", "unplug=0@5", "unplug=1@101", "colour=red"}) {
        EXPECT_FALSE(ApplyFault(faults, bad, error)) << bad;
    }
    EXPECT_NE(error.find("colour=red"), std::string::npos);
    EXPECT_FALSE(ParseFaults("boot=fail\nnonsense\n", faults, error));
}

TEST(Rates, ReadDecimalMultiples) {
    EXPECT_EQ(ParseRate("8M"), 8000000u);
    EXPECT_EQ(ParseRate("35M"), 35000000u);
    EXPECT_EQ(ParseRate("500K"), 500000u);
    EXPECT_EQ(ParseRate("0"), 0u);
    EXPECT_EQ(ParseRate("2G"), 2000000000u);
    for (const char* bad : {"", "M", "8MB", "8 M", "-8M", "99999999999999999999", "18446744073709551615G"}) {
        EXPECT_FALSE(ParseRate(bad)) << bad;
    }
    EXPECT_EQ(FormatRate(8000000), "8M");
    EXPECT_EQ(FormatRate(1500), "1500");
}

TEST(Manifest, RoundTripsAndRefusesDamagedLines) {
    FlashEntry entry{"code.fls", 4, 1234, Sha256Of("x", 1), "01-code.fls"};
    std::vector<FlashEntry> entries;
    std::string error;
    ASSERT_TRUE(ParseManifest(FormatManifestLine(entry) + FormatManifestLine(entry), entries, error)) << error;
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].name, "code.fls");
    EXPECT_EQ(entries[1].memoryClass, 4);
    EXPECT_EQ(entries[1].size, 1234u);
    EXPECT_EQ(entries[1].checksum, entry.checksum);
    EXPECT_EQ(entries[1].file, "01-code.fls");

    std::string damaged = FormatManifestLine(entry) + "code.fls\t4\tmany\t00\tf\n";
    EXPECT_FALSE(ParseManifest(damaged, entries, error));
    EXPECT_NE(error.find("line 2"), std::string::npos);
}

}  // namespace
}  // namespace tandrel::sim
