#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tandrel {

// Everything the station keeps of one phone it took, from its arming to the
// moment its row showed "Success" or "Fail". Times are UTC milliseconds, 0
// for a moment the phone never reached.
struct ResultRecord {
    std::string uuid;
    // The station's own count of its results, gap-free from 1; 0 until the
    // store has written the record.
    std::int64_t sequence = 0;
    std::string station;
    // The Start the phone was armed from.
    std::string runUuid;
    std::string mode;  // "USB" or "COMM"
    int channel = 0;
    int device = 0;
    // Where the system found the phone: its registry path or device instance.
    std::string devicePath;
    bool success = false;
    // After a failure: the channel's state when it failed, the item it was
    // taking (its file spec), the row's text then, and the row's last text
    // before its result (what the operator was told to do).
    std::string failStage;
    std::string failItem;
    std::string failText;
    std::string rowText;
    // Why the phone failed where its row does not say, e.g. "station closed
    // during download".
    std::string reason;
    // The images the phone took in full and each one's SHA-256 (hex; empty
    // where the station cannot vouch for the bytes).
    std::vector<std::string> images;
    std::vector<std::string> sha256;
    std::string libraryVersion;
    std::string stationVersion;
    std::int64_t armedMs = 0;
    std::int64_t itemsDoneMs = 0;
    std::int64_t unpluggedMs = 0;
    std::int64_t resultMs = 0;
    // From arming to the unplug (to the end of the run where there is none),
    // as the journal counts it.
    std::int64_t durationMs = 0;
};

// One image file of a Start.
struct RunImage {
    std::string path;
    std::uint64_t size = 0;
    std::int64_t modified = 0;
    std::uint64_t volume = 0;
    std::uint64_t fileId = 0;
    std::string sha256;
};

// One Start: when, in which mode, with which files.
struct RunRecord {
    std::string uuid;
    std::string station;
    std::int64_t startedMs = 0;
    std::string mode;
    std::vector<std::string> fileSpecs;
    std::vector<RunImage> images;
};

// The record as one JSON object on one line, the form scripts read; the
// fields are documented in tandrel-results(1).
std::string ResultJson(const ResultRecord& record);

// The CSV header line and one record as a CSV line (RFC 4180 quoting; a
// list is its entries joined by spaces).
std::string ResultCsvHeader();
std::string ResultCsv(const ResultRecord& record);

// A random (version 4) UUID in its usual text form.
std::string NewUuid();

}  // namespace tandrel
