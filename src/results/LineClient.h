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

// The client for url (http://HOST:PORT), sending token with every batch.
// Null, with the reason, when url is not one or the build has no client.
std::unique_ptr<LineClient> MakeLineClient(const std::string& url, const std::string& token, std::string& error);

}  // namespace tandrel
