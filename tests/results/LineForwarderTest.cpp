#include <gtest/gtest.h>
#include <sqlite3.h>

#include <mutex>
#include <thread>

#include "ResultFixtures.h"
#include "results/LineForwarder.h"
#include "results/ResultStore.h"
#include "support/TempFolder.h"

namespace tandrel {
namespace {

// The line service's stand-in: keeps every batch and answers as told.
class ScriptedLine : public LineClient {
public:
    explicit ScriptedLine(std::vector<LineAnswer> answers) : answers_(std::move(answers)) {}

    LineAnswer Send(const std::string& batch) override {
        const std::lock_guard<std::mutex> lock(mutex_);
        batches_.push_back(batch);
        return batches_.size() <= answers_.size() ? answers_[batches_.size() - 1] : LineAnswer{true, {}, {}};
    }
    std::vector<std::string> Batches() {
        const std::lock_guard<std::mutex> lock(mutex_);
        return batches_;
    }

private:
    const std::vector<LineAnswer> answers_;
    std::mutex mutex_;
    std::vector<std::string> batches_;
};

// The numbers after each "name": in text, in order.
std::vector<std::int64_t> Numbers(const std::string& text, const std::string& name) {
    std::vector<std::int64_t> numbers;
    const std::string key = "\"" + name + "\":";
    for (std::size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 1)) {
        numbers.push_back(std::stoll(text.substr(at + key.size())));
    }
    return numbers;
}

// A store of count results, made by an older station that kept no outbox.
std::string OlderStore(const test::TempFolder& folder, int count) {
    const std::string path = folder / "results.db";
    std::string error;
    auto store = ResultStore::Open(path, true, error);
    for (int n = 1; n <= count; ++n) {
        ResultRecord r = Phone(n % 8 + 1, true, n);
        EXPECT_TRUE(store->AddResult(r, error)) << error;
    }
    store.reset();
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    EXPECT_EQ(sqlite3_exec(db, "DROP TABLE line_outbox; PRAGMA user_version = 3", nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    return path;
}

std::int64_t Waiting(const std::string& path) {
    std::string error;
    auto store = ResultStore::Open(path, true, error);
    std::vector<ResultRecord> unsent;
    std::int64_t waiting = -1;
    EXPECT_TRUE(store && store->Unsent(1, unsent, waiting, error)) << error;
    return waiting;
}

TEST(LineForwarder, SendsAnOlderStoresResultsInOrderABatchAtATimeAndCountsThemSentOnceAnswered) {
    const test::TempFolder folder;
    const std::string path = OlderStore(folder, 250);
    auto line = std::make_unique<ScriptedLine>(std::vector<LineAnswer>{{true, {}, {7}}});
    ScriptedLine& seen = *line;
    WindowSide window;
    std::vector<std::string> batches;
    {
        const LineForwarder forwarder(path, std::move(line), window.loop,
                                      [&](const std::string& said) { window.lines.push_back(said); });
        EXPECT_EQ(window.Lines(1), std::vector<std::string>{"The line holds another result under sequence 7 of "
                                                            "this station"});
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while ((batches = seen.Batches()).size() < 3 && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    ASSERT_GE(batches.size(), 3u);
    std::int64_t next = 1;
    for (std::size_t i = 0; i < 3; ++i) {
        const std::int64_t rows = i < 2 ? 100 : 50;
        const std::vector<std::int64_t> sequences = Numbers(batches[i], "sequence");
        ASSERT_EQ(sequences.size(), static_cast<std::size_t>(rows)) << "batch " << i;
        EXPECT_EQ(Numbers(batches[i], "waiting"), std::vector<std::int64_t>{250 - next + 1 - rows}) << "batch " << i;
        for (const std::int64_t sequence : sequences) EXPECT_EQ(sequence, next++);
    }
    EXPECT_EQ(Waiting(path), 0);
}

TEST(LineForwarder, ABatchTheLineDidNotAnswerForStaysUnsentAndTheOperatorHearsWhy) {
    const test::TempFolder folder;
    const std::string path = OlderStore(folder, 3);
    WindowSide window;
    {
        const LineForwarder forwarder(
            path, std::make_unique<ScriptedLine>(std::vector<LineAnswer>{{false, "cannot connect to http://l:1", {}}}),
            window.loop, [&](const std::string& said) { window.lines.push_back(said); });
        EXPECT_EQ(window.Lines(1),
                  std::vector<std::string>{"Line not reachable: cannot connect to http://l:1, 3 results waiting"});
    }
    EXPECT_EQ(Waiting(path), 3);
}

}  // namespace
}  // namespace tandrel
