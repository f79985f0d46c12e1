#include "Manifest.h"

#include <charconv>
#include <sstream>

namespace tandrel::sim {

std::string FormatManifestLine(const FlashEntry& entry) {
    return entry.name + '\t' + std::to_string(entry.memoryClass) + '\t' + std::to_string(entry.size) + '\t' +
           HexOf(entry.checksum) + '\t' + entry.file + '\n';
}

namespace {

template <typename T>
bool ParseNumber(const std::string& text, T& value) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

bool ParseLine(const std::string& line, FlashEntry& entry) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
    if (fields.size() != 5 || fields[0].empty() || fields[4].empty()) return false;
    entry.name = fields[0];
    entry.file = fields[4];
    return ParseNumber(fields[1], entry.memoryClass) && ParseNumber(fields[2], entry.size) &&
           ParseHexDigest(fields[3], entry.checksum);
}

}  // namespace

bool ParseManifest(const std::string& text, std::vector<FlashEntry>& entries, std::string& error) {
    std::istringstream in(text);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        FlashEntry entry;
        if (!ParseLine(line, entry)) {
            error = "manifest line " + std::to_string(number) + " is damaged";
            return false;
        }
        entries.push_back(std::move(entry));
    }
    return true;
}

}  // namespace tandrel::sim
