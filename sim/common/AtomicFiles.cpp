#include "AtomicFiles.h"

#include <atomic>
#include <cstdio>
#include <filesystem>

#include "File.h"
#include "System.h"

namespace tandrel::sim {

std::string TemporaryName(const std::string& dir, const std::string& stem) {
    static std::atomic<unsigned> counter{0};
    return dir + "/." + stem + "." + std::to_string(ProcessId()) + "." + std::to_string(counter++) + ".tmp";
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
    std::string why;
    if (!RenameReplacing(temp, path, why)) {
        error = "cannot replace " + path + ": " + why;
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

// Through File, whose readers never stand in the way of a writer's rename.
std::optional<std::string> ReadSmallFile(const std::string& path) {
    std::string error;
    const File file = File::OpenRead(path, error);
    if (!file.IsOpen()) return std::nullopt;
    std::string text(static_cast<std::size_t>(file.Size()), '\0');
    if (!text.empty() && !file.ReadAt(0, text.data(), text.size())) return std::nullopt;
    return text;
}

bool RemoveAtomically(const std::string& path, const std::string& trash, std::string& error) {
    std::string away = TemporaryName(trash, std::filesystem::path(path).filename().string());
    std::string why;
    if (!RenameReplacing(path, away, why)) {
        error = "cannot remove " + path + ": " + why;
        return false;
    }
    std::error_code ignored;
    std::filesystem::remove_all(away, ignored);
    return true;
}

}  // namespace tandrel::sim
