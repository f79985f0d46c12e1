#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Colour.h"
#include "platform/WindowLoop.h"

namespace tandrel {

// Where the journal's lines go.
class JournalSink {
public:
    virtual ~JournalSink() = default;
    // Writes bytes from their start as far as it can and returns how many it
    // wrote; when that is fewer than all, error says why.
    virtual std::size_t Write(std::string_view bytes, std::string& error) = 0;
};

// One JSON object per line for every visible change, written line by line,
// so that a station can be watched and automated. "t" is milliseconds since
// start-up. Written on the window thread only.
//
// A journal that cannot be written (a full disk) does not stop the station:
// its lines wait in memory, in order, and are written once it can take them
// again, tried on every record and every kRetryMs. A line cut short by the
// failure is finished before any other is written. What waits is bounded:
// beyond kMaxPendingBytes the oldest progress records go first, then the
// oldest others; result records are always kept.
class Journal {
public:
    static constexpr std::size_t kMaxPendingBytes = 1 << 20;
    static constexpr int kRetryMs = 500;

    // out stays owned by the caller and open while the journal lives; it is
    // made unbuffered, so that what a failed write left out is known.
    Journal(std::FILE* out, WindowLoop& loop);
    Journal(std::unique_ptr<JournalSink> sink, WindowLoop& loop);

    // Called once, on the first write that fails, with the system's reason.
    void OnWriteFailure(std::function<void(const std::string& reason)> report) { report_ = std::move(report); }
    // A last try at what still waits; afterwards it counts as lost. Returns
    // how many records were lost over the journal's life.
    std::int64_t Finish();
    std::size_t PendingRecords() const { return pending_.size(); }

    void Status(int channel, std::string_view text);
    void RowColour(int channel, Colour colour);
    void Progress(int channel, int pos);
    void Banner(std::string_view text, bool normal);
    void Log(std::string_view text);
    void LogClear();
    void Enable(int controlId, bool on);
    void State(int channel, std::string_view state);
    // sha256 runs parallel to images: each image's SHA-256 in hex, or empty
    // when unknown (written as null). uuid names the phone's row in the
    // results store. A reason, when given, says why a phone failed that its
    // row cannot tell.
    void Result(int channel, int device, bool success, const std::vector<std::string>& images,
                const std::vector<std::string>& sha256, std::int64_t durationMs, const std::string& uuid,
                std::string_view reason = {});

    // A port was flagged (reason: which rule) or cleared; yield20 in percent,
    // none (null) without a phone to count.
    void PortHealth(int port, bool flagged, std::string_view reason, int inRow, std::optional<double> yield20);

    // A JSON string literal of text: quoted, escaped, with any byte that is
    // not valid UTF-8 replaced by U+FFFD.
    static std::string Quote(std::string_view text);

private:
    enum class Kind { Progress, Result, Other };
    struct Line {
        std::string text;
        Kind kind;
    };

    void Write(const std::string& fields, Kind kind = Kind::Other);
    // Writes waiting lines in order until one does not go through.
    void Drain();
    void DropBeyondBound();
    bool DropOldest(Kind kind);
    void ScheduleRetry();

    std::unique_ptr<JournalSink> sink_;
    WindowLoop& loop_;
    std::deque<Line> pending_;
    std::size_t pendingBytes_ = 0;
    // How many lines of each kind wait.
    std::array<std::size_t, 3> waiting_ = {};
    // How much of pending_.front() is already in the file.
    std::size_t frontWritten_ = 0;
    std::int64_t lost_ = 0;
    std::string failure_;
    bool reported_ = false;
    bool retryScheduled_ = false;
    std::function<void(const std::string&)> report_;
};

}  // namespace tandrel
