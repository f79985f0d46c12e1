#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "SimTestSupport.h"
#include "common/Bench.h"
#include "library/DownloadLibrary.h"

namespace tandrel::sim::test {

// The built library, loaded by its file name once per test program and
// reached only through its exported C entry points.
struct Entry {
    IFWD_DL_init_callback_fn init_callback;
    IFWD_DL_open_comm_port_fn open_comm_port;
    IFWD_DL_close_comm_port_fn close_comm_port;
    IFWD_DL_boot_target_fn boot_target;
    IFWD_DL_download_fls_file_fn download_fls_file;
    IFWD_DL_download_eep_file_fn download_eep_file;
    IFWD_DL_download_dffs_file_fn download_dffs_file;
    IFWD_DL_download_cust_file_fn download_cust_file;
    IFWD_DL_force_target_reset_fn force_target_reset;
    IFWD_DL_abort_process_fn abort_process;
    IFWD_DL_TOC_get_nof_items_fn TOC_get_nof_items;
    IFWD_DL_TOC_get_filename_fn TOC_get_filename;
    IFWD_DL_TOC_get_memory_class_fn TOC_get_memory_class;
};
const Entry& Library();

struct Event {
    int channel;
    int status;
    std::string text;
};

// Collects what the library reports, from whichever thread it reports on.
class Reports {
public:
    static void Callback(int channel, int status, const char* text);
    static Reports& Instance();

    // The next step outcome (status 0 or 1) of channel not yet taken.
    std::optional<Event> NextOutcome(int channel, std::chrono::seconds limit = std::chrono::seconds(60));
    // Waits until channel has reported progress of at least percent.
    bool WaitProgress(int channel, int percent, std::chrono::seconds limit = std::chrono::seconds(60));
    std::vector<Event> Of(int channel);
    void Clear();

private:
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<Event> events;
    std::vector<std::size_t> taken = std::vector<std::size_t>(9, 0);
};

// A fresh bench of phones, named to the library through TANDREL_BENCH, and
// channels that the test leaves closed whatever happened.
class LibraryTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void MakeBench(int phones, bool plugAll = true);
    int Open(int channel, int device);
    int Open(int channel) { return Open(channel, channel); }
    int Boot(int channel, const std::string& file);
    int Download(int channel, const std::string& fileSpec);
    void SetFault(int phone, const std::string& setting);
    std::string PlainImage(const std::string& name, int memoryClass, std::size_t size);
    std::string Flashed(int phone) const;
    // Opens and boots channel n on phone n; false when the boot did not succeed.
    bool OpenAndBoot(int channel, const std::string& file);

    TempFolder dir;
    std::optional<Bench> bench;
    char msg[IFWD_DL_MESSAGE_SIZE] = {};
    const std::uint8_t bootBlock[6] = {};
};

}  // namespace tandrel::sim::test
