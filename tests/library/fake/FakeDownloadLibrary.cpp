// A download library that records every call it gets, one line each, and
// answers each call by leaving a text in msg. Built twice: complete, and with
// FAKE_PARTIAL, lacking some entry points the station calls and one it never
// calls.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "library/DownloadLibrary.h"

namespace {

std::string g_calls;
IFWD_DL_Callback g_callback = nullptr;

void Record(char* msg, const char* format, ...) __attribute__((format(printf, 2, 3)));

void Record(char* msg, const char* format, ...) {
    char line[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    g_calls += line;
    g_calls += '\n';
    if (msg) std::snprintf(msg, IFWD_DL_MESSAGE_SIZE, "%s", line);
}

}  // namespace

extern "C" {

// The test's side: what was called, and the callback registered.
__attribute__((visibility("default"))) const char* FakeCalls() { return g_calls.c_str(); }
__attribute__((visibility("default"))) void FakeForget() {
    g_calls.clear();
    g_callback = nullptr;
}
__attribute__((visibility("default"))) IFWD_DL_Callback FakeCallback() { return g_callback; }

int _IFWD_DL_get_dll_version(char* version, int size) {
    if (version && size > 0) std::snprintf(version, static_cast<std::size_t>(size), "fake 1.0");
    Record(nullptr, "get_dll_version");
    return 0;
}

#ifndef FAKE_PARTIAL
int _IFWD_DL_init_callback(IFWD_DL_Callback callback, char* msg) {
    g_callback = callback;
    Record(msg, "init_callback");
    return 0;
}
#endif

int _IFWD_DL_open_comm_port(uint8_t channel, const char* port, const char* port2, int baudRate, char* msg) {
    Record(msg, "open_comm_port %u %s %s %d", channel, port, port2, baudRate);
    return 0;
}

int _IFWD_DL_close_comm_port(uint8_t channel, char* msg) {
    Record(msg, "close_comm_port %u", channel);
    return 0;
}

#ifndef FAKE_PARTIAL
int _IFWD_DL_boot_target(uint8_t channel, const char* file, const uint8_t*, char* msg) {
    Record(msg, "boot_target %u %s", channel, file);
    return 0;
}
#endif

int _IFWD_DL_set_get_control_signal(uint8_t channel, int signal, int value, char* msg) {
    Record(msg, "set_get_control_signal %u %d %d", channel, signal, value);
    return 0;
}

int _IFWD_DL_download_fls_file(uint8_t channel, const char* fileSpec, char* msg) {
    Record(msg, "download_fls_file %u %s", channel, fileSpec);
    return 0;
}

int _IFWD_DL_download_eep_file(uint8_t channel, const char* fileSpec, int option, char* msg) {
    Record(msg, "download_eep_file %u %s %d", channel, fileSpec, option);
    return 0;
}

int _IFWD_DL_abort_process(uint8_t channel, char* msg) {
    Record(msg, "abort_process %u", channel);
    return 0;
}

int _IFWD_DL_force_target_reset(uint8_t channel, int mode, int p1, int p2, int p3, char* msg) {
    Record(msg, "force_target_reset %u %d %d %d %d", channel, mode, p1, p2, p3);
    return 0;
}

#ifndef FAKE_PARTIAL
int _IFWD_DL_end_of_process(uint8_t channel, char* msg) {
    Record(msg, "end_of_process %u", channel);
    return 0;
}
#endif

int _IFWD_DL_set_dll_parameter(int code, int value, char* msg) {
    Record(msg, "set_dll_parameter %d %d", code, value);
    return 0;
}

int _IFWD_DL_TOC_get_memory_class(char* file, int index, int* memoryClass) {
    if (memoryClass) *memoryClass = 0;
    Record(nullptr, "TOC_get_memory_class %s %d", file, index);
    return 0;
}

int _IFWD_DL_download_dffs_file(uint8_t channel, const char* fileSpec, int partition, char* msg) {
    Record(msg, "download_dffs_file %u %s %d", channel, fileSpec, partition);
    return 0;
}

int _IFWD_DL_download_cust_file(uint8_t channel, const char* fileSpec, char* msg) {
    Record(msg, "download_cust_file %u %s", channel, fileSpec);
    return 0;
}

int _IFWD_DL_TOC_get_nof_items(char* file, uint32_t* count) {
    if (count) *count = 1;
    Record(nullptr, "TOC_get_nof_items %s", file);
    return 0;
}

#ifndef FAKE_PARTIAL
int _IFWD_DL_TOC_get_filename(char* file, int index, char* name) {
    Record(name, "TOC_get_filename %s %d", file, index);
    return 0;
}
#endif

}  // extern "C"
