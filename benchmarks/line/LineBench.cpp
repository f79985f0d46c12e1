// bench-line DATABASE_URL: what the line takes. Ingest throughput into
// PostgreSQL with batches of 100 (the service in this process, the client
// over loopback HTTP), and the station's forwarding end to end, store to
// PostgreSQL, with the window thread's share of it: the forwarder posts to
// the window only what the operator must read, so per result it is nothing.
// Last, the time of the station list the line page asks for every second,
// once the line holds 200 000 more results.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "line/LineDatabase.h"
#include "line/LineServer.h"
#include "platform/PostedTask.h"
#include "results/LineForwarder.h"
#include "results/ResultStore.h"
#include "support/SimulatedLoop.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kBatches = 50;
constexpr int kBatchRows = 100;
constexpr int kForwarded = 2000;

tandrel::ResultRecord Phone(const std::string& station, std::int64_t sequence) {
    tandrel::ResultRecord r;
    r.uuid = tandrel::NewUuid();
    r.sequence = sequence;
    r.station = station;
    r.runUuid = tandrel::NewUuid();
    r.mode = "USB";
    r.channel = r.device = static_cast<int>(1 + sequence % 8);
    r.success = sequence % 10 != 0;
    r.failText = r.success ? "" : "Failed (FLS)";
    for (int i = 0; i < 5; ++i) {
        r.images.push_back("|" + std::to_string(i) + "|/srv/images/all.pak");
        r.sha256.push_back(std::string(64, 'a'));
    }
    r.stationVersion = "1.0";
    r.resultMs = 1'700'000'000'000 + sequence;
    r.durationMs = 4000;
    return r;
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

void Ingest(int port, const std::string& station) {
    httplib::Client client("127.0.0.1", port);
    const httplib::Headers headers = {{"Authorization", "Bearer token-" + station}};
    std::vector<std::string> bodies;
    for (int b = 0; b < kBatches; ++b) {
        std::string body = "{\"results\":[";
        for (int i = 0; i < kBatchRows; ++i) {
            body += (i ? "," : "") + tandrel::ResultJson(Phone(station, b * kBatchRows + i + 1));
        }
        bodies.push_back(body + "]}");
    }
    const auto start = Clock::now();
    for (const std::string& body : bodies) {
        const auto answer = client.Post("/api/results", headers, body, "application/json");
        if (!answer || answer->status != 200) {
            std::fprintf(stderr, "bench-line: ingest refused: %s\n", answer ? answer->body.c_str() : "no answer");
            std::exit(1);
        }
    }
    const double seconds = Seconds(Clock::now() - start);
    std::printf("ingest: %.0f results/s (%d batches of %d, %.2f ms a batch)\n", kBatches * kBatchRows / seconds,
                kBatches, kBatchRows, 1000 * seconds / kBatches);
}

std::int64_t Stored(tandrel::line::LineDatabase& database, const std::string& station) {
    std::string json, error;
    if (!database.Stations(json, error)) return 0;
    for (const auto& s : nlohmann::json::parse(json)) {
        if (s["station"] == station) return s["results"].get<std::int64_t>();
    }
    return 0;
}

void Forward(int port, const std::string& station, tandrel::line::LineDatabase& database) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("bench-line-" + station);
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "results.db").string();
    std::string error;
    {
        auto store = tandrel::ResultStore::Open(path, true, error);
        for (int n = 1; n <= kForwarded; ++n) {
            tandrel::ResultRecord r = Phone(station, 0);
            store->AddResult(r, error);
        }
    }
    // The window thread's part: whatever the forwarder posted, run after it.
    tandrel::SimulatedLoop window;
    window.SetHandlers([](tandrel::WindowMessage& m) { tandrel::RunPostedTask(m); }, [](int) {});
    int said = 0;
    const auto start = Clock::now();
    {
        tandrel::LineForwarder forwarder(path, tandrel::MakeLineClient("http://127.0.0.1:" + std::to_string(port),
                                                                       "token-" + station, error),
                                         window, [&said](const std::string&) { ++said; });
        while (Stored(database, station) < kForwarded) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    const double seconds = Seconds(Clock::now() - start);
    const auto windowStart = Clock::now();
    window.DeliverPosted();
    const double windowSeconds = Seconds(Clock::now() - windowStart);
    std::filesystem::remove_all(folder);
    std::printf("forwarding: %d results store to PostgreSQL in %.2f s, %.0f results/s\n", kForwarded, seconds,
                kForwarded / seconds);
    std::printf("window thread per forwarded result: %.3f us (%d lines for the log over %d results)\n",
                1e6 * windowSeconds / kForwarded, said, kForwarded);
}

// The page's question every second, asked of a line that holds many results:
// its answer must not take longer as the line keeps more.
void StationList(tandrel::line::LineDatabase& database, const std::string& station) {
    constexpr int kRows = 200'000;
    constexpr int kRowsABatch = 1000;
    std::string error;
    for (int b = 0; b < kRows / kRowsABatch; ++b) {
        std::string body = "{\"results\":[";
        for (int i = 0; i < kRowsABatch; ++i) {
            body += (i ? "," : "") + tandrel::ResultJson(Phone(station, b * kRowsABatch + i + 1));
        }
        tandrel::line::Batch batch;
        tandrel::line::StoreOutcome outcome;
        if (!tandrel::line::ParseBatch(body + "]}", batch, error) || !database.Store(station, batch, outcome, error)) {
            std::fprintf(stderr, "bench-line: %s\n", error.c_str());
            std::exit(1);
        }
    }
    std::vector<double> ms;
    for (int i = 0; i < 21; ++i) {
        std::string json;
        const auto start = Clock::now();
        database.Stations(json, error);
        ms.push_back(1000 * Seconds(Clock::now() - start));
    }
    std::sort(ms.begin(), ms.end());
    std::printf("station list: %.2f ms (median of %zu, the line holding %d more results)\n", ms[ms.size() / 2],
                ms.size(), kRows);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench-line DATABASE_URL\n");
        return 2;
    }
    tandrel::line::LineDatabase database(argv[1]);
    std::string error;
    if (!database.Migrate(error)) {
        std::fprintf(stderr, "bench-line: %s\n", error.c_str());
        return 1;
    }
    // Stations of their own, so that a database used before takes them too.
    const std::string ingest = "bench-in-" + tandrel::NewUuid().substr(0, 8);
    const std::string forward = "bench-fw-" + tandrel::NewUuid().substr(0, 8);
    tandrel::line::LineTokens tokens;
    tokens.Add(ingest, "token-" + ingest);
    tokens.Add(forward, "token-" + forward);
    tandrel::line::LineServer server(database, std::move(tokens));
    if (!server.Bind("127.0.0.1", 0, error)) {
        std::fprintf(stderr, "bench-line: %s\n", error.c_str());
        return 1;
    }
    std::thread serving([&] { server.Serve(); });
    Ingest(server.Port(), ingest);
    Forward(server.Port(), forward, database);
    StationList(database, "bench-many-" + tandrel::NewUuid().substr(0, 8));
    server.Stop();
    serving.join();
    return 0;
}
