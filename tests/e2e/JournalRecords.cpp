#include "JournalRecords.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>

namespace tandrel::e2e {

namespace {

// Reads a flat JSON object one token at a time.
class FlatObjectReader {
public:
    explicit FlatObjectReader(std::string_view line) : s_(line) {}

    std::optional<std::map<std::string, std::string>> Read() {
        std::map<std::string, std::string> fields;
        if (!Take('{')) return std::nullopt;
        if (Take('}')) return fields;
        do {
            std::optional<std::string> key = String();
            if (!key || !Take(':')) return std::nullopt;
            std::optional<std::string> value = Value();
            if (!value) return std::nullopt;
            fields[*key] = *value;
        } while (Take(','));
        if (!Take('}') || i_ != s_.size()) return std::nullopt;
        return fields;
    }

private:
    bool Take(char c) {
        if (i_ < s_.size() && s_[i_] == c) {
            ++i_;
            return true;
        }
        return false;
    }

    std::optional<std::string> Value() {
        if (i_ < s_.size() && s_[i_] == '"') return String();
        if (i_ < s_.size() && s_[i_] == '[') return Array();
        const std::size_t start = i_;
        while (i_ < s_.size() && s_[i_] != ',' && s_[i_] != '}') ++i_;
        if (i_ == start) return std::nullopt;
        return std::string(s_.substr(start, i_ - start));
    }

    // The array's JSON text; strings inside may hold brackets.
    std::optional<std::string> Array() {
        const std::size_t start = i_++;
        while (i_ < s_.size() && s_[i_] != ']') {
            if (s_[i_] == '"') {
                if (!String()) return std::nullopt;
            } else {
                ++i_;
            }
        }
        if (!Take(']')) return std::nullopt;
        return std::string(s_.substr(start, i_ - start));
    }

    std::optional<std::string> String() {
        if (!Take('"')) return std::nullopt;
        std::string out;
        while (i_ < s_.size() && s_[i_] != '"') {
            char c = s_[i_++];
            if (c == '\\') {
                if (i_ >= s_.size()) return std::nullopt;
                c = Unescaped(s_[i_++]);
            }
            out += c;
        }
        if (!Take('"')) return std::nullopt;
        return out;
    }

    // \n, \r and \t come back as themselves and \" or \\ as the character;
    // a \u escape keeps its hex digits, as the tests look for plain texts only.
    static char Unescaped(char c) {
        switch (c) {
        case 'n': return '\n';
        case 'r': return '\r';
        case 't': return '\t';
        default: return c;
        }
    }

    std::string_view s_;
    std::size_t i_ = 0;
};

}  // namespace

std::string JournalRecord::operator[](const std::string& key) const {
    const auto found = fields.find(key);
    return found == fields.end() ? std::string() : found->second;
}

std::vector<JournalRecord> ParseJournal(std::string_view text) {
    std::vector<JournalRecord> records;
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string_view::npos; end = text.find('\n', start)) {
        const std::optional<std::map<std::string, std::string>> fields =
            FlatObjectReader(text.substr(start, end - start)).Read();
        start = end + 1;
        if (!fields) continue;
        JournalRecord record;
        record.fields = *fields;
        record.t = std::atoll(record["t"].c_str());
        record.ev = record["ev"];
        record.ch = std::atoi(record["ch"].c_str());
        records.push_back(std::move(record));
    }
    return records;
}

std::vector<std::string> StatusTexts(const std::vector<JournalRecord>& records, int channel) {
    std::vector<std::string> texts;
    for (const JournalRecord& r : records) {
        if (r.ev == "status" && r.ch == channel) texts.push_back(r["text"]);
    }
    return texts;
}

std::vector<JournalRecord> ResultRecords(const std::vector<JournalRecord>& records) {
    std::vector<JournalRecord> results;
    for (const JournalRecord& r : records) {
        if (r.ev == "result") results.push_back(r);
    }
    return results;
}

const std::vector<JournalRecord>& JournalTail::Update() {
    std::ifstream in(path_, std::ios::binary);
    if (!in.seekg(static_cast<std::streamoff>(offset_))) return records_;
    const std::string added{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::size_t complete = added.rfind('\n');
    if (complete == std::string::npos) return records_;
    for (JournalRecord& r : ParseJournal(std::string_view(added).substr(0, complete + 1))) {
        records_.push_back(std::move(r));
    }
    offset_ += complete + 1;
    return records_;
}

}  // namespace tandrel::e2e
