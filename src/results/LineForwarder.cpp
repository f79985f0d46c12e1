#include "results/LineForwarder.h"

#include <chrono>

#include "platform/PostedTask.h"
#include "results/PortHealth.h"
#include "results/ResultRecord.h"
#include "results/ResultStore.h"
#include "ui/Journal.h"

namespace tandrel {

LineForwarder::LineForwarder(std::string storePath, std::unique_ptr<LineClient> client, WindowLoop& loop, Say say)
    : storePath_(std::move(storePath)), client_(std::move(client)), loop_(loop), say_(std::move(say)) {
    thread_ = std::thread([this] { Run(); });
}

LineForwarder::~LineForwarder() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        closing_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void LineForwarder::ResultWritten() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        news_ = true;
    }
    wake_.notify_one();
}

void LineForwarder::PortsFlagged(std::string ports) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        ports_ = std::move(ports);
        news_ = true;
    }
    wake_.notify_one();
}

void LineForwarder::Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!closing_) {
        news_ = false;
        lock.unlock();
        const int restMs = SendBatch();
        const bool newsEndsRest = pacing_.NewResultEndsRest();
        lock.lock();
        wake_.wait_for(lock, std::chrono::milliseconds(restMs),
                       [&] { return closing_ || (news_ && newsEndsRest); });
    }
}

int LineForwarder::SendBatch() {
    std::string error;
    if (!store_) store_ = ResultStore::Open(storePath_, true, error);
    std::vector<ResultRecord> batch;
    std::int64_t waiting = 0;
    // The store-writer thread tells the operator what is wrong with the
    // store; this one only tries again later.
    if (!store_ || !store_->Unsent(kBatchRows, batch, waiting, error)) {
        store_.reset();
        return LinePacing::kIntervalMs;
    }
    std::string body = "{\"waiting\":" + std::to_string(waiting - static_cast<std::int64_t>(batch.size()));
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (ports_) body += ",\"ports\":" + *ports_;
    }
    body += ",\"results\":[";
    for (std::size_t i = 0; i < batch.size(); ++i) body += (i ? "," : "") + ResultJson(batch[i]);
    body += "]}";

    const LineAnswer answer = client_->Send(body);
    if (!answer.answered) {
        Tell(pacing_.Failed(answer.reason, waiting));
        return pacing_.RestMs();
    }
    for (const std::int64_t sequence : answer.conflicting) {
        Tell("The line holds another result under sequence " + std::to_string(sequence) + " of this station");
    }
    // Not marked: the batch goes again, and the line answers that it has it.
    if (!batch.empty() && !store_->MarkSentThrough(batch.back().sequence, error)) {
        store_.reset();
        return LinePacing::kIntervalMs;
    }
    Tell(pacing_.Answered(waiting - static_cast<std::int64_t>(batch.size())));
    return pacing_.RestMs();
}

void LineForwarder::Tell(const std::string& line) {
    if (line.empty()) return;
    PostTask(loop_, [say = say_, line] { say(line); });
}

std::string FlaggedPortsJson(const PortHealth& health) {
    std::string list = "[";
    for (int port = 1; port <= PortHealth::kPorts; ++port) {
        const PortFlag& flag = health.Flag(port);
        if (!flag.flagged) continue;
        list += (list.size() > 1 ? ",{\"port\":" : "{\"port\":") + std::to_string(port) +
                ",\"reason\":" + Journal::Quote(flag.reason) + "}";
    }
    return list + "]";
}

}  // namespace tandrel
