#include "results/StoreWriter.h"

#include <filesystem>
#include <system_error>

#include "platform/PostedTask.h"
#include "results/ResultStore.h"

namespace tandrel {

namespace {

// The store's folder is made on first use, as the station's data folder may
// not exist yet.
void MakeFolderOf(const std::string& path) {
    const std::filesystem::path parent = std::filesystem::u8path(path).parent_path();
    std::error_code ignored;
    if (!parent.empty()) std::filesystem::create_directories(parent, ignored);
}

}  // namespace

StoreWriter::StoreWriter(std::string path, WindowLoop& loop, Say say, Written written)
    : path_(std::move(path)), loop_(loop), say_(std::move(say)), written_(std::move(written)) {
    thread_ = std::thread([this] { Run(); });
}

StoreWriter::~StoreWriter() {
    {
        const MutexLock lock(mutex_);
        closing_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void StoreWriter::Hand(ResultRecord record) { Queue(std::move(record)); }

void StoreWriter::Hand(RunRecord run) { Queue(std::move(run)); }

void StoreWriter::Hand(PortClear clear) { Queue(clear); }

void StoreWriter::Queue(Item item) {
    {
        const MutexLock lock(mutex_);
        queue_.push_back(std::move(item));
    }
    wake_.notify_one();
}

// The front item stays queued until it is written, so that a failing store
// keeps it, and everything after it, in order. The store is closed whenever
// the queue runs dry: a file made read-only or replaced meanwhile is then met
// as it is now, not through a handle opened before.
void StoreWriter::Run() {
    MutexLock lock(mutex_);
    bool lastTry = false;
    while (true) {
        while (!closing_ && queue_.empty()) lock.Wait(wake_);
        if (queue_.empty()) return;
        if (closing_ && !failing_.empty()) {
            if (lastTry) return;
            lastTry = true;
        }
        Item item = std::move(queue_.front());
        lock.Unlock();
        std::string reason;
        const bool written = WriteFront(item, reason);
        lock.Lock();
        if (written) {
            queue_.pop_front();
            // Closing checkpoints the log to disk: never while the window
            // thread may be waiting to hand over a record.
            if (queue_.empty()) {
                lock.Unlock();
                store_.reset();
                lock.Lock();
            }
        } else {
            queue_.front() = std::move(item);
            const auto retry = std::chrono::steady_clock::now() + std::chrono::milliseconds(kRetryMs);
            while (!closing_) {
                if (!lock.WaitUntil(wake_, retry)) break;
            }
        }
    }
}

bool StoreWriter::WriteFront(Item& item, std::string& reason) {
    if (!store_) {
        MakeFolderOf(path_);
        store_ = ResultStore::Open(path_, true, reason);
    }
    bool ok = store_ != nullptr;
    if (ok) {
        if (auto* record = std::get_if<ResultRecord>(&item)) ok = store_->AddResult(*record, reason);
        else if (auto* run = std::get_if<RunRecord>(&item)) ok = store_->AddRun(*run, reason);
        else ok = store_->AddClear(std::get<PortClear>(item), reason);
    }
    if (!ok) {
        store_.reset();
        if (failing_.empty()) Tell("Results are not being saved: " + reason);
        failing_ = reason;
        return false;
    }
    if (!failing_.empty()) Tell("Results are being saved again");
    failing_.clear();
    if (const auto* record = std::get_if<ResultRecord>(&item); record && written_) written_(*record);
    return true;
}

void StoreWriter::Tell(const std::string& line) {
    PostTask(loop_, [say = say_, line] { say(line); });
}

}  // namespace tandrel
