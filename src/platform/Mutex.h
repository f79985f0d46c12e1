#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

// What clang's thread-safety analysis (-Wthread-safety) checks: which mutex
// guards a member, and where it is held. Other compilers see nothing.
#if defined(__clang__)
#define TANDREL_THREAD_ATTRIBUTE(x) __attribute__((x))
#else
#define TANDREL_THREAD_ATTRIBUTE(x)
#endif

#define CAPABILITY(name) TANDREL_THREAD_ATTRIBUTE(capability(name))
#define SCOPED_CAPABILITY TANDREL_THREAD_ATTRIBUTE(scoped_lockable)
#define GUARDED_BY(mutex) TANDREL_THREAD_ATTRIBUTE(guarded_by(mutex))
#define ACQUIRE(...) TANDREL_THREAD_ATTRIBUTE(acquire_capability(__VA_ARGS__))
#define RELEASE(...) TANDREL_THREAD_ATTRIBUTE(release_capability(__VA_ARGS__))

namespace tandrel {

// A mutex the analysis knows of. It is held only through a MutexLock.
class CAPABILITY("mutex") Mutex {
private:
    friend class MutexLock;
    std::mutex mutex_;
};

// Holds a Mutex from its making to its end, except between Unlock and Lock
// and while it waits.
class SCOPED_CAPABILITY MutexLock {
public:
    explicit MutexLock(Mutex& mutex) ACQUIRE(mutex) : lock_(mutex.mutex_) {}
    ~MutexLock() RELEASE() {}
    MutexLock(const MutexLock&) = delete;
    MutexLock& operator=(const MutexLock&) = delete;

    void Unlock() RELEASE() { lock_.unlock(); }
    void Lock() ACQUIRE() { lock_.lock(); }

    // Lets the mutex go until woken, then holds it again. Wakes may be
    // spurious: the caller checks again what it waits for.
    void Wait(std::condition_variable& wake) { wake.wait(lock_); }
    // As Wait, giving up at deadline; false once it has passed.
    bool WaitUntil(std::condition_variable& wake, std::chrono::steady_clock::time_point deadline) {
        return wake.wait_until(lock_, deadline) == std::cv_status::no_timeout;
    }

private:
    std::unique_lock<std::mutex> lock_;
};

}  // namespace tandrel
