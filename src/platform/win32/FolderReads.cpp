// The folder reads of the directory device source on Windows: the same
// contract as on Linux (fixed buffers, no allocation), on FindFirstFileExW
// and CreateFileW. Files are opened with every sharing mode, so that a
// bench tool renaming a new version into place is never refused.
#include "platform/FolderReads.h"

#include "platform/win32/WindowsApi.h"

#include "platform/win32/WideText.h"

namespace tandrel {

namespace {

// The entry types handed to the filter, by value as <dirent.h> numbers them.
constexpr unsigned char kFolderType = 4;
constexpr unsigned char kFileType = 8;

// UTF-8 is at most three bytes per UTF-16 unit.
constexpr int kNameBytes = MAX_PATH * 3;

}  // namespace

bool CollectEntries(const char* folder, const EntryFilter& take, SortedNames& names) {
    wchar_t pattern[kPathSize];
    const int length = WidenInto(folder, pattern, kPathSize - 2);
    if (length < 0) return false;
    pattern[length] = L'\\';
    pattern[length + 1] = L'*';
    pattern[length + 2] = L'\0';

    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileExW(pattern, FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        char name[kNameBytes];
        const int n = NarrowInto(entry.cFileName, name, sizeof name);
        const std::string_view view(name, n < 0 ? 0 : static_cast<std::size_t>(n));
        if (n <= 0 || view == "." || view == "..") continue;
        const unsigned char type = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? kFolderType : kFileType;
        if (take(kWorkingFolder, view, type)) names.Offer(view);
    } while (FindNextFileW(search, &entry));
    const bool complete = GetLastError() == ERROR_NO_MORE_FILES;
    FindClose(search);
    return complete;
}

bool IsFolderEntry(int, const char*, unsigned char type) { return type == kFolderType; }

long ReadSmallFile(int, const char* path, char* text, std::size_t capacity) {
    wchar_t wide[kPathSize];
    if (WidenInto(path, wide, kPathSize) < 0) return -1;
    HANDLE file = CreateFileW(wide, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    // One byte past capacity tells a file that fits from one that does not.
    std::size_t total = 0;
    long result = 0;
    for (;;) {
        char beyond = 0;
        char* into = total < capacity ? text + total : &beyond;
        const DWORD wanted = total < capacity ? static_cast<DWORD>(capacity - total) : 1;
        DWORD got = 0;
        if (!ReadFile(file, into, wanted, &got, nullptr)) {
            result = -1;
            break;
        }
        if (got == 0) {
            result = static_cast<long>(total);
            break;
        }
        if (total >= capacity) {
            result = -1;
            break;
        }
        total += got;
    }
    CloseHandle(file);
    return result;
}

}  // namespace tandrel
