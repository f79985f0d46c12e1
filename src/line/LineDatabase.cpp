#include "line/LineDatabase.h"

#include <libpq-fe.h>

#include <algorithm>
#include <memory>

namespace tandrel::line {

namespace {

// Each step brings the schema from its index to the next version; a step is
// only ever added at the end.
constexpr const char* kMigrations[] = {
    "CREATE TABLE results("
    " station text NOT NULL, sequence bigint NOT NULL CHECK (sequence > 0), uuid uuid NOT NULL UNIQUE,"
    " run text, mode text NOT NULL, ch integer NOT NULL, device integer NOT NULL,"
    " result text NOT NULL CHECK (result IN ('Success', 'Fail')), fail_text text, result_ms bigint, ms bigint,"
    " received_ms bigint NOT NULL, record jsonb NOT NULL, PRIMARY KEY (station, sequence));"
    "CREATE INDEX results_by_arrival ON results(received_ms);"
    "CREATE INDEX results_by_port ON results(station, device, sequence);"
    "CREATE TABLE stations("
    " station text PRIMARY KEY, last_seen_ms bigint NOT NULL, waiting bigint NOT NULL DEFAULT 0);",
    // The ports each station has flagged now, from stations that say so.
    "ALTER TABLE stations ADD COLUMN reports_ports boolean NOT NULL DEFAULT false;"
    "CREATE TABLE port_flags(station text NOT NULL, port integer NOT NULL, reason text NOT NULL,"
    " PRIMARY KEY (station, port));",
    // What the line page asks for every second, kept so that it reads a
    // station's last rows only, however many the line holds.
    "ALTER TABLE stations ADD COLUMN results bigint NOT NULL DEFAULT 0,"
    " ADD COLUMN last_sequence bigint NOT NULL DEFAULT 0;"
    "UPDATE stations s SET results = t.n, last_sequence = t.last"
    " FROM (SELECT station, count(*) AS n, max(sequence) AS last FROM results GROUP BY station) AS t"
    " WHERE t.station = s.station;"
    "CREATE TABLE station_ports(station text NOT NULL, device integer NOT NULL, PRIMARY KEY (station, device));"
    "INSERT INTO station_ports SELECT DISTINCT station, device FROM results;"
    "CREATE INDEX results_by_day ON results(station, result_ms);",
};
static_assert(std::size(kMigrations) == LineDatabase::kSchemaVersion);

// Any number: the one lock every service takes while it migrates, so that
// two starting at once do not both create the tables.
constexpr const char* kMigrationLock = "SELECT pg_advisory_xact_lock(2521)";

constexpr const char* kNowMs = "(extract(epoch FROM clock_timestamp()) * 1000)::bigint";

struct ResultDeleter {
    void operator()(PGresult* result) const { PQclear(result); }
};
using Result = std::unique_ptr<PGresult, ResultDeleter>;

Result Run(PGconn* conn, const char* sql, const std::vector<std::string>& params) {
    std::vector<const char*> values;
    for (const std::string& p : params) values.push_back(p.c_str());
    return Result(PQexecParams(conn, sql, static_cast<int>(values.size()), nullptr, values.data(), nullptr, nullptr,
                               0));
}

bool Succeeded(const Result& result) {
    const ExecStatusType status = PQresultStatus(result.get());
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
}

// libpq's message, on one line: it goes into a station's log as one.
std::string Reason(PGconn* conn) {
    std::string text;
    for (const char* c = PQerrorMessage(conn); *c; ++c) {
        const bool blank = *c == '\n' || *c == '\t' || *c == ' ';
        if (!blank) text += *c;
        else if (!text.empty() && text.back() != ' ') text += ' ';
    }
    if (!text.empty() && text.back() == ' ') text.pop_back();
    return "the line's database: " + text;
}

}  // namespace

LineDatabase::~LineDatabase() { PQfinish(conn_); }

bool LineDatabase::Connected(std::string& error) {
    if (conn_ && PQstatus(conn_) == CONNECTION_OK) return true;
    if (conn_) {
        PQreset(conn_);
    } else {
        const char* keys[] = {"dbname", "connect_timeout", "client_encoding", "application_name", nullptr};
        const char* values[] = {url_.c_str(), "5", "UTF8", "tandrel-line", nullptr};
        conn_ = PQconnectdbParams(keys, values, 1);
        // "already exists, skipping" and the like are no news to an operator.
        PQsetNoticeProcessor(conn_, [](void*, const char*) {}, nullptr);
    }
    // The service asks short questions whose plans cost next to nothing; a
    // JIT compilation would cost each of them half a second.
    if (PQstatus(conn_) == CONNECTION_OK && Exec("SET jit = off", error)) return true;
    error = Reason(conn_);
    return false;
}

bool LineDatabase::Exec(const char* sql, std::string& error) {
    const Result result(PQexec(conn_, sql));
    if (Succeeded(result)) return true;
    error = Reason(conn_);
    return false;
}

bool LineDatabase::Migrate(std::string& error) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!Connected(error)) return false;
    const auto fail = [&] {
        std::string ignored;
        Exec("ROLLBACK", ignored);
        return false;
    };
    if (!Exec("BEGIN", error) || !Exec(kMigrationLock, error) ||
        !Exec("CREATE TABLE IF NOT EXISTS line_schema(version integer NOT NULL)", error)) {
        return fail();
    }
    const Result version(PQexec(conn_, "SELECT coalesce(max(version), 0) FROM line_schema"));
    if (!Succeeded(version)) {
        error = Reason(conn_);
        return fail();
    }
    const int from = std::stoi(PQgetvalue(version.get(), 0, 0));
    if (from > kSchemaVersion) {
        error = "the line's database was made by a newer tandrel-line (schema " + std::to_string(from) + ")";
        return fail();
    }
    for (int step = from; step < kSchemaVersion; ++step) {
        if (!Exec(kMigrations[step], error)) return fail();
    }
    const std::string setVersion =
        "DELETE FROM line_schema; INSERT INTO line_schema VALUES(" + std::to_string(kSchemaVersion) + ")";
    if (!Exec(setVersion.c_str(), error) || !Exec("COMMIT", error)) return fail();
    return true;
}

// The batch's rows go in as one JSON list, in one statement: a batch costs
// one round trip to the database, not one per row.
constexpr const char* kRowsOfBatch = " FROM jsonb_array_elements($1::jsonb) WITH ORDINALITY AS batch(e, n)";

// The rows not stored now: the same row was sent before, or its key names
// another row.
bool LineDatabase::SortOut(const std::string& rows, std::size_t count, const std::vector<std::int64_t>& stored,
                           StoreOutcome& outcome, std::string& error) {
    static const std::string sql = std::string(
                                       "SELECT (e->>'sequence')::bigint, EXISTS (SELECT 1 FROM results r"
                                       " WHERE r.station = e->>'station' AND r.sequence = (e->>'sequence')::bigint"
                                       " AND r.uuid = (e->>'uuid')::uuid)") +
                                   kRowsOfBatch + " ORDER BY n";
    const Result sorted(Run(conn_, sql.c_str(), {rows}));
    if (!Succeeded(sorted) || static_cast<std::size_t>(PQntuples(sorted.get())) != count) {
        error = Reason(conn_);
        return false;
    }
    for (int i = 0; i < PQntuples(sorted.get()); ++i) {
        const std::int64_t sequence = std::stoll(PQgetvalue(sorted.get(), i, 0));
        const bool same = PQgetvalue(sorted.get(), i, 1)[0] == 't';
        if (std::find(stored.begin(), stored.end(), sequence) != stored.end()) {
            outcome.stored.push_back(sequence);
        } else {
            (same ? outcome.present : outcome.conflicting).push_back(sequence);
        }
    }
    return true;
}

// The ports a batch's rows came from, each kept once per station.
constexpr const char* kPortsOfBatch =
    "INSERT INTO station_ports SELECT DISTINCT e->>'station', (e->>'device')::integer"
    " FROM jsonb_array_elements($1::jsonb) AS e ON CONFLICT DO NOTHING";

bool LineDatabase::Store(const std::string& station, const Batch& batch, StoreOutcome& outcome,
                         std::string& error) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!Connected(error)) return false;
    if (!Exec("BEGIN", error)) return false;
    const auto fail = [&] {
        std::string ignored;
        Exec("ROLLBACK", ignored);
        return false;
    };
    std::string rows = "[";
    for (const LineRow& row : batch.rows) rows += (rows.size() > 1 ? "," : "") + row.record;
    rows += "]";
    static const std::string insert =
        std::string("INSERT INTO results(station, sequence, uuid, run, mode, ch, device, result, fail_text,"
                    " result_ms, ms, record, received_ms)"
                    " SELECT e->>'station', (e->>'sequence')::bigint, (e->>'uuid')::uuid, e->>'run', e->>'mode',"
                    " (e->>'ch')::integer, (e->>'device')::integer, e->>'result', e->>'fail_text',"
                    " (e->>'result_ms')::bigint, (e->>'ms')::bigint, e, ") +
        kNowMs + kRowsOfBatch + " ORDER BY n ON CONFLICT DO NOTHING RETURNING sequence";
    const Result inserted(Run(conn_, insert.c_str(), {rows}));
    if (!Succeeded(inserted)) {
        error = Reason(conn_);
        return fail();
    }
    std::vector<std::int64_t> stored;
    for (int i = 0; i < PQntuples(inserted.get()); ++i) stored.push_back(std::stoll(PQgetvalue(inserted.get(), i, 0)));
    StoreOutcome taken;
    if (stored.size() == batch.rows.size()) {
        for (const LineRow& row : batch.rows) taken.stored.push_back(row.sequence);
    } else if (!SortOut(rows, batch.rows.size(), stored, taken, error)) {
        return fail();
    }
    if (!stored.empty() && !Succeeded(Run(conn_, kPortsOfBatch, {rows}))) {
        error = Reason(conn_);
        return fail();
    }
    static const std::string seen =
        std::string("INSERT INTO stations(station, last_seen_ms, waiting, reports_ports, results, last_sequence)"
                    " VALUES($1, ") +
        kNowMs +
        ", $2::bigint, $3::boolean, $4::bigint, $5::bigint) ON CONFLICT (station) DO UPDATE SET"
        " last_seen_ms = excluded.last_seen_ms, waiting = excluded.waiting,"
        " reports_ports = stations.reports_ports OR excluded.reports_ports,"
        " results = stations.results + excluded.results,"
        " last_sequence = greatest(stations.last_sequence, excluded.last_sequence)";
    const std::int64_t last = stored.empty() ? 0 : *std::max_element(stored.begin(), stored.end());
    if (!Succeeded(Run(conn_, seen.c_str(),
                       {station, std::to_string(batch.waiting), batch.ports ? "t" : "f",
                        std::to_string(stored.size()), std::to_string(last)})) ||
        (batch.ports && !StorePortFlags(station, *batch.ports))) {
        error = Reason(conn_);
        return fail();
    }
    if (!Exec("COMMIT", error)) return false;
    outcome = std::move(taken);
    return true;
}

// The station's word on its ports replaces what it said before.
bool LineDatabase::StorePortFlags(const std::string& station, const std::string& ports) {
    static constexpr const char* kInsert =
        "INSERT INTO port_flags SELECT $1, (e->>'port')::integer, e->>'reason' FROM jsonb_array_elements($2::jsonb) AS e";
    return Succeeded(Run(conn_, "DELETE FROM port_flags WHERE station = $1", {station})) &&
           Succeeded(Run(conn_, kInsert, {station, ports}));
}

bool LineDatabase::SingleText(const char* sql, const std::vector<std::string>& params, std::string& out,
                              std::string& error) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!Connected(error)) return false;
    const Result result(Run(conn_, sql, params));
    if (!Succeeded(result)) {
        error = Reason(conn_);
        return false;
    }
    out = PQgetvalue(result.get(), 0, 0);
    return true;
}

bool LineDatabase::Healthy(std::string& error) {
    std::string ignored;
    return SingleText("SELECT 1", {}, ignored, error);
}

bool LineDatabase::Stations(std::string& json, std::string& error) {
    // Per port: its last result, its yield over its last 20, and its flag: the
    // reason its station gives, from a station that watches its ports, else
    // when it failed its last 3; per station: what it holds, the sequence
    // numbers missing below its last, and today's phones (the UTC day). Each
    // reads a port's last 20 rows and a station's rows of today, through
    // their indexes: the page asks every second.
    static constexpr const char* kSql =
        "WITH ports AS ("
        "  SELECT sp.station, sp.device, recent.* FROM station_ports sp CROSS JOIN LATERAL ("
        "   SELECT max(result) FILTER (WHERE n = 1) AS last_result, max(fail_text) FILTER (WHERE n = 1) AS last_fail_text,"
        "    round(count(*) FILTER (WHERE result = 'Success')::numeric / count(*), 3) AS yield20,"
        "    CASE WHEN count(*) FILTER (WHERE n <= 3 AND result = 'Fail') = 3"
        "     THEN 'failed its last 3 phones' END AS own_flag"
        "   FROM (SELECT result, fail_text, row_number() OVER (ORDER BY sequence DESC) AS n FROM results r"
        "    WHERE r.station = sp.station AND r.device = sp.device ORDER BY sequence DESC LIMIT 20) AS last20)"
        "   AS recent),"
        " port_lists AS ("
        "  SELECT p.station, json_agg(json_build_object('port', p.device, 'last_result', p.last_result,"
        "   'last_fail_text', p.last_fail_text, 'yield20', p.yield20,"
        "   'flag', CASE WHEN st.reports_ports THEN f.reason ELSE p.own_flag END) ORDER BY p.device) AS ports"
        "  FROM ports p JOIN stations st USING (station)"
        "   LEFT JOIN port_flags f ON f.station = p.station AND f.port = p.device GROUP BY p.station),"
        " day AS (SELECT (extract(epoch FROM date_trunc('day', now() AT TIME ZONE 'UTC')) * 1000)::bigint AS ms)"
        " SELECT coalesce(json_agg(json_build_object('station', s.station, 'results', s.results,"
        "  'last_sequence', s.last_sequence, 'missing', s.last_sequence - s.results, 'mode', m.mode,"
        "  'phones_today', today.phones, 'passed_today', today.passed,"
        "  'last_seen_ms', s.last_seen_ms, 'waiting', s.waiting, 'ports', coalesce(p.ports, '[]'))"
        "  ORDER BY s.station), '[]')"
        " FROM stations s"
        "  LEFT JOIN LATERAL (SELECT mode FROM results r WHERE r.station = s.station ORDER BY sequence DESC LIMIT 1)"
        "   AS m ON true"
        "  CROSS JOIN LATERAL (SELECT count(*) AS phones, count(*) FILTER (WHERE result = 'Success') AS passed"
        "   FROM results r, day WHERE r.station = s.station AND r.result_ms >= day.ms) AS today"
        "  LEFT JOIN port_lists p USING (station)";
    return SingleText(kSql, {}, json, error);
}

bool LineDatabase::Results(const ResultQuery& query, std::string& json, std::string& error) {
    static constexpr const char* kSql =
        "SELECT coalesce(json_agg(r.record || jsonb_build_object('received_ms', r.received_ms)"
        "  ORDER BY r.received_ms DESC, r.station, r.sequence DESC), '[]')"
        " FROM (SELECT record, received_ms, station, sequence FROM results"
        "  WHERE ($1 = '' OR station = $1) AND ($2::bigint = 0 OR device = $2::bigint)"
        "   AND coalesce(result_ms, 0) >= $3::bigint"
        "  ORDER BY received_ms DESC, station, sequence DESC LIMIT $4::bigint) AS r";
    return SingleText(kSql,
                      {query.station, std::to_string(query.port), std::to_string(query.sinceMs),
                       std::to_string(query.limit)},
                      json, error);
}

}  // namespace tandrel::line
