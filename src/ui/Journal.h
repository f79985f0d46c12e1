#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Colour.h"
#include "platform/WindowLoop.h"

namespace tandrel {

// One JSON object per line for every visible change, flushed line by line,
// so that a station can be watched and automated. "t" is milliseconds since
// start-up. Written on the window thread only.
class Journal {
public:
    // out stays owned by the caller and open while the journal lives.
    Journal(std::FILE* out, const WindowLoop& clock);

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
    // results store.
    void Result(int channel, int device, bool success, const std::vector<std::string>& images,
                const std::vector<std::string>& sha256, std::int64_t durationMs, const std::string& uuid);

    // A JSON string literal of text: quoted, escaped, with any byte that is
    // not valid UTF-8 replaced by U+FFFD.
    static std::string Quote(std::string_view text);

private:
    void Write(const std::string& fields);

    std::FILE* out_;
    const WindowLoop& clock_;
};

}  // namespace tandrel
