#include "platform/win32/WindowsApi.h"
#include <shellapi.h>

#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/DownloaderApp.h"
#include "win32/StandardStreams.h"
#include "platform/win32/WideText.h"
#include "win32/Win32WindowSystem.h"
#include "platform/win32/WindowsLoader.h"

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
    // Without a console the operator still learns the version asked for, or
    // why the program would not start.
    std::ostringstream shown;
    std::ostream& output = hasConsole ? std::cout : shown;
    std::ostream& errors = hasConsole ? std::cerr : shown;

    tandrel::WindowsLoader loader;
    tandrel::DownloaderApp station(
        [instance] { return std::make_unique<tandrel::Win32WindowSystem>(instance); }, loader, output, errors);
    const int status = station.Run(CommandLineArguments());
    if (!shown.str().empty()) {
        MessageBoxW(nullptr, tandrel::Widen(shown.str()).c_str(), L"Tandrel",
                    MB_OK | (status == 0 ? MB_ICONINFORMATION : MB_ICONERROR));
    }
    return status;
}
