// The one fake download library (support/FakeLibrary) as a shared object of
// its own, for the tests of loading and binding: each entry point of the
// contract hands its call to the fake's table. Built twice: complete, and
// with FAKE_PARTIAL, lacking some entry points the station calls and one it
// never calls.
#include "library/DownloadLibrary.h"
#include "support/FakeLibrary.h"

#ifdef _WIN32
#define FAKE_EXPORT extern "C" __declspec(dllexport)
#else
#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

const tandrel::LibraryTable& Fake() {
    static const tandrel::LibraryTable table = tandrel::test::FakeLibrary::Table();
    return table;
}

}  // namespace

// The test's side: a fresh script for the fake inside this library.
FAKE_EXPORT tandrel::test::FakeLibrary* FakeLibraryReset() { return &tandrel::test::FakeLibrary::Reset(nullptr); }

FAKE_EXPORT int _IFWD_DL_get_dll_version(char* version, int size) { return Fake().get_dll_version(version, size); }
#ifndef FAKE_PARTIAL
FAKE_EXPORT int _IFWD_DL_init_callback(IFWD_DL_Callback callback, char* msg) {
    return Fake().init_callback(callback, msg);
}
#endif
FAKE_EXPORT int _IFWD_DL_open_comm_port(uint8_t channel, const char* port, const char* port2, int baudRate, char* msg) {
    return Fake().open_comm_port(channel, port, port2, baudRate, msg);
}
FAKE_EXPORT int _IFWD_DL_close_comm_port(uint8_t channel, char* msg) { return Fake().close_comm_port(channel, msg); }
#ifndef FAKE_PARTIAL
FAKE_EXPORT int _IFWD_DL_boot_target(uint8_t channel, const char* file, const uint8_t* bootBlock, char* msg) {
    return Fake().boot_target(channel, file, bootBlock, msg);
}
#endif
FAKE_EXPORT int _IFWD_DL_set_get_control_signal(uint8_t channel, int signal, int value, char* msg) {
    return Fake().set_get_control_signal(channel, signal, value, msg);
}
FAKE_EXPORT int _IFWD_DL_download_fls_file(uint8_t channel, const char* fileSpec, char* msg) {
    return Fake().download_fls_file(channel, fileSpec, msg);
}
FAKE_EXPORT int _IFWD_DL_download_eep_file(uint8_t channel, const char* fileSpec, int option, char* msg) {
    return Fake().download_eep_file(channel, fileSpec, option, msg);
}
FAKE_EXPORT int _IFWD_DL_abort_process(uint8_t channel, char* msg) { return Fake().abort_process(channel, msg); }
FAKE_EXPORT int _IFWD_DL_force_target_reset(uint8_t channel, int mode, int p1, int p2, int p3, char* msg) {
    return Fake().force_target_reset(channel, mode, p1, p2, p3, msg);
}
#ifndef FAKE_PARTIAL
FAKE_EXPORT int _IFWD_DL_end_of_process(uint8_t channel, char* msg) { return Fake().end_of_process(channel, msg); }
#endif
FAKE_EXPORT int _IFWD_DL_set_dll_parameter(int code, int value, char* msg) {
    return Fake().set_dll_parameter(code, value, msg);
}
FAKE_EXPORT int _IFWD_DL_TOC_get_memory_class(char* file, int index, int* memoryClass) {
    return Fake().TOC_get_memory_class(file, index, memoryClass);
}
FAKE_EXPORT int _IFWD_DL_download_dffs_file(uint8_t channel, const char* fileSpec, int partition, char* msg) {
    return Fake().download_dffs_file(channel, fileSpec, partition, msg);
}
FAKE_EXPORT int _IFWD_DL_download_cust_file(uint8_t channel, const char* fileSpec, char* msg) {
    return Fake().download_cust_file(channel, fileSpec, msg);
}
FAKE_EXPORT int _IFWD_DL_TOC_get_nof_items(char* file, uint32_t* count) {
    return Fake().TOC_get_nof_items(file, count);
}
#ifndef FAKE_PARTIAL
FAKE_EXPORT int _IFWD_DL_TOC_get_filename(char* file, int index, char* name) {
    return Fake().TOC_get_filename(file, index, name);
}
#endif
