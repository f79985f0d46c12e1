#include "LineCluster.h"

#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace tandrel::test {

namespace {

std::string ClusterUrl() {
    const char* folder = std::getenv("TANDREL_LINE_CLUSTER");
    if (!folder) {
        ADD_FAILURE() << "TANDREL_LINE_CLUSTER names no cluster folder: run the line's tests through ctest";
        return {};
    }
    std::ifstream in(std::string(folder) + "/url");
    std::string url;
    std::getline(in, url);
    if (url.empty()) ADD_FAILURE() << "no PostgreSQL cluster runs in " << folder;
    return url;
}

std::string Run(const std::string& url, const std::string& sql) {
    PGconn* conn = PQconnectdb(url.c_str());
    PQsetNoticeProcessor(conn, [](void*, const char*) {}, nullptr);
    PGresult* result = PQexec(conn, sql.c_str());
    const ExecStatusType status = PQresultStatus(result);
    EXPECT_TRUE(status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) << sql << ": " << PQerrorMessage(conn);
    std::string first;
    if (status == PGRES_TUPLES_OK && PQntuples(result) > 0) first = PQgetvalue(result, 0, 0);
    PQclear(result);
    PQfinish(conn);
    return first;
}

}  // namespace

LineDatabaseFixture::LineDatabaseFixture() : LineDatabaseFixture(ClusterUrl()) {}

LineDatabaseFixture::LineDatabaseFixture(std::string server)
    : server_(std::move(server)), name_("line_test_" + std::to_string(getpid())) {
    const std::size_t slash = server_.rfind('/');
    url_ = server_.substr(0, slash + 1) + name_;
    if (server_.empty()) return;
    Run(server_, "DROP DATABASE IF EXISTS " + name_);
    Run(server_, "CREATE DATABASE " + name_);
}

LineDatabaseFixture::~LineDatabaseFixture() {
    if (!server_.empty()) Run(server_, "DROP DATABASE IF EXISTS " + name_ + " WITH (FORCE)");
}

std::string LineDatabaseFixture::Query(const std::string& sql) const { return Run(url_, sql); }

}  // namespace tandrel::test
