#include "support/FakeLibrary.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace tandrel::test {

namespace {

FakeLibrary g_fake;
using U8 = std::uint8_t;

int Answer(const char* entry, int channel, std::string text, std::vector<int> args, char* msg) {
    g_fake.calls.push_back({entry, channel, std::move(text), std::move(args), g_fake.clock ? g_fake.clock->Now() : 0});
    if (g_fake.onCall) g_fake.onCall(g_fake.calls.back());
    if (auto w = g_fake.writes.find(entry); msg && w != g_fake.writes.end()) {
        std::strncpy(msg, w->second.c_str(), IFWD_DL_MESSAGE_SIZE - 1);
    }
    if (g_fake.throws[entry]) throw std::runtime_error("library fault");
    return g_fake.results[entry];
}

int Version(char*, int) { return Answer("version", 0, "", {}, nullptr); }
int Init(IFWD_DL_Callback callback, char* msg) {
    g_fake.callback = callback;
    return Answer("init", 0, "", {}, msg);
}
int Open(U8 ch, const char* port, const char* port2, int baud, char* msg) {
    return Answer("open", ch, std::string(port) + "|" + port2, {baud}, msg);
}
int Close(U8 ch, char* msg) { return Answer("close", ch, "", {}, msg); }
int Boot(U8 ch, const char* file, const U8* block, char* msg) {
    return Answer("boot", ch, file, {std::memcmp(block, "\0\0\0\0\0\0", 6) == 0 ? 0 : 1}, msg);
}
int Signal(U8 ch, int signal, int value, char* msg) { return Answer("signal", ch, "", {signal, value}, msg); }
int Fls(U8 ch, const char* spec, char* msg) { return Answer("fls", ch, spec, {}, msg); }
int Eep(U8 ch, const char* spec, int option, char* msg) { return Answer("eep", ch, spec, {option}, msg); }
int Dffs(U8 ch, const char* spec, int part, char* msg) { return Answer("dffs", ch, spec, {part}, msg); }
int Cust(U8 ch, const char* spec, char* msg) { return Answer("cust", ch, spec, {}, msg); }
int Abort(U8 ch, char* msg) { return Answer("abort", ch, "", {}, msg); }
int ForceReset(U8 ch, int a, int b, int c, int d, char* msg) { return Answer("reset", ch, "", {a, b, c, d}, msg); }
int End(U8 ch, char* msg) { return Answer("end", ch, "", {}, msg); }
int Parameter(int code, int value, char* msg) { return Answer("parameter", 0, "", {code, value}, msg); }

const FakeFile* Find(const char* file) {
    const auto it = g_fake.files.find(file);
    return it == g_fake.files.end() ? nullptr : &it->second;
}

const FakeItem* ItemOf(const char* file, int index) {
    const FakeFile* f = Find(file);
    if (!f || index < 0 || index >= static_cast<int>(f->items.size())) return nullptr;
    return &f->items[static_cast<std::size_t>(index)];
}

int CountItems(char* file, std::uint32_t* count) {
    g_fake.countQueries.emplace_back(file);
    if (const FakeFile* f = Find(file)) *count = static_cast<std::uint32_t>(f->items.size());
    return 0;
}

// A name that fills the whole buffer is left without a terminator.
int ItemName(char* file, int index, char* name) {
    const FakeItem* item = ItemOf(file, index);
    if (!item) return 1;
    const std::size_t n = std::min<std::size_t>(item->name.size(), IFWD_DL_NAME_SIZE);
    std::memcpy(name, item->name.data(), n);
    if (n < IFWD_DL_NAME_SIZE) name[n] = '\0';
    return 0;
}

// Scribbles over the path it was handed afterwards, as the library may:
// only a working copy must ever reach it.
int ItemClass(char* file, int index, int* memoryClass) {
    if (const FakeItem* item = ItemOf(file, index)) *memoryClass = static_cast<int>(item->memoryClass);
    std::memset(file, 'X', std::strlen(file));
    return 0;
}

}  // namespace

FakeLibrary& FakeLibrary::Reset(const WindowLoop* clock) {
    g_fake = FakeLibrary{};
    g_fake.clock = clock;
    return g_fake;
}

LibraryTable FakeLibrary::Table() {
    LibraryTable t;
    t.get_dll_version = Version;
    t.init_callback = Init;
    t.open_comm_port = Open;
    t.close_comm_port = Close;
    t.boot_target = Boot;
    t.set_get_control_signal = Signal;
    t.download_fls_file = Fls;
    t.download_eep_file = Eep;
    t.abort_process = Abort;
    t.force_target_reset = ForceReset;
    t.end_of_process = End;
    t.set_dll_parameter = Parameter;
    t.TOC_get_memory_class = ItemClass;
    t.download_dffs_file = Dffs;
    t.download_cust_file = Cust;
    t.TOC_get_nof_items = CountItems;
    t.TOC_get_filename = ItemName;
    return t;
}

std::vector<std::string> FakeLibrary::Entries() const {
    std::vector<std::string> out;
    for (const auto& c : calls) out.push_back(c.entry);
    return out;
}

}  // namespace tandrel::test
