#include "platform/ImageHasher.h"

#include <memory>

#include "platform/Sha256.h"

namespace tandrel {

ImageHasher::ImageHasher(const ImageFiles& files, WindowLoop& loop) : files_(files), loop_(loop) {}

ImageHasher::~ImageHasher() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
        jobs_.clear();
    }
    queued_.notify_one();
    if (thread_.joinable()) thread_.join();
}

void ImageHasher::Hash(const std::string& path, const FileIdentity& identity) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        jobs_.push_back({path, identity});
    }
    queued_.notify_one();
    if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
}

void ImageHasher::Run() {
    for (;;) {
        Job job;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            queued_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
            if (stopping_) return;
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        HashOne(job);
    }
}

void ImageHasher::HashOne(const Job& job) {
    auto found = std::make_unique<ImageHashed>();
    found->path = job.path;
    found->identity = job.identity;
    Sha256 sha;
    FileIdentity read;
    found->ok = files_.Read(
        job.path, read,
        [&](const std::uint8_t* data, std::size_t size) {
            sha.Update(data, size);
            return !stopping_.load();
        },
        found->error);
    if (found->ok && read != job.identity) {
        found->ok = false;
        found->error = "it is no longer the file it was";
    }
    if (found->ok) found->sha256 = HexOf(sha.Finish());
    loop_.Post(WindowMessage{WM_IMAGE_HASHED, std::move(found)});
}

}  // namespace tandrel
