#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tandrel {

// What the line service made of one batch.
struct LineAnswer {
    // The service answered for every row of the batch: each is stored now or
    // was before. False: nothing of it may count as sent.
    bool answered = false;
    // Why not, in words for the operator's log.
    std::string reason;
    // Rows whose sequence the line holds under another result of this station.
    std::vector<std::int64_t> conflicting;
};

// The station's side of the line: posts a batch of results to the line
// service. Blocks for the round trip; used from the forwarding thread only.
class LineClient {
public:
    virtual ~LineClient() = default;
    virtual LineAnswer Send(const std::string& batch) = 0;
};

// A batch waits this long at most for a connection and for the line's
// answer: a station shut down meanwhile waits no longer for its forwarding
// to end.
constexpr int kLineConnectMs = 2000;
constexpr int kLineAnswerMs = 5000;

// The client for url (http://HOST:PORT), sending token with every batch.
// Null, with the reason, when url is not one.
std::unique_ptr<LineClient> MakeLineClient(const std::string& url, const std::string& token, std::string& error);

// The system's HTTP client of the line at address: each system's own.
std::unique_ptr<LineClient> MakeHttpLineClient(const struct LineAddress& address, const std::string& token);

}  // namespace tandrel
