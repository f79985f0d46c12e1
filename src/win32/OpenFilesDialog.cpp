#include "win32/OpenFilesDialog.h"

#include <cderr.h>
#include <commdlg.h>

#include "platform/win32/WideText.h"

namespace tandrel {

namespace {

// Enough for a few hundred long names at once; a larger choice is asked
// again with the size the dialog says it needs.
constexpr std::size_t kFirstBufferChars = 64 * 1024;
constexpr std::size_t kLargestBufferChars = 16 * 1024 * 1024;

}  // namespace

std::vector<std::wstring> SplitSelection(const wchar_t* buffer, std::size_t size) {
    std::vector<std::wstring> parts;
    for (std::size_t at = 0; at < size && buffer[at] != L'\0';) {
        std::size_t end = at;
        while (end < size && buffer[end] != L'\0') ++end;
        parts.emplace_back(buffer + at, end - at);
        at = end + 1;
    }
    if (parts.size() <= 1) return parts;
    std::wstring folder = parts.front();
    if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
    std::vector<std::wstring> paths;
    for (std::size_t i = 1; i < parts.size(); ++i) paths.push_back(folder + parts[i]);
    return paths;
}

std::optional<std::vector<std::string>> ChooseFiles(HWND owner) {
    static const wchar_t kFilter[] = L"All files (*.*)\0*.*\0";
    std::wstring buffer(kFirstBufferChars, L'\0');
    for (;;) {
        OPENFILENAMEW request{};
        request.lStructSize = sizeof request;
        request.hwndOwner = owner;
        request.lpstrFilter = kFilter;
        request.lpstrFile = buffer.data();
        request.nMaxFile = static_cast<DWORD>(buffer.size());
        request.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR |
                        OFN_HIDEREADONLY;
        if (GetOpenFileNameW(&request)) break;
        // Too small: the first two characters hold the size it needs.
        if (CommDlgExtendedError() != FNERR_BUFFERTOOSMALL || buffer.size() >= kLargestBufferChars) {
            return std::nullopt;
        }
        const std::size_t needed = *reinterpret_cast<const std::uint16_t*>(buffer.data());
        buffer.assign(std::min(std::max(needed + 1, buffer.size() * 2), kLargestBufferChars), L'\0');
    }
    std::vector<std::string> paths;
    for (const std::wstring& path : SplitSelection(buffer.data(), buffer.size())) paths.push_back(Narrow(path));
    if (paths.empty()) return std::nullopt;
    return paths;
}

}  // namespace tandrel
