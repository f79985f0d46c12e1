#include "FakeLibrary.h"

#include <cstring>
#include <stdexcept>

namespace tandrel::test {

namespace {

FakeLibrary g_fake;
using U8 = std::uint8_t;

int Answer(const char* entry, U8 channel, std::string text, std::vector<int> args, char* msg) {
    g_fake.calls.push_back({entry, channel, std::move(text), std::move(args), g_fake.clock ? g_fake.clock->Now() : 0});
    if (g_fake.onCall) g_fake.onCall(g_fake.calls.back());
    if (auto w = g_fake.writes.find(entry); w != g_fake.writes.end()) {
        std::strncpy(msg, w->second.c_str(), IFWD_DL_MESSAGE_SIZE - 1);
    }
    if (g_fake.throws[entry]) throw std::runtime_error("library fault");
    return g_fake.results[entry];
}

int Open(U8 ch, const char* port, const char* port2, int baud, char* msg) {
    return Answer("open", ch, std::string(port) + "|" + port2, {baud}, msg);
}
int Close(U8 ch, char* msg) { return Answer("close", ch, "", {}, msg); }
int Boot(U8 ch, const char* file, const U8* block, char* msg) {
    return Answer("boot", ch, file, {std::memcmp(block, "\0\0\0\0\0\0", 6) == 0 ? 0 : 1}, msg);
}
int Fls(U8 ch, const char* spec, char* msg) { return Answer("fls", ch, spec, {}, msg); }
int Eep(U8 ch, const char* spec, int option, char* msg) { return Answer("eep", ch, spec, {option}, msg); }
int Dffs(U8 ch, const char* spec, int part, char* msg) { return Answer("dffs", ch, spec, {part}, msg); }
int Cust(U8 ch, const char* spec, char* msg) { return Answer("cust", ch, spec, {}, msg); }
int Abort(U8 ch, char* msg) { return Answer("abort", ch, "", {}, msg); }
int ForceReset(U8 ch, int a, int b, int c, int d, char* msg) { return Answer("reset", ch, "", {a, b, c, d}, msg); }

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
