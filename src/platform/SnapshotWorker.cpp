#include "platform/SnapshotWorker.h"

#include "platform/PostedTask.h"
#include "platform/Sha256.h"

namespace tandrel {

SnapshotWorker::SnapshotWorker(const ImageFiles& files, WindowLoop& loop) : files_(files), loop_(loop) {}

SnapshotWorker::~SnapshotWorker() {
    {
        const MutexLock lock(mutex_);
        stopping_ = true;
        jobs_.clear();
    }
    queued_.notify_one();
    if (thread_.joinable()) thread_.join();
}

void SnapshotWorker::CopyAndHash(const std::string& source, const std::string& folder, Answer answer) {
    {
        const MutexLock lock(mutex_);
        jobs_.push_back({source, folder, std::move(answer)});
    }
    queued_.notify_one();
    if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
}

void SnapshotWorker::Run() {
    for (;;) {
        Job job;
        {
            MutexLock lock(mutex_);
            while (!stopping_ && jobs_.empty()) lock.Wait(queued_);
            if (stopping_) return;
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        TakenCopy taken = Take(job);
        // A copy nobody will hear of is nobody's to remove later.
        const std::string copy = taken.ok ? taken.copy : std::string();
        const bool told = !stopping_ && PostTask(loop_, [answer = std::move(job.answer), taken = std::move(taken)] {
            answer(taken);
        });
        if (!told && !copy.empty()) files_.Remove(copy);
    }
}

// The copy is hashed, not the source: the hash is of the very bytes the
// library will read.
TakenCopy SnapshotWorker::Take(const Job& job) const {
    TakenCopy taken;
    taken.source = job.source;
    const auto goOn = [this] { return !stopping_.load(); };
    if (!files_.Copy(job.source, job.folder, taken.identity, taken.copy, goOn, taken.error)) return taken;
    Sha256 sha;
    FileIdentity read;
    taken.ok = files_.Read(
        taken.copy, read,
        [&](const std::uint8_t* data, std::size_t size) {
            sha.Update(data, size);
            return goOn();
        },
        taken.error);
    if (!taken.ok) {
        files_.Remove(taken.copy);
        return taken;
    }
    taken.sha256 = HexOf(sha.Finish());
    return taken;
}

}  // namespace tandrel
