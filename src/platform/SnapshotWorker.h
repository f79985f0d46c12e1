#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <string>
#include <thread>

#include "platform/ImageFiles.h"
#include "platform/Mutex.h"
#include "platform/WindowLoop.h"

namespace tandrel {

// One image file copied into the snapshot folder, and the copy hashed.
struct TakenCopy {
    std::string source;
    FileIdentity identity;  // of the source, as it was copied
    std::string copy;       // the copy's path, when ok
    bool ok = false;
    std::string sha256;  // of the copy's bytes, lowercase hex, when ok
    FileError error;     // why not, otherwise
};

// The one thread that copies and hashes image files, so that a large image
// set never holds up the window. Each answer runs on the window thread, in
// the order asked, through a task posted to the window loop.
class SnapshotWorker {
public:
    using Answer = std::function<void(const TakenCopy&)>;

    SnapshotWorker(const ImageFiles& files, WindowLoop& loop);
    // Drops what is still queued, stops a copy under way, and waits for the
    // thread.
    ~SnapshotWorker();
    SnapshotWorker(const SnapshotWorker&) = delete;
    SnapshotWorker& operator=(const SnapshotWorker&) = delete;

    // Window thread. Copies source into folder and hashes the copy; answer
    // then runs on the window thread, unless the window has closed. The
    // thread starts with the first file asked for.
    void CopyAndHash(const std::string& source, const std::string& folder, Answer answer);

private:
    struct Job {
        std::string source;
        std::string folder;
        Answer answer;
    };

    void Run();
    TakenCopy Take(const Job& job) const;

    const ImageFiles& files_;
    WindowLoop& loop_;
    Mutex mutex_;
    std::condition_variable queued_;
    std::deque<Job> jobs_ GUARDED_BY(mutex_);
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace tandrel
