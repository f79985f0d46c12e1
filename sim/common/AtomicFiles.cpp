#include "AtomicFiles.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "File.h"

namespace tandrel::sim {

std::string TemporaryName(const std::string& dir, const std::string& stem) {
    static std::atomic<unsigned> counter{0};
    return dir + "/." + stem + "." + std::to_string(::getpid()) + "." + std::to_string(counter++) + ".tmp";
}

bool WriteFileAtomically(const std::string& path, const std::string& text, std::string& error) {
    std::string dir = std::filesystem::path(path).parent_path().string();
    std::string temp = TemporaryName(dir.empty() ? "." : dir, std::filesystem::path(path).filename().string());
    File file = File::Create(temp, error);
    if (!file.IsOpen()) return false;
    if (!file.Write(text.data(), text.size(), error) || !file.Commit(error)) {
        std::remove(temp.c_str());
        return false;
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        error = "cannot replace " + path + ": " + std::strerror(errno);
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

std::optional<std::string> ReadSmallFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool RemoveAtomically(const std::string& path, const std::string& trash, std::string& error) {
    std::string away = TemporaryName(trash, std::filesystem::path(path).filename().string());
    if (std::rename(path.c_str(), away.c_str()) != 0) {
        error = "cannot remove " + path + ": " + std::strerror(errno);
        return false;
    }
    std::error_code ignored;
    std::filesystem::remove_all(away, ignored);
    return true;
}

}  // namespace tandrel::sim
