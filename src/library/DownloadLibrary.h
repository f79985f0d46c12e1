/*
 * The download library's C entry points: the one contract shared by the
 * station, which loads the library at run time, and by the target simulator,
 * which implements it.
 *
 * Channels are 1..8 as unsigned 8-bit values. Every msg argument is a buffer
 * of IFWD_DL_MESSAGE_SIZE bytes that the library may fill with a
 * NUL-terminated text. Texts handed in are NUL-terminated 8-bit strings.
 *
 * Results relied on: boot and the four download calls fail when they return 1;
 * open and close succeed when they return 0. Outcomes of boot, downloads and
 * reset arrive later through the callback: status 0 = the step ended well,
 * 1 = it failed (the text says why), 2 = progress (the text is a decimal
 * percentage 0..100).
 */
#ifndef TANDREL_DOWNLOAD_LIBRARY_H
#define TANDREL_DOWNLOAD_LIBRARY_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/*
 * The calling convention of every entry point and of the callback. They are
 * resolved by their plain names, so they are C functions; on 32-bit Windows
 * that makes them cdecl. A vendor header that says otherwise is matched by
 * changing this one line.
 */
#if defined(_WIN32)
#define IFWD_DL_CALL __cdecl
#else
#define IFWD_DL_CALL
#endif

#define IFWD_DL_MESSAGE_SIZE 500
#define IFWD_DL_NAME_SIZE 500

#define IFWD_DL_STATUS_OK 0
#define IFWD_DL_STATUS_FAILED 1
#define IFWD_DL_STATUS_PROGRESS 2

typedef void (IFWD_DL_CALL *IFWD_DL_Callback)(int channel, int status, const char* text);

typedef int (IFWD_DL_CALL *IFWD_DL_get_dll_version_fn)(char* version, int size);
typedef int (IFWD_DL_CALL *IFWD_DL_init_callback_fn)(IFWD_DL_Callback callback, char* msg);
typedef int (IFWD_DL_CALL *IFWD_DL_open_comm_port_fn)(uint8_t channel, const char* port, const char* port2,
                                                      int baudRate, char* msg);
typedef int (IFWD_DL_CALL *IFWD_DL_close_comm_port_fn)(uint8_t channel, char* msg);
typedef int (IFWD_DL_CALL *IFWD_DL_boot_target_fn)(uint8_t channel, const char* file, const uint8_t* bootBlock,
                                                   char* msg);
typedef int (IFWD_DL_CALL *IFWD_DL_set_get_control_signal_fn)(uint8_t channel, int signal, int value, char* msg);
typedef int (IFWD_DL_CALL *IFWD_DL_download_fls_file_fn)(uint8_t channel, const char* fileSpec, char* msg);
typedef int (IFWD_DL_CALL *IFWD_DL_download_eep_file_fn)(uint8_t channel, const char* fileSpec, int option, char* msg);
typedef int (IFWD_DL_CALL *IFWD_DL_abort_process_fn)(uint8_t channel, char* msg);
typedef int (IFWD_DL_CALL *IFWD_DL_force_target_reset_fn)(uint8_t channel, int mode, int p1, int p2, int p3,
                                                          char* msg);
typedef int (IFWD_DL_CALL *IFWD_DL_end_of_process_fn)(uint8_t channel, char* msg);
typedef int (IFWD_DL_CALL *IFWD_DL_set_dll_parameter_fn)(int code, int value, char* msg);
typedef int (IFWD_DL_CALL *IFWD_DL_TOC_get_memory_class_fn)(char* file, int index, int* memoryClass);
typedef int (IFWD_DL_CALL *IFWD_DL_download_dffs_file_fn)(uint8_t channel, const char* fileSpec, int partition,
                                                          char* msg);
typedef int (IFWD_DL_CALL *IFWD_DL_download_cust_file_fn)(uint8_t channel, const char* fileSpec, char* msg);
typedef int (IFWD_DL_CALL *IFWD_DL_TOC_get_nof_items_fn)(char* file, uint32_t* count);
typedef int (IFWD_DL_CALL *IFWD_DL_TOC_get_filename_fn)(char* file, int index, char* name);

int IFWD_DL_CALL _IFWD_DL_get_dll_version(char* version, int size);
int IFWD_DL_CALL _IFWD_DL_init_callback(IFWD_DL_Callback callback, char* msg);
int IFWD_DL_CALL _IFWD_DL_open_comm_port(uint8_t channel, const char* port, const char* port2, int baudRate,
                                         char* msg);
int IFWD_DL_CALL _IFWD_DL_close_comm_port(uint8_t channel, char* msg);
int IFWD_DL_CALL _IFWD_DL_boot_target(uint8_t channel, const char* file, const uint8_t* bootBlock, char* msg);
int IFWD_DL_CALL _IFWD_DL_set_get_control_signal(uint8_t channel, int signal, int value, char* msg);
int IFWD_DL_CALL _IFWD_DL_download_fls_file(uint8_t channel, const char* fileSpec, char* msg);
int IFWD_DL_CALL _IFWD_DL_download_eep_file(uint8_t channel, const char* fileSpec, int option, char* msg);
int IFWD_DL_CALL _IFWD_DL_abort_process(uint8_t channel, char* msg);
int IFWD_DL_CALL _IFWD_DL_force_target_reset(uint8_t channel, int mode, int p1, int p2, int p3, char* msg);
int IFWD_DL_CALL _IFWD_DL_end_of_process(uint8_t channel, char* msg);
int IFWD_DL_CALL _IFWD_DL_set_dll_parameter(int code, int value, char* msg);
int IFWD_DL_CALL _IFWD_DL_TOC_get_memory_class(char* file, int index, int* memoryClass);
int IFWD_DL_CALL _IFWD_DL_download_dffs_file(uint8_t channel, const char* fileSpec, int partition, char* msg);
int IFWD_DL_CALL _IFWD_DL_download_cust_file(uint8_t channel, const char* fileSpec, char* msg);
int IFWD_DL_CALL _IFWD_DL_TOC_get_nof_items(char* file, uint32_t* count);
int IFWD_DL_CALL _IFWD_DL_TOC_get_filename(char* file, int index, char* name);

#ifdef __cplusplus
}
#endif

#endif
