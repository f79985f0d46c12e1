#pragma once

#include <memory>
#include <string>

namespace tandrel {

// The machine's own name, which names the station when no --station is
// given (UTF-8; empty when the system names none).
std::string HostName();

// A file only one process at a time may hold, so that two stations never
// write one results store. The system lets go of it when the process ends,
// however it ends.
class FileLock {
public:
    virtual ~FileLock() = default;

    // Takes the lock on the file at path (UTF-8), creating the file when it
    // is missing. Null when it cannot: heldElsewhere then tells whether
    // another process holds it, error why it failed otherwise.
    static std::unique_ptr<FileLock> Take(const std::string& path, bool& heldElsewhere, std::string& error);
};

}  // namespace tandrel
