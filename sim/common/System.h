#pragma once

#include <string>

namespace tandrel::sim {

// The little the simulator and its tools need of the operating system beyond
// the standard library; posix/ and win32/ each implement it. Narrow texts
// are the system's own: UTF-8 on Linux, the ANSI code page on Windows, as
// the download library's texts are.

// Renames from to to in one step, replacing a file already at to. False,
// with the system's reason in why, when it cannot.
bool RenameReplacing(const std::string& from, const std::string& to, std::string& why);

// This process's id, which keeps temporary names of processes apart.
unsigned long ProcessId();

}  // namespace tandrel::sim
