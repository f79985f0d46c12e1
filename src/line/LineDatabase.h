#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "line/LineRows.h"

struct pg_conn;

namespace tandrel::line {

// What a batch did: each row's sequence under the one answer that fits it.
struct StoreOutcome {
    std::vector<std::int64_t> stored;       // new, written now
    std::vector<std::int64_t> present;      // the same row was there already
    std::vector<std::int64_t> conflicting;  // its key is taken by another row
};

// Which results a listing takes, newest first.
struct ResultQuery {
    std::string station;  // empty: every station
    std::int64_t port = 0;  // 0: every port
    std::int64_t sinceMs = 0;
    std::int64_t limit = 100;
};

// The line's store on PostgreSQL. One connection, one request at a time; a
// lost connection is made again on the next request, so the service outlives
// a database restart.
class LineDatabase {
public:
    // The schema this build writes, kept in line_schema.
    static constexpr int kSchemaVersion = 3;

    explicit LineDatabase(std::string url) : url_(std::move(url)) {}
    ~LineDatabase();
    LineDatabase(const LineDatabase&) = delete;
    LineDatabase& operator=(const LineDatabase&) = delete;

    // Connects and brings the schema up to this build's version.
    bool Migrate(std::string& error);
    // All rows of station's batch in one transaction: on an error none is
    // written. The station is seen now, with the batch's count still waiting.
    bool Store(const std::string& station, const Batch& batch, StoreOutcome& outcome, std::string& error);
    // Whether the database answers now.
    bool Healthy(std::string& error);
    // The JSON list of stations, each with its ports; see tandrel-line(8).
    bool Stations(std::string& json, std::string& error);
    // The JSON list of results, each the row as its station sent it.
    bool Results(const ResultQuery& query, std::string& json, std::string& error);

private:
    bool Connected(std::string& error);
    bool Exec(const char* sql, std::string& error);
    bool SortOut(const std::string& rows, std::size_t count, const std::vector<std::int64_t>& stored,
                 StoreOutcome& outcome, std::string& error);
    bool StorePortFlags(const std::string& station, const std::string& ports);
    bool SingleText(const char* sql, const std::vector<std::string>& params, std::string& out, std::string& error);

    const std::string url_;
    std::mutex mutex_;
    pg_conn* conn_ = nullptr;  // guarded by mutex_
};

}  // namespace tandrel::line
