#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

#include "LibraryHarness.h"
#include "bench/Verify.h"

namespace tandrel::sim::test {
namespace {

// Every progress text is a decimal percentage and never goes backwards
// within a step.
void ExpectWellFormedProgress(const std::vector<Event>& events) {
    int last = -1;
    for (const Event& event : events) {
        if (event.status != IFWD_DL_STATUS_PROGRESS) {
            last = -1;
            continue;
        }
        ASSERT_FALSE(event.text.empty());
        ASSERT_EQ(event.text.find_first_not_of("0123456789"), std::string::npos) << event.text;
        int percent = std::atoi(event.text.c_str());
        EXPECT_GE(percent, last);
        EXPECT_LE(percent, 100);
        last = percent;
    }
}

TEST_F(LibraryTest, EightChannelsBootDownloadEveryItemAndResetWithTheFlashVerified) {
    MakeBench(8);
    std::string container = dir / "set.pak";
    WriteContainer(container, {{"psi", 1, Payload(150000, 1)}, {"code", 4, Payload(600000, 2)}});
    std::string eep = PlainImage("eep", 7, 40000);
    std::string ffs = PlainImage("ffs", 11, 200000);
    std::string cust = PlainImage("cust", 5, 1);
    const Entry& lib = Library();
    using Start = std::function<int(std::uint8_t)>;
    std::vector<Start> steps = {
        [&](std::uint8_t ch) { return lib.boot_target(ch, container.c_str(), bootBlock, msg); },
        [&](std::uint8_t ch) { return lib.download_fls_file(ch, ("|0|" + container).c_str(), msg); },
        [&](std::uint8_t ch) { return lib.download_fls_file(ch, ("|1|" + container).c_str(), msg); },
        [&](std::uint8_t ch) { return lib.download_eep_file(ch, ("|0|" + eep).c_str(), 0, msg); },
        [&](std::uint8_t ch) { return lib.download_dffs_file(ch, ("|0|" + ffs).c_str(), 1, msg); },
        [&](std::uint8_t ch) { return lib.download_cust_file(ch, ("|0|" + cust).c_str(), msg); },
        [&](std::uint8_t ch) { return lib.force_target_reset(ch, 1, 16, 17, 0, msg); },
    };
    for (int ch = 1; ch <= 8; ++ch) ASSERT_EQ(Open(ch), 0) << msg;
    for (std::size_t step = 0; step < steps.size(); ++step) {
        for (int ch = 1; ch <= 8; ++ch) ASSERT_EQ(steps[step](static_cast<std::uint8_t>(ch)), 0) << step << ": " << msg;
        for (int ch = 1; ch <= 8; ++ch) {
            std::optional<Event> outcome = Reports::Instance().NextOutcome(ch);
            ASSERT_TRUE(outcome) << "step " << step << " channel " << ch;
            ASSERT_EQ(outcome->status, IFWD_DL_STATUS_OK) << outcome->text;
        }
    }
    for (int ch = 1; ch <= 8; ++ch) {
        EXPECT_EQ(lib.close_comm_port(static_cast<std::uint8_t>(ch), msg), 0);
        ExpectWellFormedProgress(Reports::Instance().Of(ch));
        EXPECT_EQ(bench->ReadState(Bench::InstanceName(ch)), phone_state::kResetDone);
        std::string report;
        EXPECT_TRUE(VerifyFlash(*bench, ch, {container, eep, ffs, cust}, report)) << "phone " << ch << "\n" << report;
    }
}

TEST_F(LibraryTest, ABootStartsANewRunWithAnEmptyFlash) {
    MakeBench(1);
    std::string image = PlainImage("code", 4, 1000);
    ASSERT_TRUE(OpenAndBoot(1, image));
    ASSERT_EQ(Download(1, "|0|" + image), 0) << msg;
    ASSERT_EQ(Reports::Instance().NextOutcome(1)->status, IFWD_DL_STATUS_OK);
    EXPECT_NE(Flashed(1), "");
    ASSERT_EQ(Boot(1, image), 0);
    ASSERT_EQ(Reports::Instance().NextOutcome(1)->status, IFWD_DL_STATUS_OK);
    EXPECT_EQ(Flashed(1), "");
}

TEST_F(LibraryTest, ClosingABootedPhoneBeforeItsResetMarksItForUnplugging) {
    MakeBench(2);
    std::string image = PlainImage("code", 4, 1000);
    ASSERT_TRUE(OpenAndBoot(1, image));
    ASSERT_EQ(Open(2), 0);
    ASSERT_EQ(Library().close_comm_port(1, msg), 0);
    ASSERT_EQ(Library().close_comm_port(2, msg), 0);
    EXPECT_EQ(bench->ReadState("phone-1"), phone_state::kClosed);
    EXPECT_TRUE(IsFinalState(bench->ReadState("phone-1")));
    EXPECT_EQ(bench->ReadState("phone-2"), phone_state::kPlugged);
}

TEST_F(LibraryTest, TableOfContentsCallsDescribeImagesAndNothingElse) {
    MakeBench(1, false);
    std::string container = dir / "set.pak";
    WriteContainer(container, {{"psi", 1, Payload(10, 1)}, {"code", 4, Payload(20, 2)}, {"disk", 16, Payload(5, 3)}});
    std::string plain = PlainImage("eep", 7, 10);
    std::string junk = dir / "junk.bin";
    WriteBytes(junk, Payload(500, 9));
    const Entry& lib = Library();
    std::uint32_t count = 99;
    lib.TOC_get_nof_items(container.data(), &count);
    EXPECT_EQ(count, 3u);
    lib.TOC_get_nof_items(plain.data(), &count);
    EXPECT_EQ(count, 1u);
    lib.TOC_get_nof_items(junk.data(), &count);
    EXPECT_EQ(count, 0u);
    std::string missing = dir / "missing";
    count = 7;
    lib.TOC_get_nof_items(missing.data(), &count);
    EXPECT_EQ(count, 0u);

    char name[IFWD_DL_NAME_SIZE];
    lib.TOC_get_filename(container.data(), 2, name);
    EXPECT_STREQ(name, "disk");
    lib.TOC_get_filename(plain.data(), 0, name);
    EXPECT_STREQ(name, "eep");
    EXPECT_EQ(lib.TOC_get_filename(container.data(), 3, name), 1);
    EXPECT_STREQ(name, "");

    int memoryClass = -1;
    lib.TOC_get_memory_class(container.data(), 1, &memoryClass);
    EXPECT_EQ(memoryClass, 4);
    lib.TOC_get_memory_class(plain.data(), 0, &memoryClass);
    EXPECT_EQ(memoryClass, 7);
    for (int index : {-1, 1}) {
        memoryClass = -1;
        lib.TOC_get_memory_class(plain.data(), index, &memoryClass);
        EXPECT_EQ(memoryClass, 0) << index;
    }
    memoryClass = -1;
    lib.TOC_get_memory_class(junk.data(), 0, &memoryClass);
    EXPECT_EQ(memoryClass, 0);
}

TEST_F(LibraryTest, MessagesNeverRunPastTheirBuffers) {
    MakeBench(1);
    // Exactly the contract's size on the heap, so the address sanitizer sees
    // any byte written past it.
    auto bounded = std::make_unique<char[]>(IFWD_DL_MESSAGE_SIZE);
    std::string port = "\\\\.\\USB" + std::string(3000, '7');
    EXPECT_EQ(Library().open_comm_port(1, port.c_str(), port.c_str(), 460800, bounded.get()), 1);
    EXPECT_EQ(std::strlen(bounded.get()), IFWD_DL_MESSAGE_SIZE - 1u);
    std::string path = dir / std::string(2000, 'p');
    ASSERT_EQ(Open(1), 0) << msg;
    EXPECT_EQ(Library().boot_target(1, path.c_str(), bootBlock, bounded.get()), 1);
    EXPECT_EQ(std::strlen(bounded.get()), IFWD_DL_MESSAGE_SIZE - 1u);
    EXPECT_EQ(Library().download_cust_file(1, ("|0|" + path).c_str(), bounded.get()), 1);
    EXPECT_EQ(std::strlen(bounded.get()), IFWD_DL_MESSAGE_SIZE - 1u);
}

TEST_F(LibraryTest, CallsThatCannotStartReturnOneWithAReason) {
    MakeBench(2);
    std::string image = PlainImage("code", 4, 1000);
    EXPECT_EQ(Download(1, "|0|" + image), 1);
    EXPECT_NE(std::string(msg).find("no open port"), std::string::npos) << msg;
    EXPECT_EQ(Boot(1, image), 1);
    EXPECT_NE(std::string(msg).find("no open port"), std::string::npos) << msg;

    ASSERT_TRUE(OpenAndBoot(1, image));
    struct Case {
        std::string spec, reason;
    };
    std::string junk = dir / "junk.bin";
    WriteBytes(junk, Payload(300, 1));
    for (const Case& c : {Case{"0|" + image, "not an item file spec"}, Case{"|1|" + image, "has no item 1"},
                          Case{"|0|" + dir / "missing", "cannot open"}, Case{"|0|" + junk, "not an image"}}) {
        EXPECT_EQ(Download(1, c.spec), 1) << c.spec;
        EXPECT_NE(std::string(msg).find(c.reason), std::string::npos) << msg;
    }
    EXPECT_EQ(Boot(1, junk), 1);
    EXPECT_NE(std::string(msg).find("not a readable image"), std::string::npos) << msg;
    EXPECT_EQ(Library().boot_target(0, image.c_str(), bootBlock, msg), 1);
    EXPECT_EQ(Library().download_fls_file(9, ("|0|" + image).c_str(), msg), 1);
    EXPECT_NE(std::string(msg).find("channel 9 does not exist"), std::string::npos) << msg;
}

TEST_F(LibraryTest, ABusyChannelRefusesASecondStep) {
    MakeBench(1);
    std::string image = PlainImage("code", 4, 400000);
    ASSERT_TRUE(OpenAndBoot(1, image));
    SetFault(1, "rate=200K");
    ASSERT_EQ(Download(1, "|0|" + image), 0) << msg;
    EXPECT_EQ(Download(1, "|0|" + image), 1);
    EXPECT_NE(std::string(msg).find("busy"), std::string::npos) << msg;
    EXPECT_EQ(Boot(1, image), 1);
}

TEST_F(LibraryTest, OpenNamesWhatIsMissing) {
    MakeBench(2, false);
    std::string error;
    ASSERT_TRUE(bench->Plug(2, error));
    EXPECT_EQ(Open(1, 1), 1);
    EXPECT_NE(std::string(msg).find("\\\\.\\USB1: no phone is plugged in as USB1"), std::string::npos) << msg;
    msg[0] = '\0';
    EXPECT_EQ(Library().open_comm_port(1, "\\\\.\\COM2", "\\\\.\\COM2", 460800, msg), 0) << msg;
    EXPECT_EQ(Library().open_comm_port(2, "COM2", "COM2", 460800, msg), 1);
    EXPECT_NE(std::string(msg).find("not a port name"), std::string::npos) << msg;
    ::unsetenv(kBenchVariable);
    EXPECT_EQ(Open(2, 2), 1);
    EXPECT_NE(std::string(msg).find("no virtual bench"), std::string::npos) << msg;
    ::setenv(kBenchVariable, (dir / "nowhere").c_str(), 1);
    EXPECT_EQ(Open(2, 2), 1);
    EXPECT_NE(std::string(msg).find("no bench at"), std::string::npos) << msg;
}

TEST_F(LibraryTest, ADamagedPayloadIsNeverReportedAsWritten) {
    MakeBench(1);
    std::string image = PlainImage("code", 4, 5000);
    std::vector<std::uint8_t> bytes = ReadBytes(image);
    bytes[3000] ^= 0x40;
    WriteBytes(image, bytes);
    ASSERT_TRUE(OpenAndBoot(1, image));
    ASSERT_EQ(Download(1, "|0|" + image), 0) << msg;
    std::optional<Event> outcome = Reports::Instance().NextOutcome(1);
    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->status, IFWD_DL_STATUS_FAILED);
    EXPECT_NE(outcome->text.find("does not match its checksum"), std::string::npos) << outcome->text;
    EXPECT_EQ(Flashed(1), "");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(bench->FlashDir("phone-1")), {}), 0);
}

TEST_F(LibraryTest, AResetWithoutAnOpenPortStillReportsItsFailure) {
    MakeBench(1);
    EXPECT_EQ(Library().force_target_reset(1, 1, 16, 17, 0, msg), 1);
    std::optional<Event> outcome = Reports::Instance().NextOutcome(1);
    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->status, IFWD_DL_STATUS_FAILED);
    EXPECT_NE(outcome->text.find("no open port"), std::string::npos) << outcome->text;
}

}  // namespace
}  // namespace tandrel::sim::test
