#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "results/ResultStore.h"
#include "results/StoreWriter.h"
#include "ResultFixtures.h"
#include "support/TempFolder.h"

namespace tandrel {
namespace {

void Sql(const std::string& path, const char* sql) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

TEST(ResultStore, KeepsEveryRecordOnceInSequenceAndFindsThemByPortResultAndTime) {
    const test::TempFolder folder;
    std::string error;
    auto store = ResultStore::Open(folder / "r.db", true, error);
    ASSERT_TRUE(store) << error;
    std::vector<ResultRecord> handed = {Phone(3, true, 1000), Phone(3, false, 2000), Phone(5, true, 3000)};
    for (ResultRecord& r : handed) ASSERT_TRUE(store->AddResult(r, error)) << error;
    ResultRecord again = handed[1];
    ASSERT_TRUE(store->AddResult(again, error));
    EXPECT_EQ(again.sequence, 2) << "a record handed twice keeps the sequence it has";

    auto reader = ResultStore::Open(folder / "r.db", false, error);
    ASSERT_TRUE(reader) << error;
    std::vector<ResultRecord> all;
    ASSERT_TRUE(reader->Results({}, all, error));
    ASSERT_EQ(all.size(), 3u);
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(all[i].sequence, static_cast<std::int64_t>(i + 1));
        EXPECT_EQ(ResultJson(all[i]), ResultJson(handed[i]));
    }
    const auto count = [&](auto&& set) {
        ResultFilter filter;
        set(filter);
        std::vector<ResultRecord> found;
        EXPECT_TRUE(reader->Results(filter, found, error));
        return found.size();
    };
    EXPECT_EQ(count([](ResultFilter& f) { f.port = 3; }), 2u);
    EXPECT_EQ(count([](ResultFilter& f) { f.success = false; }), 1u);
    EXPECT_EQ(count([](ResultFilter& f) { f.sinceMs = 2000; }), 2u);
    EXPECT_EQ(count([&](ResultFilter& f) { f.uuid = handed[2].uuid; }), 1u);

    StoreCheck check;
    ASSERT_TRUE(reader->Check(check, error));
    EXPECT_TRUE(check.damage.empty());
    EXPECT_TRUE(check.missing.empty());
    Sql(folder / "r.db", "DELETE FROM result_images WHERE sequence = 2; DELETE FROM results WHERE sequence = 2");
    StoreCheck gap;
    ASSERT_TRUE(reader->Check(gap, error));
    EXPECT_EQ(gap.missing, std::vector<std::int64_t>{2});
}

TEST(ResultStore, AFileThatIsNoStoreOfThisStationIsRefusedWithItsReason) {
    const test::TempFolder folder;
    folder.WriteFile("text.db", std::string(4096, 'x'));
    Sql(folder / "newer.db", "PRAGMA user_version = 99");
    const struct {
        std::string file;
        bool forWriting;
        std::string reason;
    } cases[] = {
        {"text.db", true, "is not a results store"},
        {"newer.db", true, "was written by a newer station"},
        {"missing.db", false, "cannot open"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(ResultStore::Open(folder / c.file, c.forWriting, error)) << c.file;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.file << ": " << error;
    }
}

// A store of the first schema, which kept no reason: the tool reads it as it
// is, and the station brings it forward keeping every row.
TEST(ResultStore, AStoreOfAnOlderSchemaIsReadAsItIsAndBroughtForwardWithItsRows) {
    const test::TempFolder folder;
    const std::string path = folder / "r.db";
    std::string error;
    ResultRecord old = Phone(2, false, 1000);
    {
        auto store = ResultStore::Open(path, true, error);
        ASSERT_TRUE(store && store->AddResult(old, error)) << error;
    }
    Sql(path, "ALTER TABLE results DROP COLUMN reason; DROP TABLE port_clears; DROP TABLE line_outbox; PRAGMA user_version = 1");
    const auto readAll = [&] {
        std::vector<ResultRecord> read;
        auto store = ResultStore::Open(path, false, error);
        EXPECT_TRUE(store && store->Results({}, read, error)) << error;
        return read;
    };
    std::vector<ResultRecord> read = readAll();
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].failText, "Failed (FLS)");
    EXPECT_EQ(read[0].reason, "");

    ResultRecord added = Phone(3, false, 2000);
    {
        auto store = ResultStore::Open(path, true, error);
        ASSERT_TRUE(store && store->AddResult(added, error)) << error;
    }
    read = readAll();
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].uuid, old.uuid);
    EXPECT_EQ(read[0].reason, "");
    EXPECT_EQ(ResultJson(read[1]), ResultJson(added));
}

TEST(StoreWriter, RecordsThatMeetAStoreThatCannotBeWrittenWaitAndAreWrittenInOrderOnceItCan) {
    const test::TempFolder folder;
    folder.WriteFile("blocked", "a file where the store's folder must be");
    const std::string path = folder / "blocked/results.db";
    WindowSide window;
    std::vector<std::string> uuids;
    {
        StoreWriter writer(path, window.loop, [&](const std::string& line) { window.lines.push_back(line); });
        for (int n = 1; n <= 3; ++n) {
            ResultRecord r = Phone(n, true, 1000 * n);
            uuids.push_back(r.uuid);
            writer.Hand(std::move(r));
        }
        ASSERT_EQ(window.Lines(1).size(), 1u);
        EXPECT_EQ(window.lines[0].rfind("Results are not being saved: cannot open ", 0), 0u) << window.lines[0];
        folder.Remove("blocked");
        EXPECT_EQ(window.Lines(2), (std::vector<std::string>{window.lines[0], "Results are being saved again"}));
    }
    std::string error;
    auto store = ResultStore::Open(path, false, error);
    ASSERT_TRUE(store) << error;
    std::vector<ResultRecord> all;
    ASSERT_TRUE(store->Results({}, all, error));
    ASSERT_EQ(all.size(), 3u);
    for (std::size_t i = 0; i < all.size(); ++i) EXPECT_EQ(all[i].uuid, uuids[i]);
}

TEST(ResultStore, KeepsClearsAndGivesEachPortItsPhonesSinceItsLastClear) {
    const test::TempFolder folder;
    std::string error;
    auto store = ResultStore::Open(folder / "r.db", true, error);
    ASSERT_TRUE(store) << error;
    const auto add = [&](int channel, bool success, std::int64_t resultMs) {
        ResultRecord r = Phone(channel, success, resultMs);
        r.durationMs = 700;
        ASSERT_TRUE(store->AddResult(r, error)) << error;
    };
    add(3, false, 1000);
    add(2, true, 1500);
    ASSERT_TRUE(store->AddClear(PortClear{3, 1800}, error));
    ASSERT_TRUE(store->AddClear(PortClear{3, 2000}, error));
    add(3, true, 2500);
    RunRecord yesterday{"r1", "s", 500, "USB", {}, {}};
    RunRecord today{"r2", "s", 1700, "USB", {}, {}};
    ASSERT_TRUE(store->AddRun(yesterday, error) && store->AddRun(today, error)) << error;

    PortHistory history;
    ASSERT_TRUE(store->LoadPortHistory(1600, history, error)) << error;
    ASSERT_EQ(history.clears.size(), 1u);
    EXPECT_EQ(history.clears[0].port, 3);
    EXPECT_EQ(history.clears[0].ms, 2000);
    ASSERT_EQ(history.outcomes.size(), 2u);
    EXPECT_EQ(history.outcomes[0].port, 2);
    EXPECT_EQ(history.outcomes[1].port, 3);
    EXPECT_TRUE(history.outcomes[1].success);
    EXPECT_EQ(history.outcomes[1].durationMs, 700);
    EXPECT_EQ(history.shiftStartMs, 1700);

    PortHealth health;
    health.Load(history);
    EXPECT_EQ(health.Figures(3).phones, 1);
    EXPECT_EQ(health.ClearedAt(3), 2000);
    EXPECT_FALSE(health.Figures(2).shiftYield) << "port 2's phone finished before the shift";
}

}  // namespace
}  // namespace tandrel
