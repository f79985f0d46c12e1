// The tandrel program run by a script, when things go wrong around it: the
// journal's disk is full, the station is stopped in the middle of a
// download, and COMM mode is chosen from the command line.
#include <sys/mount.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "BenchFixture.h"
#include "JournalRecords.h"

namespace tandrel::e2e {
namespace {

constexpr const char* kJournalFailed = "Journal cannot be written: No space left on device";

class ProgramFaults : public BenchTest {
protected:
    ProgramFaults() : BenchTest(2) { bench.MakeCurrent(); }

    std::vector<std::string> Station(std::vector<std::string> more) {
        std::vector<std::string> argv = {TANDREL_PROGRAM, "-platform", "offscreen", "--library", TANDREL_SIM_LIBRARY,
                                         "--devices", "dir:" + bench.Registry(), "--image", container};
        argv.insert(argv.end(), more.begin(), more.end());
        return argv;
    }

    // Polls until condition holds or the program ends; false on the deadline.
    static bool Await(ChildProcess& station, const std::function<bool()>& condition) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < deadline && station.Running()) {
            if (condition()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return condition();
    }

    static int Count(const std::string& text, const std::string& fragment) {
        int n = 0;
        for (auto at = text.find(fragment); at != std::string::npos; at = text.find(fragment, at + 1)) ++n;
        return n;
    }

    static std::vector<JournalRecord> Results(JournalTail& journal) {
        std::vector<JournalRecord> results;
        for (const JournalRecord& r : journal.Update()) {
            if (r.ev == "result") results.push_back(r);
        }
        return results;
    }

    const std::string log = folder / "station.log";
};

TEST_F(ProgramFaults, AJournalOnAFullDeviceIsSaidOnceAndTheProgramEndsWithStatusThree) {
    ChildProcess station(Station({"--journal", "/dev/full"}), log);
    ASSERT_TRUE(Await(station, [&] { return ReadWholeFile(log).find(kJournalFailed) != std::string::npos; }))
        << ReadWholeFile(log);
    EXPECT_EQ(station.Stop(), 3);
    EXPECT_EQ(Count(ReadWholeFile(log), kJournalFailed), 1) << ReadWholeFile(log);
    EXPECT_NE(ReadWholeFile(log).find("the journal lost"), std::string::npos);
}

// The disk fills while a phone is being written and is freed later; the
// phone is pulled mid-download: the station goes on, and the file ends up
// with whole records only, the phone's result among them.
TEST_F(ProgramFaults, AJournalWhoseDiskFillsMidRunCatchesUpOnceThereIsRoomAgain) {
    const std::string disk = folder / "disk";
    std::filesystem::create_directory(disk);
    if (mount("tandrel-test", disk.c_str(), "tmpfs", 0, "size=256k") != 0) {
        GTEST_SKIP() << "mounting a small tmpfs needs root";
    }
    struct Unmount {
        std::string at;
        ~Unmount() { umount2(at.c_str(), MNT_DETACH); }
    } unmount{disk};
    const std::string journalFile = disk + "/journal.jsonl";
    const std::string filler = disk + "/filler";
    bench.SetFault(1, kSlowLink);
    bench.Plug(1);
    ChildProcess station(Station({"--start", "--journal", journalFile}), log);
    JournalTail journal(journalFile);
    ASSERT_TRUE(Await(station, [&] {
        const auto& records = journal.Update();
        return std::any_of(records.begin(), records.end(),
                           [](const JournalRecord& r) { return r.ev == "progress" && r.ch == 1 && r["pos"] != "0"; });
    }));

    {
        std::ofstream fill(filler, std::ios::binary);
        const std::string block(4096, 'x');
        while (fill.write(block.data(), static_cast<std::streamsize>(block.size()))) {
        }
    }
    // The phone's progress fills what room the journal's last page had.
    ASSERT_TRUE(Await(station, [&] { return ReadWholeFile(log).find(kJournalFailed) != std::string::npos; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // records wait meanwhile
    std::filesystem::remove(filler);
    bench.Unplug(1);
    ASSERT_TRUE(Await(station, [&] { return Results(journal).size() == 1; })) << ReadWholeFile(log);
    EXPECT_EQ(station.Stop(), 0) << "nothing was lost: " << ReadWholeFile(log);

    const std::string text = ReadWholeFile(journalFile);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\n');
    std::size_t lines = 0;
    for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1, ++lines) {
        EXPECT_EQ(ParseJournal(text.substr(start, end - start + 1)).size(), 1u) << text.substr(start, end - start);
    }
    EXPECT_EQ(ParseJournal(text).size(), lines) << "every line is one whole record";
    EXPECT_EQ(Results(journal).front()["result"], "Fail");
    EXPECT_EQ(Count(ReadWholeFile(log), kJournalFailed), 1);
}

TEST_F(ProgramFaults, StoppedWhileTwoPhonesAreWrittenRecordsBothAsFailed) {
    const std::string journalFile = folder / "journal.jsonl";
    for (int n : {1, 2}) bench.SetFault(n, kSlowLink);
    PlugPhones({1, 2});
    ChildProcess station(Station({"--start", "--journal", journalFile}), log);
    JournalTail journal(journalFile);
    auto downloading = [&](int n) {
        const auto& records = journal.Records();
        return std::any_of(records.begin(), records.end(), [n](const JournalRecord& r) {
            return r.ev == "progress" && r.ch == n && r["pos"] != "0";
        });
    };
    ASSERT_TRUE(Await(station, [&] { return journal.Update(), downloading(1) && downloading(2); }));

    EXPECT_EQ(station.Stop(), 0);
    const std::vector<JournalRecord> results = Results(journal);
    ASSERT_EQ(results.size(), 2u) << ReadWholeFile(journalFile);
    for (const JournalRecord& r : results) {
        EXPECT_EQ(r["result"], "Fail");
        EXPECT_EQ(r["reason"], "station closed during download");
    }
    EXPECT_EQ(Count(ReadWholeFile(journalFile), "Station closed during download: channel 1, 2"), 1);
}

TEST_F(ProgramFaults, DriverCommOnTheCommandLineWritesThePhoneWithoutAWindow) {
    const std::string journalFile = folder / "journal.jsonl";
    PlugPhones({1});
    ChildProcess station(Station({"--driver", "comm", "--start", "--journal", journalFile}), log);
    JournalTail journal(journalFile);
    ASSERT_TRUE(Await(station, [&] {
        const std::vector<std::string> texts = StatusTexts(journal.Update(), 1);
        return std::find(texts.begin(), texts.end(), "Done") != texts.end() && bench.PhoneState(1) == "reset done";
    })) << ReadWholeFile(log);
    EXPECT_EQ(StatusTexts(journal.Records(), 1).front(), "READY");
    EXPECT_EQ(station.Stop(), 0);
    EXPECT_EQ(bench.FlashDifference(1, {container}), "");
}

}  // namespace
}  // namespace tandrel::e2e
