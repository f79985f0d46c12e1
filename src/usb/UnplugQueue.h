#pragma once

#include <cstdint>
#include <vector>

namespace tandrel {

// Channels waiting for their phone to be unplugged, oldest first. A channel
// may stand in it more than once. Only channel numbers 1..channelCount are
// taken, so every entry read back names a channel.
class UnplugQueue {
public:
    // False, appending nothing, for a number that names no channel.
    bool Append(std::int8_t channel);
    int Count() const { return static_cast<int>(entries_.size()); }
    // Positions are 0-based; one outside 0..Count()-1 reads 0 and removes nothing.
    std::int8_t At(int position) const;
    void RemoveAt(int position);
    void RemoveAll() { entries_.clear(); }

private:
    bool Valid(int position) const { return position >= 0 && position < Count(); }

    std::vector<std::int8_t> entries_;
};

}  // namespace tandrel
