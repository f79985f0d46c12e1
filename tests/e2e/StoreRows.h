#pragma once

#include <string>
#include <vector>

#include "JournalRecords.h"
#include "Programs.h"

namespace tandrel::e2e {

// tandrel-results with its arguments, run to its end.
ProgramResult ResultsTool(const std::vector<std::string>& args);

// The rows of `tandrel-results --results store list --json`, in sequence
// order, each read as a flat record the way journal lines are (null stays
// "null"); none when the store cannot be read.
std::vector<JournalRecord> StoreRows(const std::string& store);

// The SHA-256 of a file's bytes, in hex.
std::string FileSha256(const std::string& path);

}  // namespace tandrel::e2e
