#include "LineServiceFixture.h"

#include <gtest/gtest.h>

namespace tandrel::test {

LineService::LineService(const std::vector<std::string>& stations) : database_(cluster_.Url()) {
    std::string error;
    EXPECT_TRUE(database_.Migrate(error)) << error;
    line::LineTokens tokens;
    for (const std::string& station : stations) tokens.Add(station, "token-" + station);
    server_ = std::make_unique<line::LineServer>(database_, std::move(tokens));
    EXPECT_TRUE(server_->Bind("127.0.0.1", 0, error)) << error;
    thread_ = std::thread([this] { server_->Serve(); });
}

LineService::~LineService() {
    server_->Stop();
    thread_.join();
}

httplib::Client LineService::Client() const { return httplib::Client("127.0.0.1", server_->Port()); }

httplib::Result LineService::Post(const std::string& station, const std::string& body) const {
    httplib::Headers headers;
    if (!station.empty()) headers.emplace("Authorization", "Bearer token-" + station);
    return Client().Post("/api/results", headers, body, "application/json");
}

httplib::Result LineService::Get(const std::string& path) const { return Client().Get(path.c_str()); }

ResultRecord LineResult(const std::string& station, std::int64_t sequence, int device, bool success) {
    ResultRecord r;
    r.uuid = NewUuid();
    r.sequence = sequence;
    r.station = station;
    r.runUuid = NewUuid();
    r.mode = "USB";
    r.channel = r.device = device;
    r.success = success;
    r.failText = success ? "" : "Failed (FLS)";
    r.images = {"|0|a.pak"};
    r.sha256 = {"9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08"};
    r.stationVersion = "1.0";
    r.resultMs = 1'700'000'000'000 + sequence;
    r.durationMs = 4200;
    return r;
}

std::string BatchOf(const std::vector<ResultRecord>& records, const std::string& ports) {
    std::string body = "{\"results\":[";
    for (std::size_t i = 0; i < records.size(); ++i) body += (i ? "," : "") + ResultJson(records[i]);
    return body + "]" + (ports.empty() ? "" : ",\"ports\":" + ports) + "}";
}

}  // namespace tandrel::test
