#include <iostream>
#include <string>
#include <vector>

#include "platform/DataFolder.h"
#include "results/cli/ResultsTool.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const std::string folder = tandrel::StationDataFolder();
    return tandrel::RunResultsTool(args, folder.empty() ? std::string() : folder + "/results.db", std::cout,
                                   std::cerr);
}
