// Texts at the library's boundary: the ANSI code page both ways, and the
// file-open dialog's multiple-selection result.
#include <gtest/gtest.h>

#include "library/LibraryText.h"
#include "win32/OpenFilesDialog.h"
#include "platform/win32/WindowsApi.h"

namespace tandrel {
namespace {

TEST(LibraryText, WesternTextGoesThroughCodePage1252AndBackUnchanged) {
    if (GetACP() != 1252) GTEST_SKIP() << "the system's code page is " << GetACP();
    std::string ansi;
    ASSERT_TRUE(ToLibraryText("C:\\Bilder\\\xC3\xA9t\xC3\xA9.fls", ansi));
    EXPECT_EQ(ansi, "C:\\Bilder\\\xE9t\xE9.fls");
    EXPECT_EQ(FromLibraryText("Fehler: \xE9t\xE9"), "Fehler: \xC3\xA9t\xC3\xA9");
    // No look-alike: a character the page lacks refuses the whole text.
    EXPECT_FALSE(ToLibraryText("C:\\\xED\x8E\x8C\xEC\x9B\xA8\xEC\x96\xB4.fls", ansi));
    EXPECT_FALSE(ToLibraryText("C:\\\xC4\x80.fls", ansi));
}

TEST(OpenFiles, OneFileOrAFolderWithNamesAnyLength) {
    const std::wstring longName(300, L'x');
    const struct {
        std::wstring result;
        std::vector<std::wstring> paths;
    } cases[] = {
        {std::wstring(L"C:\\img\\code.fls\0", 16), {L"C:\\img\\code.fls"}},
        {std::wstring(L"C:\\img\0a.fls\0b.fls\0", 19), {L"C:\\img\\a.fls", L"C:\\img\\b.fls"}},
        {std::wstring(L"C:\\\0a.fls\0", 10), {L"C:\\a.fls"}},
        {L"C:\\" + longName + std::wstring(L"\0", 1) + longName + std::wstring(L"\0", 1),
         {L"C:\\" + longName + L"\\" + longName}},
        {std::wstring(L"\0", 1), {}},
    };
    for (const auto& c : cases) {
        const std::wstring buffer = c.result + std::wstring(L"\0", 1);
        EXPECT_EQ(SplitSelection(buffer.data(), buffer.size()), c.paths);
    }
}

}  // namespace
}  // namespace tandrel
