#include "FakeLibrary.h"

#include <cstring>
#include <stdexcept>

namespace tandrel::test {

namespace {

FakeLibrary g_fake;

int Answer(const std::string& entry, std::uint8_t channel, const char* text, std::vector<int> args, char* msg) {
    g_fake.calls.push_back({entry, channel, text ? text : "", std::move(args), g_fake.clock ? g_fake.clock->Now() : 0});
    if (auto w = g_fake.writes.find(entry); w != g_fake.writes.end() && msg) {
        std::strncpy(msg, w->second.c_str(), IFWD_DL_MESSAGE_SIZE - 1);
    }
    if (g_fake.throws[entry]) throw std::runtime_error("library fault");
    return g_fake.results[entry];
}

int Open(std::uint8_t ch, const char* port, const char* port2, int baud, char* msg) {
    const std::string text = std::string(port) + "|" + port2;
    return Answer("open", ch, text.c_str(), {baud}, msg);
}
int Close(std::uint8_t ch, char* msg) { return Answer("close", ch, nullptr, {}, msg); }
int Boot(std::uint8_t ch, const char* file, const std::uint8_t* block, char* msg) {
    const bool zeros = block && std::memcmp(block, "\0\0\0\0\0\0", 6) == 0;
    return Answer("boot", ch, file, {zeros ? 0 : 1}, msg);
}
int Fls(std::uint8_t ch, const char* spec, char* msg) { return Answer("fls", ch, spec, {}, msg); }
int Eep(std::uint8_t ch, const char* spec, int option, char* msg) { return Answer("eep", ch, spec, {option}, msg); }
int Dffs(std::uint8_t ch, const char* spec, int part, char* msg) { return Answer("dffs", ch, spec, {part}, msg); }
int Cust(std::uint8_t ch, const char* spec, char* msg) { return Answer("cust", ch, spec, {}, msg); }
int Abort(std::uint8_t ch, char* msg) { return Answer("abort", ch, nullptr, {}, msg); }
int ForceReset(std::uint8_t ch, int a, int b, int c, int d, char* msg) { return Answer("reset", ch, nullptr, {a, b, c, d}, msg); }

}  // namespace

FakeLibrary& FakeLibrary::Reset(const WindowLoop* clock) {
    g_fake = FakeLibrary{};
    g_fake.clock = clock;
    return g_fake;
}

LibraryTable FakeLibrary::Table() {
    LibraryTable t;
    t.open_comm_port = Open;
    t.close_comm_port = Close;
    t.boot_target = Boot;
    t.download_fls_file = Fls;
    t.download_eep_file = Eep;
    t.download_dffs_file = Dffs;
    t.download_cust_file = Cust;
    t.abort_process = Abort;
    t.force_target_reset = ForceReset;
    return t;
}

std::vector<std::string> FakeLibrary::Entries() const {
    std::vector<std::string> out;
    for (const auto& c : calls) out.push_back(c.entry);
    return out;
}

}  // namespace tandrel::test
