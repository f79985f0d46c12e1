#include "results/ResultRecord.h"

#include <array>
#include <cstdio>
#include <random>

#include "ui/Journal.h"

namespace tandrel {

namespace {

std::string JsonList(const std::vector<std::string>& texts, bool emptyIsNull) {
    std::string list = "[";
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i) list += ',';
        list += emptyIsNull && texts[i].empty() ? "null" : Journal::Quote(texts[i]);
    }
    return list + ']';
}

std::string JsonText(const std::string& text) { return text.empty() ? "null" : Journal::Quote(text); }

std::string JsonTime(std::int64_t ms) { return ms ? std::to_string(ms) : "null"; }

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + '"';
}

std::string Joined(const std::vector<std::string>& texts) {
    std::string joined;
    for (const std::string& text : texts) joined += (joined.empty() ? "" : " ") + text;
    return joined;
}

std::string CsvTime(std::int64_t ms) { return ms ? std::to_string(ms) : ""; }

}  // namespace

std::string ResultJson(const ResultRecord& r) {
    return "{\"uuid\":" + Journal::Quote(r.uuid) + ",\"sequence\":" + std::to_string(r.sequence) +
           ",\"station\":" + Journal::Quote(r.station) + ",\"run\":" + JsonText(r.runUuid) +
           ",\"mode\":" + Journal::Quote(r.mode) + ",\"ch\":" + std::to_string(r.channel) +
           ",\"device\":" + std::to_string(r.device) + ",\"device_path\":" + JsonText(r.devicePath) +
           ",\"result\":" + (r.success ? "\"Success\"" : "\"Fail\"") + ",\"fail_stage\":" + JsonText(r.failStage) +
           ",\"fail_item\":" + JsonText(r.failItem) + ",\"fail_text\":" + JsonText(r.failText) +
           ",\"row_text\":" + JsonText(r.rowText) + ",\"images\":" + JsonList(r.images, false) +
           ",\"sha256\":" + JsonList(r.sha256, true) + ",\"library_version\":" + JsonText(r.libraryVersion) +
           ",\"station_version\":" + Journal::Quote(r.stationVersion) + ",\"armed_ms\":" + JsonTime(r.armedMs) +
           ",\"items_done_ms\":" + JsonTime(r.itemsDoneMs) + ",\"unplugged_ms\":" + JsonTime(r.unpluggedMs) +
           ",\"result_ms\":" + JsonTime(r.resultMs) + ",\"ms\":" + std::to_string(r.durationMs) +
           ",\"reason\":" + JsonText(r.reason) + "}";
}

std::string ResultCsvHeader() {
    return "sequence,uuid,station,run,mode,ch,device,device_path,result,fail_stage,fail_item,fail_text,row_text,"
           "images,sha256,library_version,station_version,armed_ms,items_done_ms,unplugged_ms,result_ms,ms,reason";
}

std::string ResultCsv(const ResultRecord& r) {
    std::string sha;
    for (const std::string& hash : r.sha256) sha += (sha.empty() ? "" : " ") + (hash.empty() ? "-" : hash);
    const std::array<std::string, 23> fields = {
        std::to_string(r.sequence), r.uuid, r.station, r.runUuid, r.mode, std::to_string(r.channel),
        std::to_string(r.device), r.devicePath, r.success ? "Success" : "Fail", r.failStage, r.failItem,
        r.failText, r.rowText, Joined(r.images), sha, r.libraryVersion, r.stationVersion, CsvTime(r.armedMs),
        CsvTime(r.itemsDoneMs), CsvTime(r.unpluggedMs), CsvTime(r.resultMs), std::to_string(r.durationMs),
        r.reason};
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) line += (i ? "," : "") + CsvField(fields[i]);
    return line;
}

std::string NewUuid() {
    // Seeded with 128 bits: stations on one line must never draw the same.
    static thread_local std::mt19937_64 random = [] {
        std::random_device device;
        std::seed_seq seed{device(), device(), device(), device()};
        return std::mt19937_64(seed);
    }();
    const std::uint64_t high = random(), low = random();
    std::array<unsigned char, 16> b = {};
    for (int i = 0; i < 8; ++i) {
        b[static_cast<std::size_t>(i)] = static_cast<unsigned char>(high >> (56 - 8 * i));
        b[static_cast<std::size_t>(8 + i)] = static_cast<unsigned char>(low >> (56 - 8 * i));
    }
    b[6] = static_cast<unsigned char>((b[6] & 0x0F) | 0x40);
    b[8] = static_cast<unsigned char>((b[8] & 0x3F) | 0x80);
    char text[37];
    std::snprintf(text, sizeof text, "%02x%02x%02x%02x-%02x%02x-%02x%02x-%02x%02x-%02x%02x%02x%02x%02x%02x", b[0],
                  b[1], b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]);
    return text;
}

}  // namespace tandrel
