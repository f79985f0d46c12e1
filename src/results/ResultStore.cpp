#include "results/ResultStore.h"

#include <sqlite3.h>

#include <utility>

#include "ui/Journal.h"

namespace tandrel {

namespace {

// Each step brings the schema from its index to the next version. A step is
// only ever added at the end: a store made by an older station is brought
// forward one step at a time.
constexpr const char* kMigrations[] = {
    "CREATE TABLE runs("
    " uuid TEXT PRIMARY KEY, station TEXT NOT NULL, started_ms INTEGER NOT NULL, mode TEXT NOT NULL,"
    " file_specs TEXT NOT NULL, images TEXT NOT NULL);"
    "CREATE TABLE results("
    " sequence INTEGER PRIMARY KEY, uuid TEXT NOT NULL UNIQUE, station TEXT NOT NULL, run TEXT, mode TEXT NOT NULL,"
    " channel INTEGER NOT NULL, device INTEGER NOT NULL, device_path TEXT, result TEXT NOT NULL,"
    " fail_stage TEXT, fail_item TEXT, fail_text TEXT, row_text TEXT, library_version TEXT,"
    " station_version TEXT NOT NULL, armed_ms INTEGER, items_done_ms INTEGER, unplugged_ms INTEGER,"
    " result_ms INTEGER NOT NULL, ms INTEGER NOT NULL);"
    "CREATE TABLE result_images("
    " sequence INTEGER NOT NULL REFERENCES results(sequence), position INTEGER NOT NULL, spec TEXT NOT NULL,"
    " sha256 TEXT, PRIMARY KEY(sequence, position));"
    "CREATE INDEX results_by_time ON results(result_ms);",
    "ALTER TABLE results ADD COLUMN reason TEXT;",
    // Port health: the operator's clears, each the moment a port counts afresh from.
    "CREATE TABLE port_clears(port INTEGER NOT NULL, cleared_ms INTEGER NOT NULL, PRIMARY KEY(port, cleared_ms));",
    "CREATE TABLE line_outbox(sent_through INTEGER NOT NULL); INSERT INTO line_outbox VALUES(0);",
};
static_assert(std::size(kMigrations) == ResultStore::kSchemaVersion);
// The first schema that keeps a failure's reason.
constexpr std::int64_t kReasonSchema = 2;

// A statement that finalises itself.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) { code_ = sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr); }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    int Code() const { return code_; }
    Statement& Text(int i, const std::string& text) {
        if (text.empty()) sqlite3_bind_null(stmt_, i);
        else sqlite3_bind_text(stmt_, i, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& Int(int i, std::int64_t value) {
        sqlite3_bind_int64(stmt_, i, value);
        return *this;
    }
    Statement& Time(int i, std::int64_t ms) {
        if (ms) sqlite3_bind_int64(stmt_, i, ms);
        else sqlite3_bind_null(stmt_, i);
        return *this;
    }
    // SQLITE_ROW, SQLITE_DONE or the error.
    int Step() {
        if (code_ != SQLITE_OK) return code_;
        return sqlite3_step(stmt_);
    }
    std::string ColumnText(int i) const {
        const auto* text = sqlite3_column_text(stmt_, i);
        return text ? std::string(reinterpret_cast<const char*>(text)) : std::string();
    }
    std::int64_t ColumnInt(int i) const { return sqlite3_column_int64(stmt_, i); }

private:
    sqlite3_stmt* stmt_ = nullptr;
    int code_ = SQLITE_OK;
};

std::string ImagesJson(const std::vector<RunImage>& images) {
    std::string list = "[";
    for (const RunImage& image : images) {
        if (list.size() > 1) list += ',';
        list += "{\"path\":" + Journal::Quote(image.path) + ",\"size\":" + std::to_string(image.size) +
                ",\"modified\":" + std::to_string(image.modified) + ",\"volume\":" + std::to_string(image.volume) +
                ",\"file_id\":" + std::to_string(image.fileId) + ",\"sha256\":" +
                (image.sha256.empty() ? std::string("null") : Journal::Quote(image.sha256)) + "}";
    }
    return list + "]";
}

std::string TextsJson(const std::vector<std::string>& texts) {
    std::string list = "[";
    for (const std::string& text : texts) list += (list.size() > 1 ? "," : "") + Journal::Quote(text);
    return list + "]";
}

// The columns of the first schema, in the table's order; later ones follow by name.
constexpr const char* kResultColumns =
    "sequence, uuid, station, run, mode, channel, device, device_path, result, fail_stage, fail_item, fail_text,"
    " row_text, library_version, station_version, armed_ms, items_done_ms, unplugged_ms, result_ms, ms";

ResultRecord ReadResult(const Statement& s) {
    ResultRecord r;
    int i = 0;
    r.sequence = s.ColumnInt(i++);
    r.uuid = s.ColumnText(i++);
    r.station = s.ColumnText(i++);
    r.runUuid = s.ColumnText(i++);
    r.mode = s.ColumnText(i++);
    r.channel = static_cast<int>(s.ColumnInt(i++));
    r.device = static_cast<int>(s.ColumnInt(i++));
    r.devicePath = s.ColumnText(i++);
    r.success = s.ColumnText(i++) == "Success";
    r.failStage = s.ColumnText(i++);
    r.failItem = s.ColumnText(i++);
    r.failText = s.ColumnText(i++);
    r.rowText = s.ColumnText(i++);
    r.libraryVersion = s.ColumnText(i++);
    r.stationVersion = s.ColumnText(i++);
    r.armedMs = s.ColumnInt(i++);
    r.itemsDoneMs = s.ColumnInt(i++);
    r.unpluggedMs = s.ColumnInt(i++);
    r.resultMs = s.ColumnInt(i++);
    r.durationMs = s.ColumnInt(i++);
    r.reason = s.ColumnText(i++);
    return r;
}

}  // namespace

std::string ResultStore::Reason(int code) const {
    switch (code & 0xFF) {
    case SQLITE_CANTOPEN: return "cannot open " + path_;
    case SQLITE_NOTADB: return path_ + " is not a results store";
    case SQLITE_CORRUPT: return path_ + " is damaged";
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return path_ + " is locked by another program";
    case SQLITE_FULL: return "the disk of " + path_ + " is full";
    case SQLITE_READONLY: return path_ + " is read-only";
    case SQLITE_PERM: return "no permission to write " + path_;
    default: return path_ + ": " + (db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(code));
    }
}

std::unique_ptr<ResultStore> ResultStore::Open(const std::string& path, bool forWriting, std::string& error) {
    sqlite3* db = nullptr;
    const int flags = forWriting ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE : SQLITE_OPEN_READONLY;
    const int code = sqlite3_open_v2(path.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    std::unique_ptr<ResultStore> store(new ResultStore(db, path));
    if (code != SQLITE_OK) {
        error = store->Reason(code);
        return nullptr;
    }
    sqlite3_extended_result_codes(db, 1);
    // A reader that holds the file for a moment must not fail a write.
    sqlite3_busy_timeout(db, 2000);
    if (forWriting && !(store->Exec("PRAGMA journal_mode=WAL", error) &&
                        store->Exec("PRAGMA synchronous=FULL", error) && store->Migrate(error))) {
        return nullptr;
    }
    if (!forWriting) {
        Statement version(db, "PRAGMA user_version");
        const int step = version.Step();
        if (step != SQLITE_ROW) {
            error = store->Reason(step);
            return nullptr;
        }
        // A store an older station wrote is read as it is; reading never changes it.
        store->version_ = version.ColumnInt(0);
        if (store->version_ < 1 || store->version_ > kSchemaVersion) {
            error = path + " holds no results of this version (schema " + std::to_string(store->version_) + ")";
            return nullptr;
        }
    }
    return store;
}

ResultStore::~ResultStore() { sqlite3_close_v2(db_); }

bool ResultStore::Exec(const char* sql, std::string& error) {
    const int code = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
    if (code == SQLITE_OK) return true;
    error = Reason(code);
    return false;
}

bool ResultStore::Migrate(std::string& error) {
    if (!Exec("BEGIN IMMEDIATE", error)) return false;
    Statement version(db_, "PRAGMA user_version");
    if (const int step = version.Step(); step != SQLITE_ROW) {
        error = Reason(step);
        Exec("ROLLBACK", error);
        return false;
    }
    const std::int64_t from = version.ColumnInt(0);
    if (from > kSchemaVersion) {
        error = path_ + " was written by a newer station (schema " + std::to_string(from) + ")";
        std::string ignored;
        Exec("ROLLBACK", ignored);
        return false;
    }
    for (std::int64_t step = from; step < kSchemaVersion; ++step) {
        if (!Exec(kMigrations[step], error)) {
            std::string ignored;
            Exec("ROLLBACK", ignored);
            return false;
        }
    }
    const std::string setVersion = "PRAGMA user_version=" + std::to_string(kSchemaVersion);
    if (!Exec(setVersion.c_str(), error) || !Exec("COMMIT", error)) return false;
    version_ = kSchemaVersion;
    return true;
}

bool ResultStore::AddResult(ResultRecord& record, std::string& error) {
    if (!Exec("BEGIN IMMEDIATE", error)) return false;
    const auto fail = [&](int code) {
        error = Reason(code);
        std::string ignored;
        Exec("ROLLBACK", ignored);
        return false;
    };
    Statement existing(db_, "SELECT sequence FROM results WHERE uuid = ?");
    existing.Text(1, record.uuid);
    const int found = existing.Step();
    if (found == SQLITE_ROW) {
        record.sequence = existing.ColumnInt(0);
        return Exec("COMMIT", error);
    }
    if (found != SQLITE_DONE) return fail(found);
    Statement next(db_, "SELECT COALESCE(MAX(sequence), 0) + 1 FROM results");
    if (const int step = next.Step(); step != SQLITE_ROW) return fail(step);
    const std::int64_t sequence = next.ColumnInt(0);

    const std::string insertSql = std::string("INSERT INTO results(") + kResultColumns +
                                  ", reason) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
    Statement insert(db_, insertSql.c_str());
    insert.Int(1, sequence).Text(2, record.uuid).Text(3, record.station).Text(4, record.runUuid).Text(5, record.mode);
    insert.Int(6, record.channel).Int(7, record.device).Text(8, record.devicePath);
    insert.Text(9, record.success ? "Success" : "Fail").Text(10, record.failStage).Text(11, record.failItem);
    insert.Text(12, record.failText).Text(13, record.rowText).Text(14, record.libraryVersion);
    insert.Text(15, record.stationVersion).Time(16, record.armedMs).Time(17, record.itemsDoneMs);
    insert.Time(18, record.unpluggedMs).Int(19, record.resultMs).Int(20, record.durationMs).Text(21, record.reason);
    if (const int step = insert.Step(); step != SQLITE_DONE) return fail(step);
    for (std::size_t i = 0; i < record.images.size(); ++i) {
        Statement image(db_, "INSERT INTO result_images VALUES(?, ?, ?, ?)");
        image.Int(1, sequence).Int(2, static_cast<std::int64_t>(i)).Text(3, record.images[i]);
        image.Text(4, i < record.sha256.size() ? record.sha256[i] : std::string());
        if (const int step = image.Step(); step != SQLITE_DONE) return fail(step);
    }
    if (!Exec("COMMIT", error)) {
        std::string ignored;
        Exec("ROLLBACK", ignored);
        return false;
    }
    record.sequence = sequence;
    return true;
}

bool ResultStore::AddRun(const RunRecord& run, std::string& error) {
    Statement insert(db_, "INSERT OR IGNORE INTO runs VALUES(?, ?, ?, ?, ?, ?)");
    insert.Text(1, run.uuid).Text(2, run.station).Int(3, run.startedMs).Text(4, run.mode);
    insert.Text(5, TextsJson(run.fileSpecs)).Text(6, ImagesJson(run.images));
    if (const int step = insert.Step(); step != SQLITE_DONE) {
        error = Reason(step);
        return false;
    }
    return true;
}

namespace {

constexpr const char* kFilter =
    " WHERE result_ms >= ?1 AND (?2 = 0 OR device = ?2) AND (?3 < 0 OR result = ?4) AND (?5 IS NULL OR uuid = ?5)"
    " AND sequence > ?6 ORDER BY sequence LIMIT ?7";

void BindFilter(Statement& s, const ResultFilter& filter) {
    s.Int(1, filter.sinceMs).Int(2, filter.port).Int(3, filter.success ? 1 : -1);
    s.Text(4, filter.success.value_or(false) ? "Success" : "Fail").Text(5, filter.uuid);
    s.Int(6, filter.afterSequence).Int(7, filter.limit > 0 ? filter.limit : -1);
}

}  // namespace

bool ResultStore::Results(const ResultFilter& filter, std::vector<ResultRecord>& out, std::string& error) {
    const char* reason = version_ >= kReasonSchema ? ", reason" : ", NULL";
    const std::string sql =
        std::string("SELECT ") + kResultColumns + reason + " FROM results" + kFilter;
    Statement select(db_, sql.c_str());
    BindFilter(select, filter);
    int step = 0;
    while ((step = select.Step()) == SQLITE_ROW) out.push_back(ReadResult(select));
    if (step != SQLITE_DONE) {
        error = Reason(step);
        return false;
    }
    const std::string imagesSql = std::string("SELECT sequence, spec, sha256 FROM result_images WHERE sequence IN"
                                              " (SELECT sequence FROM results") +
                                  kFilter + ") ORDER BY sequence, position";
    Statement images(db_, imagesSql.c_str());
    BindFilter(images, filter);
    std::size_t at = 0;
    while ((step = images.Step()) == SQLITE_ROW) {
        const std::int64_t sequence = images.ColumnInt(0);
        while (at < out.size() && out[at].sequence < sequence) ++at;
        if (at == out.size() || out[at].sequence != sequence) continue;
        out[at].images.push_back(images.ColumnText(1));
        out[at].sha256.push_back(images.ColumnText(2));
    }
    if (step != SQLITE_DONE) {
        error = Reason(step);
        return false;
    }
    return true;
}

bool ResultStore::AddClear(const PortClear& clear, std::string& error) {
    Statement insert(db_, "INSERT OR IGNORE INTO port_clears VALUES(?, ?)");
    insert.Int(1, clear.port).Int(2, clear.ms);
    if (const int step = insert.Step(); step != SQLITE_DONE) {
        error = Reason(step);
        return false;
    }
    return true;
}

// Only what the figures need: each port's last clear and its phones since.
bool ResultStore::LoadPortHistory(std::int64_t dayStartMs, PortHistory& out, std::string& error) {
    Statement clears(db_, "SELECT port, MAX(cleared_ms) FROM port_clears GROUP BY port ORDER BY port");
    int step = 0;
    while ((step = clears.Step()) == SQLITE_ROW) {
        out.clears.push_back(PortClear{static_cast<int>(clears.ColumnInt(0)), clears.ColumnInt(1)});
    }
    if (step != SQLITE_DONE) {
        error = Reason(step);
        return false;
    }
    Statement results(db_,
                      "SELECT channel, result = 'Success', ms, result_ms FROM results WHERE result_ms >"
                      " COALESCE((SELECT MAX(cleared_ms) FROM port_clears WHERE port = results.channel), -1)"
                      " ORDER BY sequence");
    while ((step = results.Step()) == SQLITE_ROW) {
        out.outcomes.push_back(PortOutcome{static_cast<int>(results.ColumnInt(0)), results.ColumnInt(1) != 0,
                                           results.ColumnInt(2), results.ColumnInt(3)});
    }
    if (step != SQLITE_DONE) {
        error = Reason(step);
        return false;
    }
    Statement shift(db_, "SELECT MIN(started_ms) FROM runs WHERE started_ms >= ?");
    shift.Int(1, dayStartMs);
    if ((step = shift.Step()) != SQLITE_ROW) {
        error = Reason(step);
        return false;
    }
    out.shiftStartMs = shift.ColumnInt(0);
    return true;
}

bool ResultStore::Check(StoreCheck& out, std::string& error) {
    Statement integrity(db_, "PRAGMA integrity_check");
    int step = 0;
    while ((step = integrity.Step()) == SQLITE_ROW) {
        if (const std::string line = integrity.ColumnText(0); line != "ok") out.damage.push_back(line);
    }
    if (step != SQLITE_DONE) {
        out.damage.push_back(Reason(step));
        return true;
    }
    Statement sequences(db_, "SELECT sequence FROM results ORDER BY sequence");
    std::int64_t expected = 1;
    while ((step = sequences.Step()) == SQLITE_ROW) {
        const std::int64_t sequence = sequences.ColumnInt(0);
        for (; expected < sequence; ++expected) out.missing.push_back(expected);
        expected = sequence + 1;
        ++out.results;
    }
    if (step != SQLITE_DONE) {
        error = Reason(step);
        return false;
    }
    return true;
}

bool ResultStore::Unsent(std::int64_t limit, std::vector<ResultRecord>& out, std::int64_t& waiting,
                         std::string& error) {
    Statement outbox(db_,
                     "SELECT sent_through, (SELECT count(*) FROM results WHERE sequence > sent_through)"
                     " FROM line_outbox");
    if (const int step = outbox.Step(); step != SQLITE_ROW) {
        error = Reason(step);
        return false;
    }
    waiting = outbox.ColumnInt(1);
    ResultFilter filter;
    filter.afterSequence = outbox.ColumnInt(0);
    filter.limit = limit;
    return Results(filter, out, error);
}

bool ResultStore::MarkSentThrough(std::int64_t sequence, std::string& error) {
    Statement update(db_, "UPDATE line_outbox SET sent_through = max(sent_through, ?)");
    update.Int(1, sequence);
    if (const int step = update.Step(); step != SQLITE_DONE) {
        error = Reason(step);
        return false;
    }
    return true;
}

}  // namespace tandrel
