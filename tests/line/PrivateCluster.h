#pragma once

#include <string>

namespace tandrel::test {

// A PostgreSQL cluster of one test's own (scripts/pg-cluster in folder),
// which the test may stop and start again, on the same port, without
// disturbing the tests that share the ctest cluster. Stopped at the end.
class PrivateCluster {
public:
    explicit PrivateCluster(std::string folder);
    ~PrivateCluster();
    PrivateCluster(const PrivateCluster&) = delete;
    PrivateCluster& operator=(const PrivateCluster&) = delete;

    // The cluster's own database's URL, as LineDatabaseFixture takes it.
    const std::string& Url() const { return url_; }
    // False, with the script's words as a test failure, when it failed.
    bool Start();
    bool Stop();

private:
    bool Run(const char* command);

    const std::string folder_;
    std::string url_;
};

}  // namespace tandrel::test
