#include "app/DownloaderApp.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "app/DownloadDialog.h"
#include "app/Options.h"
#include "platform/DataFolder.h"
#include "platform/DeviceSources.h"
#include "platform/StationHost.h"
#include "ui/Journal.h"
#include "usb/DevicePathTable.h"

namespace tandrel {

namespace {

constexpr int kRefused = 2;
constexpr int kJournalLost = 3;

// Closes the journal's file, unless it is standard output.
struct JournalFileCloser {
    void operator()(std::FILE* f) const {
        if (f != stdout) std::fclose(f);
    }
};
using JournalFile = std::unique_ptr<std::FILE, JournalFileCloser>;

// "-" is standard output; anything else a file, created or emptied.
JournalFile OpenJournalFile(const std::string& name, std::string& error) {
    if (name == "-") return JournalFile(stdout);
    JournalFile file(std::fopen(name.c_str(), "w"));
    if (!file) error = "cannot write the journal " + name + ": " + std::strerror(errno);
    return file;
}

// Two stations writing one store would interleave their sequence numbers:
// the second is refused. A store that cannot even be locked is no reason to
// stop flashing; the store-writer thread reports what is wrong with it.
bool ClaimResultsStore(const std::string& path, std::unique_ptr<FileLock>& lock, std::string& error) {
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::u8path(path).parent_path(), ignored);
    bool heldElsewhere = false;
    std::string reason;
    lock = FileLock::Take(path, heldElsewhere, reason);
    if (!heldElsewhere) return true;
    error = "the results store " + path + " is in use by another station";
    return false;
}

// The token is the file's first line, without the blanks around it.
bool ReadLineToken(const std::string& path, std::string& token, std::string& error) {
    std::ifstream in(std::filesystem::u8path(path));
    if (!in) {
        error = "cannot read the line token file " + path;
        return false;
    }
    std::getline(in, token);
    const std::size_t start = token.find_first_not_of(" \t\r");
    token = start == std::string::npos ? std::string() : token.substr(start, token.find_last_not_of(" \t\r") + 1 - start);
    if (!token.empty()) return true;
    error = "the line token file " + path + " holds no token";
    return false;
}

}  // namespace

DownloaderApp::DownloaderApp(WindowFactory makeWindow, ModuleLoader& loader, std::ostream& output,
                             std::ostream& errors)
    : makeWindow_(std::move(makeWindow)), loader_(loader), output_(output), errors_(errors) {}

int DownloaderApp::Run(const std::vector<std::string>& args) {
    const OptionsResult parsed = ParseOptions(args);
    if (!parsed.options) {
        errors_ << "tandrel: " << parsed.error << "\n" << UsageText();
        return kRefused;
    }
    const Options& options = *parsed.options;
    if (options.version) {
        output_ << VersionText();
        return 0;
    }

    std::string error;
    JournalFile journalFile;
    if (!options.journal.empty()) {
        journalFile = OpenJournalFile(options.journal, error);
        if (!journalFile) {
            errors_ << "tandrel: " << error << "\n";
            return kRefused;
        }
    }
    const std::unique_ptr<DeviceRegistry> registry = MakeDeviceRegistry(options.devices, error);
    if (!registry) {
        errors_ << "tandrel: " << error << "\n";
        return kRefused;
    }
    std::unique_ptr<FileLock> storeLock;
    if (!options.results.empty() && !ClaimResultsStore(options.results, storeLock, error)) {
        errors_ << "tandrel: " << error << "\n";
        return kRefused;
    }
    std::unique_ptr<LineClient> line;
    if (!options.line.empty()) {
        std::string token;
        if (ReadLineToken(options.lineToken, token, error)) line = MakeLineClient(options.line, token, error);
        if (!line) {
            errors_ << "tandrel: " << error << "\n";
            return kRefused;
        }
    }

    const std::unique_ptr<WindowSystem> window = makeWindow_();
    std::unique_ptr<Journal> journal;
    if (journalFile) journal = std::make_unique<Journal>(journalFile.get(), window->Loop());
    RunWindow(*window, options, *registry, journal.get(), std::move(line));
    if (!options.screenshot.empty() && !window->SaveScreenshot(options.screenshot, error)) {
        errors_ << "tandrel: " << error << "\n";
    }
    if (journal) {
        if (const std::int64_t lost = journal->Finish()) {
            errors_ << "tandrel: the journal lost " << lost << " records\n";
            return kJournalLost;
        }
    }
    return 0;
}

// The dialog goes with its window's run, so that all it journals is in
// before the journal's last try.
void DownloaderApp::RunWindow(WindowSystem& window, const Options& options, DeviceRegistry& registry,
                              Journal* journal, std::unique_ptr<LineClient> line) {
    const LocalFiles files;
    const std::string dataFolder = StationDataFolder();
    DownloadDialog dialog(StationPorts{window.Controls(), window.Loop(), loader_, registry, TheDevicePathTable(), files,
                                       dataFolder.empty() ? std::string() : dataFolder + "/snapshots",
                                       TheSystemWallClock(), std::move(line)},
                          options, journal);
    if (journal) {
        journal->OnWriteFailure([this, &dialog](const std::string& reason) {
            const std::string line = "Journal cannot be written: " + reason;
            errors_ << "tandrel: " << line << std::endl;
            dialog.display.AppendLog(line);
        });
    }
    dialog.OnInitDialog();
    window.Show();
    dialog.OnWindowShown();
    window.RunUntilClosed();
    if (journal) journal->OnWriteFailure(nullptr);
}

}  // namespace tandrel
