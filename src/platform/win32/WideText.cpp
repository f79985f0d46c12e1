#include "platform/win32/WideText.h"

#include "platform/win32/WindowsApi.h"

#include <climits>

namespace tandrel {

namespace {

int Length(std::string_view text) { return text.size() > INT_MAX ? -1 : static_cast<int>(text.size()); }
int Length(std::wstring_view text) { return text.size() > INT_MAX ? -1 : static_cast<int>(text.size()); }

std::wstring WidenFrom(unsigned codePage, std::string_view text) {
    const int length = Length(text);
    if (length <= 0) return {};
    const int needed = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(needed > 0 ? needed : 0), L'\0');
    if (needed > 0) MultiByteToWideChar(codePage, 0, text.data(), length, wide.data(), needed);
    return wide;
}

}  // namespace

std::wstring Widen(std::string_view utf8) { return WidenFrom(CP_UTF8, utf8); }

std::string Narrow(std::wstring_view wide) {
    const int length = Length(wide);
    if (length <= 0) return {};
    const int needed = WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(needed > 0 ? needed : 0), '\0');
    if (needed > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, text.data(), needed, nullptr, nullptr);
    return text;
}

int WidenInto(std::string_view utf8, wchar_t* out, int capacity) {
    if (capacity <= 0) return -1;
    out[0] = L'\0';
    const int length = Length(utf8);
    if (length < 0) return -1;
    if (length == 0) return 0;
    const int written = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, out, capacity - 1);
    if (written <= 0) {
        out[0] = L'\0';
        return -1;
    }
    out[written] = L'\0';
    return written;
}

int NarrowInto(std::wstring_view wide, char* out, int capacity) {
    if (capacity <= 0) return -1;
    out[0] = '\0';
    const int length = Length(wide);
    if (length < 0) return -1;
    if (length == 0) return 0;
    const int written = WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, out, capacity - 1, nullptr, nullptr);
    if (written <= 0) {
        out[0] = '\0';
        return -1;
    }
    out[written] = '\0';
    return written;
}

bool ToAnsi(std::string_view utf8, std::string& out) {
    out.clear();
    // A system set to UTF-8 takes the text as it is (and that code page
    // refuses the lossy flag below).
    if (GetACP() == CP_UTF8) {
        out = utf8;
        return true;
    }
    const std::wstring wide = Widen(utf8);
    const int length = Length(std::wstring_view(wide));
    if (length <= 0) return length == 0;
    BOOL lossy = FALSE;
    const int needed = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length, nullptr, 0, nullptr, &lossy);
    if (needed <= 0 || lossy) return false;
    out.resize(static_cast<std::size_t>(needed));
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length, out.data(), needed, nullptr, &lossy);
    // The way back must give the same text, or the library would open another file.
    return !lossy && Widen(FromAnsi(out)) == wide;
}

std::string FromAnsi(std::string_view ansi) {
    if (GetACP() == CP_UTF8) return std::string(ansi);
    return Narrow(WidenFrom(CP_ACP, ansi));
}

std::string SystemErrorText(unsigned long code) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
        reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message(text ? std::wstring_view(text, length) : std::wstring_view());
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' ' ||
                                message.back() == L'.')) {
        message.pop_back();
    }
    const std::string number = "error " + std::to_string(code);
    return message.empty() ? number : Narrow(message) + " (" + number + ")";
}

}  // namespace tandrel
