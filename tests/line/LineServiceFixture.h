#pragma once

#include <httplib.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "LineCluster.h"
#include "line/LineDatabase.h"
#include "line/LineServer.h"
#include "results/ResultRecord.h"

namespace tandrel::test {

// The line service on a free loopback port, over a fresh database, with one
// token for each of stations ("STATION" gets "token-STATION").
class LineService {
public:
    explicit LineService(const std::vector<std::string>& stations);
    ~LineService();

    httplib::Client Client() const;
    // Posts body to /api/results with the token of station (none when empty).
    httplib::Result Post(const std::string& station, const std::string& body) const;
    httplib::Result Get(const std::string& path) const;
    std::string Query(const std::string& sql) const { return cluster_.Query(sql); }
    const std::string& DatabaseUrl() const { return cluster_.Url(); }

private:
    LineDatabaseFixture cluster_;
    line::LineDatabase database_;
    std::unique_ptr<line::LineServer> server_;
    std::thread thread_;
};

// A station's result as the station writes it.
ResultRecord LineResult(const std::string& station, std::int64_t sequence, int device, bool success = true);
// The batch body of records, with the station's flagged ports when given.
std::string BatchOf(const std::vector<ResultRecord>& records, const std::string& ports = "");

}  // namespace tandrel::test
