#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/WindowLoop.h"
#include "results/LineClient.h"
#include "results/LinePacing.h"

namespace tandrel {

// The line-forwarding thread: sends the results store's unsent results to
// the line service in sequence order, a batch at a time, and counts them
// sent only once the service has answered for them. A result the line never
// answered for is sent again, so the service's keys make it arrive once. The
// thread has its own connection to the store and touches no station state;
// what the operator must hear it posts to the window thread.
class LineForwarder {
public:
    using Say = std::function<void(const std::string& line)>;

    static constexpr std::int64_t kBatchRows = 100;

    LineForwarder(std::string storePath, std::unique_ptr<LineClient> client, WindowLoop& loop, Say say);
    // Ends after the batch under way, if any; what is unsent stays in the store.
    ~LineForwarder();
    LineForwarder(const LineForwarder&) = delete;
    LineForwarder& operator=(const LineForwarder&) = delete;

    // Any thread: a result was written into the store.
    void ResultWritten();
    // Any thread: the ports the station has flagged now, as FlaggedPortsJson
    // writes them; they go with the next batch and every one after.
    void PortsFlagged(std::string ports);

private:
    void Run();
    // One batch; the rest before the next.
    int SendBatch();
    void Tell(const std::string& line);

    const std::string storePath_;
    const std::unique_ptr<LineClient> client_;
    WindowLoop& loop_;
    const Say say_;

    std::mutex mutex_;
    std::condition_variable wake_;
    bool news_ = false;  // a new result or port flag; guarded by mutex_
    bool closing_ = false;  // guarded by mutex_
    // None until the station has counted its ports' history.
    std::optional<std::string> ports_;  // guarded by mutex_

    // The thread's own.
    std::unique_ptr<class ResultStore> store_;
    LinePacing pacing_;

    std::thread thread_;
};

// The flagged ports of health as the line takes them: a JSON list of
// {"port": N, "reason": TEXT}, empty when none is flagged.
std::string FlaggedPortsJson(const class PortHealth& health);

}  // namespace tandrel
