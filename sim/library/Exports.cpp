// The library's C entry points. They forward to the Simulator and copy its
// texts into the caller's fixed buffers, never past their ends. Port faults
// set on the bench throw real C++ exceptions out of open and close, as a
// crashing driver would: these functions are deliberately not noexcept.
#include <cstdio>
#include <cstring>
#include <string>

#include "Simulator.h"
#include "common/File.h"
#include "library/DownloadLibrary.h"

using tandrel::sim::Simulator;

namespace {

void CopyText(char* buffer, std::size_t size, const std::string& text) {
    if (buffer == nullptr || size == 0) return;
    std::snprintf(buffer, size, "%s", text.c_str());
}

void SetMessage(char* msg, const std::string& why) {
    if (!why.empty()) CopyText(msg, IFWD_DL_MESSAGE_SIZE, why);
}

std::optional<tandrel::sim::ImageToc> TocOf(const char* path) {
    if (path == nullptr) return std::nullopt;
    std::string error;
    tandrel::sim::File file = tandrel::sim::File::OpenRead(path, error);
    if (!file.IsOpen()) return std::nullopt;
    tandrel::sim::FileSource source(file);
    return tandrel::sim::ParseImage(source, error);
}

const tandrel::sim::ImageItem* ItemOf(const std::optional<tandrel::sim::ImageToc>& toc, int index) {
    if (!toc || index < 0 || static_cast<std::size_t>(index) >= toc->items.size()) return nullptr;
    return &toc->items[static_cast<std::size_t>(index)];
}

template <typename Step>
int Run(char* msg, Step step) {
    std::string why;
    int result = step(why);
    SetMessage(msg, why);
    return result;
}

}  // namespace

// Everything else in the library is hidden; these are its whole interface.
#pragma GCC visibility push(default)
extern "C" {

int IFWD_DL_CALL _IFWD_DL_get_dll_version(char* version, int size) {
    if (size > 0) CopyText(version, static_cast<std::size_t>(size), "tandrel target simulator 1.0");
    return 0;
}

int IFWD_DL_CALL _IFWD_DL_init_callback(IFWD_DL_Callback callback, char* msg) {
    (void)msg;
    Simulator::Instance().SetCallback(callback);
    return 0;
}

// Link parameters tune a real serial or USB link; the virtual bench has none.
int IFWD_DL_CALL _IFWD_DL_set_dll_parameter(int code, int value, char* msg) {
    (void)code, (void)value, (void)msg;
    return 0;
}

// Virtual phones have no modem control lines to set or read.
int IFWD_DL_CALL _IFWD_DL_set_get_control_signal(uint8_t channel, int signal, int value, char* msg) {
    (void)channel, (void)signal, (void)value, (void)msg;
    return 0;
}

int IFWD_DL_CALL _IFWD_DL_open_comm_port(uint8_t channel, const char* port, const char* port2, int baudRate,
                                         char* msg) {
    (void)port2, (void)baudRate;
    return Run(msg, [&](std::string& why) { return Simulator::Instance().Open(channel, port, why); });
}

int IFWD_DL_CALL _IFWD_DL_close_comm_port(uint8_t channel, char* msg) {
    return Run(msg, [&](std::string& why) { return Simulator::Instance().Close(channel, why); });
}

int IFWD_DL_CALL _IFWD_DL_boot_target(uint8_t channel, const char* file, const uint8_t* bootBlock, char* msg) {
    (void)bootBlock;
    return Run(msg, [&](std::string& why) { return Simulator::Instance().Boot(channel, file, why); });
}

int IFWD_DL_CALL _IFWD_DL_download_fls_file(uint8_t channel, const char* fileSpec, char* msg) {
    return Run(msg, [&](std::string& why) { return Simulator::Instance().Download(channel, fileSpec, why); });
}

int IFWD_DL_CALL _IFWD_DL_download_eep_file(uint8_t channel, const char* fileSpec, int option, char* msg) {
    (void)option;
    return Run(msg, [&](std::string& why) { return Simulator::Instance().Download(channel, fileSpec, why); });
}

int IFWD_DL_CALL _IFWD_DL_download_dffs_file(uint8_t channel, const char* fileSpec, int partition, char* msg) {
    (void)partition;
    return Run(msg, [&](std::string& why) { return Simulator::Instance().Download(channel, fileSpec, why); });
}

int IFWD_DL_CALL _IFWD_DL_download_cust_file(uint8_t channel, const char* fileSpec, char* msg) {
    return Run(msg, [&](std::string& why) { return Simulator::Instance().Download(channel, fileSpec, why); });
}

int IFWD_DL_CALL _IFWD_DL_force_target_reset(uint8_t channel, int mode, int p1, int p2, int p3, char* msg) {
    (void)mode, (void)p1, (void)p2, (void)p3;
    return Run(msg, [&](std::string& why) { return Simulator::Instance().Reset(channel, why); });
}

int IFWD_DL_CALL _IFWD_DL_abort_process(uint8_t channel, char* msg) {
    return Run(msg, [&](std::string& why) { return Simulator::Instance().Abort(channel, why); });
}

// Ending a channel's process stops whatever it is doing, as an abort does.
int IFWD_DL_CALL _IFWD_DL_end_of_process(uint8_t channel, char* msg) {
    return Run(msg, [&](std::string& why) { return Simulator::Instance().Abort(channel, why); });
}

int IFWD_DL_CALL _IFWD_DL_TOC_get_nof_items(char* file, uint32_t* count) {
    std::optional<tandrel::sim::ImageToc> toc = TocOf(file);
    if (count != nullptr) *count = toc ? static_cast<uint32_t>(toc->items.size()) : 0;
    return toc ? 0 : 1;
}

int IFWD_DL_CALL _IFWD_DL_TOC_get_filename(char* file, int index, char* name) {
    std::optional<tandrel::sim::ImageToc> toc = TocOf(file);
    const tandrel::sim::ImageItem* item = ItemOf(toc, index);
    CopyText(name, IFWD_DL_NAME_SIZE, item ? item->name : "");
    return item ? 0 : 1;
}

int IFWD_DL_CALL _IFWD_DL_TOC_get_memory_class(char* file, int index, int* memoryClass) {
    std::optional<tandrel::sim::ImageToc> toc = TocOf(file);
    const tandrel::sim::ImageItem* item = ItemOf(toc, index);
    if (memoryClass != nullptr) *memoryClass = item ? item->memoryClass : 0;
    return item ? 0 : 1;
}

}  // extern "C"
#pragma GCC visibility pop
