#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "platform/ImageFiles.h"
#include "platform/WindowLoop.h"

namespace tandrel {

// What the hashing thread found for one version of a file.
struct ImageHashed : MessagePayload {
    std::string path;
    FileIdentity identity;  // the version that was asked for
    bool ok = false;        // the bytes of exactly that version were read
    std::string sha256;     // lowercase hex, when ok
    std::string error;      // why not, otherwise
};

// The one thread that hashes image files, so that a large image set never
// holds up the window: each file asked for is read whole, and what was found
// is posted to the window loop as a WM_IMAGE_HASHED message, in the order
// asked.
class ImageHasher {
public:
    ImageHasher(const ImageFiles& files, WindowLoop& loop);
    // Drops what is still queued, stops a reading under way, and waits for
    // the thread.
    ~ImageHasher();
    ImageHasher(const ImageHasher&) = delete;
    ImageHasher& operator=(const ImageHasher&) = delete;

    // Window thread. The version of path with identity is wanted; any other
    // version found there is reported as not ok. The thread starts with the
    // first file asked for.
    void Hash(const std::string& path, const FileIdentity& identity);

private:
    struct Job {
        std::string path;
        FileIdentity identity;
    };

    void Run();
    void HashOne(const Job& job);

    const ImageFiles& files_;
    WindowLoop& loop_;
    std::mutex mutex_;
    std::condition_variable queued_;
    std::deque<Job> jobs_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace tandrel
