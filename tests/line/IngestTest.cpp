#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "LineServiceFixture.h"

namespace tandrel::test {
namespace {

using nlohmann::json;

json Body(const httplib::Result& result) { return json::parse(result->body); }

TEST(LineIngest, AReplayedBatchStoresNothingTwiceAndAGapOrATakenKeyIsShown) {
    const LineService line({"st-1"});
    const std::vector<ResultRecord> batch = {LineResult("st-1", 1, 1), LineResult("st-1", 2, 2, false),
                                             LineResult("st-1", 3, 1)};
    auto first = line.Post("st-1", BatchOf(batch));
    ASSERT_TRUE(first);
    ASSERT_EQ(first->status, 200) << first->body;
    EXPECT_EQ(Body(first), json::parse(R"({"stored":[1,2,3],"present":[],"conflicting":[]})"));

    auto replay = line.Post("st-1", BatchOf(batch));
    ASSERT_EQ(replay->status, 200) << replay->body;
    EXPECT_EQ(Body(replay), json::parse(R"({"stored":[],"present":[1,2,3],"conflicting":[]})"));

    // Sequence 4 never came; a new phone under sequence 2 is not the phone stored there.
    const auto later = line.Post("st-1", BatchOf({LineResult("st-1", 5, 3), LineResult("st-1", 2, 3)}));
    EXPECT_EQ(Body(later), json::parse(R"({"stored":[5],"present":[],"conflicting":[2]})"));
    EXPECT_EQ(line.Query("SELECT count(*) FROM results"), "4");

    const json stations = Body(line.Get("/api/stations"));
    ASSERT_EQ(stations.size(), 1u);
    EXPECT_EQ(stations[0]["last_sequence"], 5);
    EXPECT_EQ(stations[0]["missing"], 1);
    EXPECT_EQ(stations[0]["ports"].size(), 3u);

    const json port1 = Body(line.Get("/api/results?station=st-1&port=1&limit=1"));
    ASSERT_EQ(port1.size(), 1u);
    EXPECT_EQ(port1[0]["uuid"], batch[2].uuid) << "newest first";
    EXPECT_EQ(port1[0].value("images", json()), json::parse(ResultJson(batch[2]))["images"]);
    EXPECT_EQ(line.Get("/api/results?limit=0")->status, 400);
    EXPECT_EQ(line.Get("/healthz")->status, 200);
}

TEST(LineIngest, RefusesWithAReasonAndStoresNothingOfARefusedBatch) {
    const LineService line({"st-1", "st-2"});
    ResultRecord good = LineResult("st-1", 1, 1);
    const std::string goodRow = ResultJson(good);
    const struct {
        const char* what;
        std::string station;  // whose token goes with it; empty: none
        std::string body;
        int status;
        const char* reason;
    } cases[] = {
        {"no token", "", BatchOf({good}), 401, "line token"},
        {"a token not of this line", "st-9", BatchOf({good}), 401, "not one of this line's"},
        {"another station's token", "st-2", BatchOf({good}), 403, "station st-2's, not st-1's"},
        {"malformed JSON", "st-1", "{\"results\":[" + goodRow, 400, "not JSON"},
        {"not a batch", "st-1", "[" + goodRow + "]", 400, "an object with a list"},
        {"a bad second row", "st-1", "{\"results\":[" + goodRow + ",{\"station\":\"st-1\",\"sequence\":0}]}", 400,
         "results[1]: sequence: below 1"},
        {"a row without a UUID", "st-1", R"({"results":[{"station":"st-1","sequence":2,"uuid":"x"}]})", 400,
         "uuid: not a UUID"},
        {"a NUL in a text", "st-1",
         "{\"results\":[" + goodRow.substr(0, goodRow.size() - 1) + ",\"fail_text\":\"a\\u0000b\"}]}", 400, "NUL"},
        {"5 MiB", "st-1", std::string(5 << 20, ' '), 413, "at most 1048576 bytes"},
        {"ports not a list", "st-1", BatchOf({good}, "{}"), 400, "ports: not a list"},
        {"a port named twice", "st-1", BatchOf({good}, R"([{"port":2,"reason":"a"},{"port":2,"reason":"b"}])"), 400,
         "ports[1]: port: named twice"},
        {"a port without a reason", "st-1", BatchOf({good}, R"([{"port":2}])"), 400, "ports[0]: reason: missing"},
    };
    for (const auto& c : cases) {
        const auto answer = line.Post(c.station, c.body);
        ASSERT_TRUE(answer) << c.what;
        EXPECT_EQ(answer->status, c.status) << c.what;
        EXPECT_NE(answer->body.find(c.reason), std::string::npos) << c.what << ": " << answer->body;
    }
    EXPECT_EQ(line.Query("SELECT count(*) FROM results"), "0");
    EXPECT_EQ(line.Query("SELECT count(*) FROM stations"), "0");
}

TEST(LineIngest, KeepsSqlLookingTextsAsPlainText) {
    const std::string station = "x'); DROP TABLE results; --";
    const LineService line({station});
    ResultRecord r = LineResult(station, 1, 1, false);
    const std::string sql = "'; DELETE FROM stations; SELECT '\" \\ $1 %s <b>";
    r.runUuid = r.mode = r.devicePath = r.failStage = r.failItem = r.failText = r.rowText = r.reason = sql;
    r.libraryVersion = r.stationVersion = sql;
    r.images = {sql};
    const auto answer = line.Post(station, BatchOf({r}));
    ASSERT_EQ(answer->status, 200) << answer->body;
    const json kept = Body(line.Get("/api/results"));
    ASSERT_EQ(kept.size(), 1u);
    json sent = json::parse(ResultJson(r));
    for (const auto& [field, value] : sent.items()) EXPECT_EQ(kept[0][field], value) << field;
    EXPECT_EQ(line.Query("SELECT count(*) FROM stations"), "1");
}

// A station that watches its ports names the ones it flagged; from then on
// its word, and a clear it sends, stand over the line's own rule.
TEST(LineIngest, APortIsFlaggedWithItsStationsReasonUntilTheStationClearsIt) {
    const LineService line({"st-1"});
    const auto flagOf = [&](int port) {
        const json stations = Body(line.Get("/api/stations"));
        for (const json& p : stations[0]["ports"]) {
            if (p["port"] == port) return p["flag"].is_null() ? std::string("none") : p["flag"].get<std::string>();
        }
        return "no port " + std::to_string(port) + " in " + stations.dump();
    };
    std::vector<ResultRecord> failures;
    for (int n = 1; n <= 3; ++n) failures.push_back(LineResult("st-1", n, 2, false));
    failures.push_back(LineResult("st-1", 4, 5));
    ASSERT_EQ(line.Post("st-1", BatchOf(failures))->status, 200);
    EXPECT_EQ(flagOf(2), "failed its last 3 phones") << "a station that says nothing of its ports";

    const std::string slow = "slow, 61.0 s a phone over its last 10 successes";
    ASSERT_EQ(line.Post("st-1", BatchOf({}, R"([{"port":5,"reason":")" + slow + R"("}])"))->status, 200);
    EXPECT_EQ(flagOf(5), slow);
    EXPECT_EQ(flagOf(2), "none") << "the station cleared port 2";
    ASSERT_EQ(line.Post("st-1", BatchOf({LineResult("st-1", 5, 5)}))->status, 200);
    EXPECT_EQ(flagOf(5), slow) << "a batch without its ports keeps what the station said last";
    ASSERT_EQ(line.Post("st-1", BatchOf({}, "[]"))->status, 200);
    EXPECT_EQ(flagOf(5), "none");
}

TEST(LineIngest, TheSchemaIsMadeOnceAndANewerOneIsRefused) {
    const LineService line({});
    line::LineDatabase again(line.DatabaseUrl());
    std::string error;
    EXPECT_TRUE(again.Migrate(error)) << error;
    EXPECT_EQ(line.Query("SELECT version FROM line_schema"), std::to_string(line::LineDatabase::kSchemaVersion));
    line.Query("UPDATE line_schema SET version = version + 1");
    line::LineDatabase older(line.DatabaseUrl());
    EXPECT_FALSE(older.Migrate(error));
    EXPECT_NE(error.find("newer tandrel-line"), std::string::npos) << error;
}

// A line's database from before the station list was kept: the step that
// keeps it counts what the results already hold.
TEST(LineIngest, AnOlderDatabaseIsBroughtUpToDateWithWhatItHeld) {
    const LineService line({"st-1"});
    ASSERT_EQ(line.Post("st-1", BatchOf({LineResult("st-1", 1, 1), LineResult("st-1", 3, 2, false)}))->status, 200);
    const json before = Body(line.Get("/api/stations"));
    line.Query("ALTER TABLE stations DROP COLUMN results, DROP COLUMN last_sequence; DROP TABLE station_ports;"
               " DROP INDEX results_by_day; UPDATE line_schema SET version = 2");
    line::LineDatabase again(line.DatabaseUrl());
    std::string error;
    ASSERT_TRUE(again.Migrate(error)) << error;
    EXPECT_EQ(Body(line.Get("/api/stations")), before);
    EXPECT_EQ(before[0]["missing"], 1);
    EXPECT_EQ(before[0]["ports"].size(), 2u);
}

}  // namespace
}  // namespace tandrel::test
