#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "platform/PostedTask.h"
#include "results/ResultRecord.h"
#include "support/SimulatedLoop.h"

namespace tandrel {

// A finished phone of station line-1.
inline ResultRecord Phone(int device, bool success, std::int64_t resultMs) {
    ResultRecord r;
    r.uuid = NewUuid();
    r.station = "line-1";
    r.mode = "USB";
    r.channel = r.device = device;
    r.success = success;
    r.failStage = success ? "" : "LoadFls";
    r.failText = success ? "" : "Failed (FLS)";
    r.reason = success ? "" : "station closed during download";
    r.images = {"|0|a.pak", "|1|a.pak"};
    r.sha256 = {"ab", ""};
    r.stationVersion = "1.0";
    r.armedMs = resultMs - 5000;
    r.resultMs = resultMs;
    return r;
}

// The window's side of a worker thread: the lines it was told, as the window
// thread runs them.
struct WindowSide {
    WindowSide() {
        loop.SetHandlers([](WindowMessage& m) { RunPostedTask(m); }, [](int) {});
    }
    std::vector<std::string> Lines(std::size_t atLeast) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (lines.size() < atLeast && std::chrono::steady_clock::now() < deadline) {
            if (loop.WaitForPost(std::chrono::milliseconds(100))) loop.DeliverPosted();
        }
        return lines;
    }
    SimulatedLoop loop;
    std::vector<std::string> lines;
};

}  // namespace tandrel
