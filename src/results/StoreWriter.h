#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <variant>

#include "platform/Mutex.h"
#include "platform/WindowLoop.h"
#include "results/PortHealth.h"
#include "results/ResultRecord.h"

namespace tandrel {

// The store-writer thread: the window thread hands it finished records and
// goes on at once; the thread writes them into the results store in the
// order handed, each in its own transaction. While the store cannot be
// written (missing folder rights, not a database, damaged, locked, a full or
// read-only disk) the records wait here and are tried again, in order, until
// they are written; none is written twice. The thread touches no station
// state: what the operator must hear it posts to the window thread.
class StoreWriter {
public:
    // Window thread: takes each line for the operator's log.
    using Say = std::function<void(const std::string& line)>;
    // Store-writer thread, after a record is durable: the line forwarder's
    // cue, and what benchmarks measure.
    using Written = std::function<void(const ResultRecord& record)>;

    StoreWriter(std::string path, WindowLoop& loop, Say say, Written written = {});
    // Writes what is still queued before the thread ends; a store that still
    // fails then gets one more try per record.
    ~StoreWriter();
    StoreWriter(const StoreWriter&) = delete;
    StoreWriter& operator=(const StoreWriter&) = delete;

    // Window thread.
    void Hand(ResultRecord record);
    void Hand(RunRecord run);
    void Hand(PortClear clear);

    // How long a failing store rests before the next try.
    static constexpr int kRetryMs = 500;

private:
    using Item = std::variant<ResultRecord, RunRecord, PortClear>;

    void Queue(Item item);
    void Run();
    // Writes the front item; false, with the reason, when the store failed.
    bool WriteFront(Item& item, std::string& reason);
    void Tell(const std::string& line);

    const std::string path_;
    WindowLoop& loop_;
    const Say say_;
    const Written written_;

    Mutex mutex_;
    std::condition_variable wake_;
    std::deque<Item> queue_ GUARDED_BY(mutex_);
    bool closing_ GUARDED_BY(mutex_) = false;

    // The writer thread's own.
    std::unique_ptr<class ResultStore> store_;
    std::string failing_;  // the reason the store last failed; empty while it works

    std::thread thread_;
};

}  // namespace tandrel
