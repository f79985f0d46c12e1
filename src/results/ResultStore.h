#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "results/PortHealth.h"
#include "results/ResultRecord.h"

struct sqlite3;

namespace tandrel {

// Which results a listing takes; an unset field takes all.
struct ResultFilter {
    std::int64_t sinceMs = 0;
    int port = 0;
    std::optional<bool> success;
    std::string uuid;
    // Only results above this sequence, and at most limit of them (0: all).
    std::int64_t afterSequence = 0;
    std::int64_t limit = 0;
};

// What check finds: the database's own verdict and the sequence numbers missing.
struct StoreCheck {
    std::vector<std::string> damage;  // empty when the database is sound
    std::vector<std::int64_t> missing;
    std::int64_t results = 0;
};

// The station's results on SQLite: one row per phone, one per Start. Every
// write is its own transaction with synchronous=FULL in WAL mode, so a power
// loss takes at most the row being written. Not thread-safe: one thread at a
// time uses a store.
class ResultStore {
public:
    // The schema this build writes, kept in the file's user_version.
    static constexpr int kSchemaVersion = 4;

    // Opens the store at path (UTF-8). forWriting creates a missing file and
    // brings an older schema up to date; otherwise the file is only read,
    // whichever schema up to this build's it has.
    // Null, with the reason in words for the operator, when it cannot.
    static std::unique_ptr<ResultStore> Open(const std::string& path, bool forWriting, std::string& error);
    ~ResultStore();
    ResultStore(const ResultStore&) = delete;
    ResultStore& operator=(const ResultStore&) = delete;

    // Writes the record with the next sequence number, which it takes. A
    // record whose UUID is there already is not written again; it takes the
    // sequence it has.
    bool AddResult(ResultRecord& record, std::string& error);
    bool AddRun(const RunRecord& run, std::string& error);
    bool AddClear(const PortClear& clear, std::string& error);

    // What port health starts from; the shift is the first Start since
    // dayStartMs (UTC ms of the day's beginning).
    bool LoadPortHistory(std::int64_t dayStartMs, PortHistory& out, std::string& error);

    // Results in sequence order.
    bool Results(const ResultFilter& filter, std::vector<ResultRecord>& out, std::string& error);
    bool Check(StoreCheck& out, std::string& error);

    // The store is the station's outbox to the line: results are sent in
    // sequence order, so the last sequence the line has answered for is all
    // it needs to remember. Unsent takes the oldest unsent results, up to
    // limit, and counts all that wait.
    bool Unsent(std::int64_t limit, std::vector<ResultRecord>& out, std::int64_t& waiting, std::string& error);
    bool MarkSentThrough(std::int64_t sequence, std::string& error);

private:
    ResultStore(sqlite3* db, std::string path) : db_(db), path_(std::move(path)) {}
    bool Migrate(std::string& error);
    bool Exec(const char* sql, std::string& error);
    std::string Reason(int code) const;

    sqlite3* db_;
    std::string path_;
    std::int64_t version_ = kSchemaVersion;  // the file's schema
};

}  // namespace tandrel
