#pragma once

#include <cstddef>
#include <cstring>

#include <string>

#include "library/DownloadLibrary.h"
#include "library/LibraryText.h"

namespace tandrel {

// The library's entry points, one slot each, null until resolved.
struct LibraryTable {
    IFWD_DL_get_dll_version_fn get_dll_version = nullptr;
    IFWD_DL_init_callback_fn init_callback = nullptr;
    IFWD_DL_open_comm_port_fn open_comm_port = nullptr;
    IFWD_DL_close_comm_port_fn close_comm_port = nullptr;
    IFWD_DL_boot_target_fn boot_target = nullptr;
    IFWD_DL_set_get_control_signal_fn set_get_control_signal = nullptr;
    IFWD_DL_download_fls_file_fn download_fls_file = nullptr;
    IFWD_DL_download_eep_file_fn download_eep_file = nullptr;
    IFWD_DL_abort_process_fn abort_process = nullptr;
    IFWD_DL_force_target_reset_fn force_target_reset = nullptr;
    IFWD_DL_end_of_process_fn end_of_process = nullptr;
    IFWD_DL_set_dll_parameter_fn set_dll_parameter = nullptr;
    IFWD_DL_TOC_get_memory_class_fn TOC_get_memory_class = nullptr;
    IFWD_DL_download_dffs_file_fn download_dffs_file = nullptr;
    IFWD_DL_download_cust_file_fn download_cust_file = nullptr;
    IFWD_DL_TOC_get_nof_items_fn TOC_get_nof_items = nullptr;
    IFWD_DL_TOC_get_filename_fn TOC_get_filename = nullptr;
};

// The one message buffer every library call shares.
struct LibraryMessage {
    char text[IFWD_DL_MESSAGE_SIZE] = {};

    void Clear() { text[0] = '\0'; }
    bool Empty() const { return text[0] == '\0'; }
    // Bounded copy in; longer texts are cut at the buffer's end.
    void Set(const char* s) {
        std::size_t n = std::strlen(s);
        if (n >= sizeof text) n = sizeof text - 1;
        std::memcpy(text, s, n);
        text[n] = '\0';
    }
    // The library may have left the buffer without a terminator.
    const char* Text() {
        text[sizeof text - 1] = '\0';
        return text;
    }
    // The text as the station shows it.
    std::string Shown() { return FromLibraryText(Text()); }
};

}  // namespace tandrel
