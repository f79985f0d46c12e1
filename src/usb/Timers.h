#pragma once

namespace tandrel {

constexpr int kScanTimerId = 1;
constexpr int kScanPeriodMs = 50;

// ResultTimer of channel k is 10 + k.
constexpr int kResultTimerBase = 10;
constexpr int ResultTimerId(int channel) { return kResultTimerBase + channel; }
constexpr int kSuccessResultMs = 35000;
constexpr int kFailResultMs = 1000;

}  // namespace tandrel
