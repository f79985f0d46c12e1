#include "win32/WindowsApi.h"
#include <shellapi.h>

#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/DownloaderApp.h"
#include "win32/StandardStreams.h"
#include "win32/WideText.h"
#include "win32/Win32WindowSystem.h"
#include "win32/WindowsLoader.h"

namespace {

// The arguments after the program's name, in UTF-8.
std::vector<std::string> CommandLineArguments() {
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i) args.push_back(tandrel::Narrow(words[i]));
    if (words) LocalFree(words);
    return args;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    const bool hasConsole = tandrel::ConnectStandardStreams();
    // Without a console the operator still learns why the program would not start.
    std::ostringstream refusal;
    std::ostream& errors = hasConsole ? std::cerr : refusal;

    tandrel::WindowsLoader loader;
    tandrel::DownloaderApp station(
        [instance] { return std::make_unique<tandrel::Win32WindowSystem>(instance); }, loader, errors);
    const int status = station.Run(CommandLineArguments());
    if (!refusal.str().empty()) {
        MessageBoxW(nullptr, tandrel::Widen(refusal.str()).c_str(), L"Tandrel", MB_OK | MB_ICONERROR);
    }
    return status;
}
