#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace tandrel::e2e {

struct ProgramResult {
    int status = -1;  // the exit status; -1 when it did not exit normally
    std::string output;  // standard output and standard error together
};

// Runs argv[0] with its arguments to its end, in this process's environment.
ProgramResult RunProgram(const std::vector<std::string>& argv);

// A program running beside the test, its output in outputFile. Told to end
// (SIGTERM) and reaped when it goes out of scope.
class ChildProcess {
public:
    ChildProcess(const std::vector<std::string>& argv, const std::string& outputFile);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Running();
    // Sends SIGTERM and waits; returns the exit status, -1 when it did not
    // exit normally (or had already been reaped).
    int Stop();
    // Ends it with SIGKILL, as a power cut would, and reaps it.
    void Kill();

private:
    pid_t pid_ = -1;
    int status_ = -1;
};

std::string ReadWholeFile(const std::string& path);

}  // namespace tandrel::e2e
