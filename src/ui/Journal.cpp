#include "ui/Journal.h"

namespace tandrel {

namespace {

// Length of the valid UTF-8 sequence at s[i], or 0 when there is none.
std::size_t Utf8SequenceLength(std::string_view s, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b = byte(i);
    std::size_t n = 0;
    unsigned char lowest = 0x80, highest = 0xBF;
    if (b < 0x80) return 1;
    if (b >= 0xC2 && b <= 0xDF) n = 2;
    else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
        if (b == 0xE0) lowest = 0xA0;
        if (b == 0xED) highest = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
        if (b == 0xF0) lowest = 0x90;
        if (b == 0xF4) highest = 0x8F;
    } else {
        return 0;
    }
    if (i + n > s.size()) return 0;
    for (std::size_t k = 1; k < n; ++k) {
        const unsigned char c = byte(i + k);
        const unsigned char lo = k == 1 ? lowest : 0x80;
        const unsigned char hi = k == 1 ? highest : 0xBF;
        if (c < lo || c > hi) return 0;
    }
    return n;
}

}  // namespace

Journal::Journal(std::FILE* out, const WindowLoop& clock) : out_(out), clock_(clock) {}

std::string Journal::Quote(std::string_view text) {
    std::string q;
    q.reserve(text.size() + 2);
    q += '"';
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        const std::size_t n = Utf8SequenceLength(text, i);
        if (n == 0) {
            q += "\xEF\xBF\xBD";
            ++i;
            continue;
        }
        if (n > 1) {
            q.append(text.substr(i, n));
        } else if (c == '"') {
            q += "\\\"";
        } else if (c == '\\') {
            q += "\\\\";
        } else if (c == '\n') {
            q += "\\n";
        } else if (c == '\r') {
            q += "\\r";
        } else if (c == '\t') {
            q += "\\t";
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(static_cast<unsigned char>(c)));
            q += buf;
        } else {
            q += c;
        }
        i += n;
    }
    q += '"';
    return q;
}

void Journal::Write(const std::string& fields) {
    std::fprintf(out_, "{\"t\":%lld,%s}\n", static_cast<long long>(clock_.Now()), fields.c_str());
    std::fflush(out_);
}

void Journal::Status(int channel, std::string_view text) {
    Write("\"ev\":\"status\",\"ch\":" + std::to_string(channel) + ",\"text\":" + Quote(text));
}

void Journal::RowColour(int channel, Colour colour) {
    Write("\"ev\":\"colour\",\"ch\":" + std::to_string(channel) + ",\"rgb\":[" + std::to_string(RedOf(colour)) +
          "," + std::to_string(GreenOf(colour)) + "," + std::to_string(BlueOf(colour)) + "]");
}

void Journal::Progress(int channel, int pos) {
    Write("\"ev\":\"progress\",\"ch\":" + std::to_string(channel) + ",\"pos\":" + std::to_string(pos));
}

void Journal::Banner(std::string_view text, bool normal) {
    Write(std::string("\"ev\":\"banner\",\"text\":") + Quote(text) + ",\"colour\":\"" + (normal ? "blue" : "red") +
          "\"");
}

void Journal::Log(std::string_view text) { Write("\"ev\":\"log\",\"text\":" + Quote(text)); }

void Journal::LogClear() { Write("\"ev\":\"log-clear\""); }

void Journal::Enable(int controlId, bool on) {
    Write("\"ev\":\"enable\",\"id\":" + std::to_string(controlId) + ",\"on\":" + (on ? "true" : "false"));
}

void Journal::State(int channel, std::string_view state) {
    Write("\"ev\":\"state\",\"ch\":" + std::to_string(channel) + ",\"state\":" + Quote(state));
}

namespace {

// A JSON list of the texts; an empty text is null when emptyIsNull.
std::string ListOf(const std::vector<std::string>& texts, bool emptyIsNull) {
    std::string list = "[";
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i) list += ',';
        list += emptyIsNull && texts[i].empty() ? "null" : Journal::Quote(texts[i]);
    }
    return list + ']';
}

}  // namespace

void Journal::Result(int channel, int device, bool success, const std::vector<std::string>& images,
                     const std::vector<std::string>& sha256, std::int64_t durationMs, const std::string& uuid) {
    Write("\"ev\":\"result\",\"ch\":" + std::to_string(channel) + ",\"device\":" + std::to_string(device) +
          ",\"result\":" + (success ? "\"Success\"" : "\"Fail\"") + ",\"images\":" + ListOf(images, false) +
          ",\"ms\":" + std::to_string(durationMs) + ",\"sha256\":" + ListOf(sha256, true) +
          ",\"uuid\":" + Quote(uuid));
}

}  // namespace tandrel
