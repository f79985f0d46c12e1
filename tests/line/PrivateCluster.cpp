#include "PrivateCluster.h"

#include <gtest/gtest.h>

#include "Programs.h"

namespace tandrel::test {

PrivateCluster::PrivateCluster(std::string folder) : folder_(std::move(folder)) { Start(); }

PrivateCluster::~PrivateCluster() { Stop(); }

bool PrivateCluster::Start() {
    if (!Run("start")) return false;
    const std::string url = e2e::ReadWholeFile(folder_ + "/url");
    const std::string started = url.substr(0, url.find('\n'));
    EXPECT_TRUE(url_.empty() || started == url_) << "started again on another port: " << started;
    url_ = started;
    return true;
}

bool PrivateCluster::Stop() { return Run("stop"); }

bool PrivateCluster::Run(const char* command) {
    const e2e::ProgramResult run = e2e::RunProgram({TANDREL_PG_CLUSTER, command, folder_});
    EXPECT_EQ(run.status, 0) << "pg-cluster " << command << ": " << run.output;
    return run.status == 0;
}

}  // namespace tandrel::test
