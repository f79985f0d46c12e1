#pragma once

namespace tandrel {

// The station serves channels 1..channelCount, one phone each; every loop
// over the channels runs over that range.
inline constexpr int channelCount = 8;

}  // namespace tandrel
