#pragma once

#include <array>
#include <atomic>
#include <memory>
#include <string>

#include "Channel.h"

namespace tandrel::sim {

inline constexpr int kChannels = 8;

// The library's state behind its C entry points: the callback, the channels
// and the bus they share. Entry points return at once; long steps run on the
// channel's worker and report through the callback.
class Simulator {
public:
    static Simulator& Instance();
    Simulator();
    ~Simulator();

    void SetCallback(IFWD_DL_Callback callback) { this->callback.store(callback); }

    // Each returns the entry point's result; why says what went wrong.
    int Open(int channel, const char* port, std::string& why);
    int Close(int channel, std::string& why);
    int Boot(int channel, const char* file, std::string& why);
    int Download(int channel, const char* fileSpec, std::string& why);
    int Reset(int channel, std::string& why);
    int Abort(int channel, std::string& why);

private:
    Channel* Find(int channel, std::string& why);
    // The open port of a channel that can take a new step now.
    std::optional<PhoneLink> ReadyLink(Channel& channel, std::string& why);

    std::atomic<IFWD_DL_Callback> callback{nullptr};
    std::array<std::unique_ptr<Channel>, kChannels + 1> channels;
    RateLimiter bus;
};

}  // namespace tandrel::sim
