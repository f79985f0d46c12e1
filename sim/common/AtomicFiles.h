#pragma once

#include <optional>
#include <string>

namespace tandrel::sim {

// Every write into a bench goes through a temporary name and a rename, so a
// reader (the station's scan, the robot, another tool) never sees half a file.
bool WriteFileAtomically(const std::string& path, const std::string& text, std::string& error);
std::optional<std::string> ReadSmallFile(const std::string& path);
// A fresh name in dir that no other writer of this or another process uses.
std::string TemporaryName(const std::string& dir, const std::string& stem);
// Renames path away into trash (same file system), then deletes it there.
bool RemoveAtomically(const std::string& path, const std::string& trash, std::string& error);

}  // namespace tandrel::sim
