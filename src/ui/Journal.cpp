#include "ui/Journal.h"

#include <cerrno>
#include <cstring>

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

namespace {

class FileSink : public JournalSink {
public:
    explicit FileSink(std::FILE* out) : out_(out) { std::setvbuf(out_, nullptr, _IONBF, 0); }

    std::size_t Write(std::string_view bytes, std::string& error) override {
        errno = 0;
        const std::size_t written = std::fwrite(bytes.data(), 1, bytes.size(), out_);
        if (written < bytes.size()) {
            error = errno ? std::strerror(errno) : "write failed";
            std::clearerr(out_);
        }
        return written;
    }

private:
    std::FILE* out_;
};

}  // namespace

Journal::Journal(std::FILE* out, WindowLoop& loop) : Journal(std::make_unique<FileSink>(out), loop) {}

Journal::Journal(std::unique_ptr<JournalSink> sink, WindowLoop& loop) : sink_(std::move(sink)), loop_(loop) {}

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

void Journal::Write(const std::string& fields, Kind kind) {
    std::string text = "{\"t\":" + std::to_string(loop_.Now()) + "," + fields + "}\n";
    pendingBytes_ += text.size();
    ++waiting_[static_cast<std::size_t>(kind)];
    pending_.push_back({std::move(text), kind});
    Drain();
    if (pending_.empty()) return;
    DropBeyondBound();
    ScheduleRetry();
    if (reported_) return;
    // Set first: the report itself is shown, and journaled, by the station.
    reported_ = true;
    if (report_) report_(failure_);
}

void Journal::Drain() {
    while (!pending_.empty()) {
        const std::string& text = pending_.front().text;
        frontWritten_ += sink_->Write(std::string_view(text).substr(frontWritten_), failure_);
        if (frontWritten_ < text.size()) return;
        pendingBytes_ -= text.size();
        --waiting_[static_cast<std::size_t>(pending_.front().kind)];
        pending_.pop_front();
        frontWritten_ = 0;
    }
}

// The line partly in the file already is never dropped: its end must follow.
bool Journal::DropOldest(Kind kind) {
    if (!waiting_[static_cast<std::size_t>(kind)]) return false;
    for (auto it = pending_.begin() + (frontWritten_ > 0 ? 1 : 0); it != pending_.end(); ++it) {
        if (it->kind != kind) continue;
        pendingBytes_ -= it->text.size();
        --waiting_[static_cast<std::size_t>(kind)];
        pending_.erase(it);
        ++lost_;
        return true;
    }
    return false;
}

void Journal::DropBeyondBound() {
    while (pendingBytes_ > kMaxPendingBytes && DropOldest(Kind::Progress)) {
    }
    while (pendingBytes_ > kMaxPendingBytes && DropOldest(Kind::Other)) {
    }
}

void Journal::ScheduleRetry() {
    if (retryScheduled_) return;
    retryScheduled_ = true;
    loop_.After(kRetryMs, [this] {
        retryScheduled_ = false;
        Drain();
        if (!pending_.empty()) ScheduleRetry();
    });
}

std::int64_t Journal::Finish() {
    Drain();
    lost_ += static_cast<std::int64_t>(pending_.size());
    pending_.clear();
    waiting_ = {};
    pendingBytes_ = 0;
    frontWritten_ = 0;
    return lost_;
}

void Journal::Status(int channel, std::string_view text) {
    Write("\"ev\":\"status\",\"ch\":" + std::to_string(channel) + ",\"text\":" + Quote(text));
}

void Journal::RowColour(int channel, Colour colour) {
    Write("\"ev\":\"colour\",\"ch\":" + std::to_string(channel) + ",\"rgb\":[" + std::to_string(RedOf(colour)) +
          "," + std::to_string(GreenOf(colour)) + "," + std::to_string(BlueOf(colour)) + "]");
}

void Journal::Progress(int channel, int pos) {
    Write("\"ev\":\"progress\",\"ch\":" + std::to_string(channel) + ",\"pos\":" + std::to_string(pos), Kind::Progress);
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
                     const std::vector<std::string>& sha256, std::int64_t durationMs, const std::string& uuid,
                     std::string_view reason) {
    Write("\"ev\":\"result\",\"ch\":" + std::to_string(channel) + ",\"device\":" + std::to_string(device) +
              ",\"result\":" + (success ? "\"Success\"" : "\"Fail\"") + ",\"images\":" + ListOf(images, false) +
              ",\"ms\":" + std::to_string(durationMs) + ",\"sha256\":" + ListOf(sha256, true) +
              (reason.empty() ? "" : ",\"reason\":" + Quote(reason)) + ",\"uuid\":" + Quote(uuid),
          Kind::Result);
}

void Journal::PortHealth(int port, bool flagged, std::string_view reason, int inRow, std::optional<double> yield20) {
    char yield[32] = "null";
    if (yield20) std::snprintf(yield, sizeof yield, "%.1f", *yield20);
    Write("\"ev\":\"port-health\",\"port\":" + std::to_string(port) + ",\"flagged\":" + (flagged ? "true" : "false") +
          ",\"reason\":" + Quote(reason) + ",\"inRow\":" + std::to_string(inRow) + ",\"yield20\":" + yield);
}

}  // namespace tandrel
