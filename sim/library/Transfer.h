#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "Outcome.h"
#include "RateLimiter.h"
#include "common/Faults.h"
#include "common/File.h"
#include "common/ImageFormat.h"

namespace tandrel::sim {

// Everything a download needs, settled when the call is accepted.
struct ItemPlan {
    std::shared_ptr<const File> image;
    ImageItem item;
    unsigned number = 0;  // counted from 1 since the boot
    StepFault fault = StepFault::None;
    bool unplugDuringItem = false;
    unsigned unplugPercent = 0;
    std::uint64_t phoneRate = 0;
    // Writes the bytes as read, without holding them to the item's checksum.
    bool trustImage = false;
};

struct Links {
    RateLimiter& phone;
    RateLimiter& bus;
};

// Streams the item's payload into out at the pace of the phone's link and the
// shared bus, hashing what it writes and reporting progress as it goes.
Outcome CopyPayload(const ItemPlan& plan, File& out, Digest& written, Links links, Watch& watch, Operation& operation,
                    const PhoneLink& phone);

}  // namespace tandrel::sim
