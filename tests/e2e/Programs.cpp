#include "Programs.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

extern char** environ;

namespace tandrel::e2e {

namespace {

// Frees the spawn's file actions whichever way the spawn goes.
struct FileActions {
    FileActions() { posix_spawn_file_actions_init(&actions); }
    ~FileActions() { posix_spawn_file_actions_destroy(&actions); }
    posix_spawn_file_actions_t actions;
};

pid_t Spawn(const std::vector<std::string>& argv, FileActions& files) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = -1;
    const int error = posix_spawn(&pid, args[0], &files.actions, nullptr, args.data(), environ);
    if (error != 0) throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(error));
    return pid;
}

int ExitStatusOf(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

ProgramResult RunProgram(const std::vector<std::string>& argv) {
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) throw std::runtime_error("pipe: " + std::string(std::strerror(errno)));
    FileActions files;
    posix_spawn_file_actions_adddup2(&files.actions, pipeEnds[1], 1);
    posix_spawn_file_actions_adddup2(&files.actions, pipeEnds[1], 2);
    pid_t pid = -1;
    try {
        pid = Spawn(argv, files);
    } catch (...) {
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        throw;
    }
    close(pipeEnds[1]);
    ProgramResult result;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(pipeEnds[0], buffer, sizeof buffer);
        if (n > 0) result.output.append(buffer, static_cast<std::size_t>(n));
        if (n == 0 || (n < 0 && errno != EINTR)) break;
    }
    close(pipeEnds[0]);
    result.status = ExitStatusOf(pid);
    return result;
}

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::string& outputFile) {
    FileActions files;
    posix_spawn_file_actions_addopen(&files.actions, 1, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&files.actions, 1, 2);
    pid_ = Spawn(argv, files);
}

ChildProcess::~ChildProcess() { Stop(); }

bool ChildProcess::Running() {
    if (pid_ < 0) return false;
    int status = 0;
    const pid_t done = waitpid(pid_, &status, WNOHANG);
    if (done == 0) return true;
    status_ = done == pid_ && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    pid_ = -1;
    return false;
}

int ChildProcess::Stop() {
    if (!Running()) return status_;
    kill(pid_, SIGTERM);
    status_ = ExitStatusOf(pid_);
    pid_ = -1;
    return status_;
}

void ChildProcess::Kill() {
    if (!Running()) return;
    kill(pid_, SIGKILL);
    status_ = ExitStatusOf(pid_);
    pid_ = -1;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace tandrel::e2e
