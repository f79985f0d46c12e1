#pragma once

#include <string>

namespace tandrel::test {

// A database of its own, made for one test program in the private PostgreSQL
// cluster that ctest starts before the line's tests and stops after them
// (scripts/pg-cluster), or in the cluster whose own database server names,
// and dropped when the program ends.
class LineDatabaseFixture {
public:
    LineDatabaseFixture();
    explicit LineDatabaseFixture(std::string server);
    ~LineDatabaseFixture();
    LineDatabaseFixture(const LineDatabaseFixture&) = delete;
    LineDatabaseFixture& operator=(const LineDatabaseFixture&) = delete;

    // The fresh database's URL.
    const std::string& Url() const { return url_; }
    // Runs sql in it; the first column of the first row, empty when there is none.
    std::string Query(const std::string& sql) const;

private:
    std::string server_;  // the cluster's own database, for making and dropping
    std::string name_;
    std::string url_;
};

}  // namespace tandrel::test
