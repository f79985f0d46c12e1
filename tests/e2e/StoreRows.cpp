#include "StoreRows.h"

#include "platform/Sha256.h"

namespace tandrel::e2e {

ProgramResult ResultsTool(const std::vector<std::string>& args) {
    std::vector<std::string> argv = {TANDREL_RESULTS_TOOL};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunProgram(argv);
}

std::vector<JournalRecord> StoreRows(const std::string& store) {
    const ProgramResult listed = ResultsTool({"--results", store, "list", "--json"});
    if (listed.status != 0) return {};
    return ParseJournal(listed.output);
}

std::string FileSha256(const std::string& path) {
    const std::string bytes = ReadWholeFile(path);
    return HexOf(Sha256Of(bytes.data(), bytes.size()));
}

}  // namespace tandrel::e2e
