#pragma once

#include <cstdint>
#include <vector>

namespace tandrel {

// Channels waiting for their phone to be unplugged, oldest first. A channel
// may stand in it more than once.
class UnplugQueue {
public:
    void Append(std::int8_t channel) { entries_.push_back(channel); }
    int Count() const { return static_cast<int>(entries_.size()); }
    // Positions are 0-based; one at or past Count() reads 0 and removes nothing.
    std::int8_t At(int position) const { return Valid(position) ? entries_[static_cast<std::size_t>(position)] : 0; }
    void RemoveAt(int position) {
        if (Valid(position)) entries_.erase(entries_.begin() + position);
    }
    void RemoveAll() { entries_.clear(); }

private:
    bool Valid(int position) const { return position >= 0 && position < Count(); }

    std::vector<std::int8_t> entries_;
};

}  // namespace tandrel
