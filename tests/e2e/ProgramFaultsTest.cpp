// The tandrel program run by a script, when things go wrong around it: the
// journal's or the results store's disk is full or read-only, the station is
// stopped or killed in the middle of a download, and COMM mode is chosen from
// the command line.
#include <sys/mount.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "BenchFixture.h"
#include "JournalRecords.h"
#include "StoreRows.h"

namespace tandrel::e2e {
namespace {

constexpr const char* kJournalFailed = "Journal cannot be written: No space left on device";

class ProgramFaults : public BenchTest {
protected:
    explicit ProgramFaults(int phones = 2) : BenchTest(phones) { bench.MakeCurrent(); }
    ~ProgramFaults() override {
        if (!disk.empty()) umount2(disk.c_str(), MNT_DETACH);
    }

    // A tmpfs of its own at disk; false where mounting is not permitted.
    bool MountDisk(const char* options) {
        const std::string at = folder / "disk";
        std::filesystem::create_directory(at);
        if (mount("tandrel-test", at.c_str(), "tmpfs", 0, options) != 0) return false;
        disk = at;
        return true;
    }

    // Root writes to a read-only file, but not to a read-only file system. A
    // file still open for writing holds the remount back for a moment.
    bool RemountDisk(unsigned long flags) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (mount("tandrel-test", disk.c_str(), "tmpfs", MS_REMOUNT | flags, nullptr) != 0) {
            if (errno != EBUSY || std::chrono::steady_clock::now() > deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return true;
    }

    // Writes file until the disk has no room left.
    static void FillDisk(const std::string& file) {
        std::ofstream fill(file, std::ios::binary);
        const std::string block(4096, 'x');
        while (fill.write(block.data(), static_cast<std::streamsize>(block.size()))) {
        }
    }

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

    static std::vector<JournalRecord> Results(JournalTail& journal) { return ResultRecords(journal.Update()); }

    const std::string log = folder / "station.log";
    std::string disk;  // the mounted tmpfs, if any
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
    if (!MountDisk("size=256k")) GTEST_SKIP() << "mounting a small tmpfs needs root";
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

    FillDisk(filler);
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

// Eight phones in COMM mode, where a phone's row ends without an unplug.
class StoreFaults : public ProgramFaults {
protected:
    StoreFaults() : ProgramFaults(8) { PlugPhones({1, 2, 3, 4, 5, 6, 7, 8}); }

    std::vector<std::string> CommStation(const std::string& store, const std::string& journal) {
        return Station({"--driver", "comm", "--start", "--journal", journal, "--results", store});
    }

    static std::vector<std::string> Uuids(const std::vector<JournalRecord>& records) {
        std::vector<std::string> uuids;
        for (const JournalRecord& r : records) uuids.push_back(r["uuid"]);
        return uuids;
    }

    static int LogLines(const std::vector<JournalRecord>& records, const std::string& start) {
        return static_cast<int>(std::count_if(records.begin(), records.end(), [&](const JournalRecord& r) {
            return r.ev == "log" && r["text"].rfind(start, 0) == 0;
        }));
    }

    static std::string Check(const std::string& store) {
        const ProgramResult check = ResultsTool({"--results", store, "check"});
        return std::to_string(check.status) + " " + check.output;
    }
};

constexpr const char* kNotSaved = "Results are not being saved: ";
constexpr const char* kSavedAgain = "Results are being saved again";

TEST_F(StoreFaults, AStationKilledMidRunKeepsEveryRowItWroteAndTheNextRunCarriesOnTheSequence) {
    const std::string store = folder / "results.db";
    for (int n = 1; n <= 4; ++n) bench.SetFault(n, "item3=fail");
    for (int n = 5; n <= 8; ++n) bench.SetFault(n, kSlowLink);
    std::vector<std::string> before;
    {
        ChildProcess station(CommStation(store, folder / "killed.jsonl"), log);
        JournalTail journal(folder / "killed.jsonl");
        ASSERT_TRUE(Await(station, [&] { return Results(journal).size() == 4 && StoreRows(store).size() == 4; }))
            << ReadWholeFile(log);
        station.Kill();
        ASSERT_EQ(Results(journal).size(), 4u) << "phones 5 to 8 were still being written";
        before = Uuids(Results(journal));
    }
    EXPECT_EQ(Check(store), "0 " + store + ": 4 results, no damage, no gap\n");
    EXPECT_EQ(Uuids(StoreRows(store)), before);

    for (int n = 1; n <= 8; ++n) bench.ClearFaults(n);
    ChildProcess station(CommStation(store, folder / "again.jsonl"), log);
    JournalTail journal(folder / "again.jsonl");
    ASSERT_TRUE(Await(station, [&] { return StoreRows(store).size() == 12; })) << ReadWholeFile(log);
    EXPECT_EQ(station.Stop(), 0);
    EXPECT_EQ(Check(store), "0 " + store + ": 12 results, no damage, no gap\n");
    std::vector<std::string> all = before;
    for (const std::string& uuid : Uuids(Results(journal))) all.push_back(uuid);
    EXPECT_EQ(Uuids(StoreRows(store)), all);
    for (int n = 1; n <= 8; ++n) EXPECT_EQ(bench.FlashDifference(n, {container}), "") << "phone " << n;
}

// Phone 1 fails at once and its row is written; the store's disk then
// refuses writes while the other seven are flashed, and takes them again.
TEST_F(StoreFaults, AStoreThatCannotBeWrittenMidRunGetsEveryRowInOrderOnceItCanAgain) {
    if (!MountDisk("size=1m")) GTEST_SKIP() << "mounting a small tmpfs needs root";
    const std::string filler = disk + "/filler";
    const struct {
        std::string name;
        std::function<bool()> block, unblock;
    } faults[] = {
        {"read-only", [&] { return RemountDisk(MS_RDONLY); }, [&] { return RemountDisk(0); }},
        {"full",
         [&] {
             FillDisk(filler);
             return true;
         },
         [&] { return std::filesystem::remove(filler); }},
    };
    bench.SetFault(1, "item3=fail");
    for (int n = 2; n <= 8; ++n) bench.SetFault(n, "rate=128K");
    for (const auto& fault : faults) {
        SCOPED_TRACE(fault.name);
        const std::string store = disk + "/" + fault.name + ".db";
        const std::string journalFile = folder / (fault.name + ".jsonl");
        ChildProcess station(CommStation(store, journalFile), log);
        JournalTail journal(journalFile);
        ASSERT_TRUE(Await(station, [&] { return StoreRows(store).size() == 1; })) << ReadWholeFile(log);
        ASSERT_TRUE(fault.block());
        ASSERT_TRUE(Await(station, [&] {
            return Results(journal).size() == 8 && LogLines(journal.Records(), kNotSaved) == 1;
        })) << ReadWholeFile(log);
        EXPECT_EQ(StoreRows(store).size(), 1u);
        ASSERT_TRUE(fault.unblock());
        ASSERT_TRUE(Await(station, [&] { return StoreRows(store).size() == 8; })) << ReadWholeFile(log);
        EXPECT_EQ(station.Stop(), 0);

        const std::vector<JournalRecord> rows = StoreRows(store);
        EXPECT_EQ(Uuids(rows), Uuids(Results(journal))) << "in order, none twice";
        EXPECT_EQ(Check(store), "0 " + store + ": 8 results, no damage, no gap\n");
        EXPECT_EQ(LogLines(journal.Update(), kNotSaved), 1);
        EXPECT_EQ(LogLines(journal.Records(), kSavedAgain), 1);
        for (int n = 2; n <= 8; ++n) EXPECT_EQ(bench.FlashDifference(n, {container}), "") << "phone " << n;
    }
}

}  // namespace
}  // namespace tandrel::e2e
