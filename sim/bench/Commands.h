#pragma once

#include <string>
#include <vector>

namespace tandrel::sim {

// Each runs one tandrel-bench command on its words (after the command name)
// and returns the exit status.
int RunCreate(const std::vector<std::string>& words);
int RunPlug(const std::vector<std::string>& words);
int RunUnplug(const std::vector<std::string>& words);
int RunFault(const std::vector<std::string>& words);
int RunStatus(const std::vector<std::string>& words);
int RunVerify(const std::vector<std::string>& words);
int RunRobotCommand(const std::vector<std::string>& words);

}  // namespace tandrel::sim
