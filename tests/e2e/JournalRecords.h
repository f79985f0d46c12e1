#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tandrel::e2e {

// One line of the station's journal: a flat JSON object. String values are
// unescaped; numbers, booleans and arrays keep their JSON text.
struct JournalRecord {
    std::int64_t t = 0;
    std::string ev;
    int ch = 0;
    std::map<std::string, std::string> fields;

    // The field's value, or "" when the record has none.
    std::string operator[](const std::string& key) const;
};

// The complete lines of text, in order; a line that is not a record is skipped.
std::vector<JournalRecord> ParseJournal(std::string_view text);

// The texts of channel's "status" records, in order.
std::vector<std::string> StatusTexts(const std::vector<JournalRecord>& records, int channel);

// The "result" records, in the order written.
std::vector<JournalRecord> ResultRecords(const std::vector<JournalRecord>& records);

// Follows a journal file as the station writes it.
class JournalTail {
public:
    explicit JournalTail(std::string path) : path_(std::move(path)) {}

    // Takes in the lines completed since the last call; returns every record so far.
    const std::vector<JournalRecord>& Update();
    const std::vector<JournalRecord>& Records() const { return records_; }

private:
    std::string path_;
    std::size_t offset_ = 0;
    std::vector<JournalRecord> records_;
};

}  // namespace tandrel::e2e
