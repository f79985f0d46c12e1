// The program's version resource carries the one version of the build, as
// Explorer's file properties show it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TandrelVersion.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WindowsApi.h"

namespace tandrel {
namespace {

TEST(Resources, TheVersionResourceHoldsTheBuildsVersion) {
    wchar_t program[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(nullptr, program, MAX_PATH), 0u);
    std::vector<BYTE> info(GetFileVersionInfoSizeW(program, nullptr));
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(GetFileVersionInfoW(program, 0, static_cast<DWORD>(info.size()), info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
    EXPECT_EQ(fixed->dwProductVersionMS, static_cast<DWORD>(MAKELONG(TANDREL_VERSION_MINOR, TANDREL_VERSION_MAJOR)));
    EXPECT_EQ(fixed->dwProductVersionLS, static_cast<DWORD>(MAKELONG(0, TANDREL_VERSION_PATCH)));
    for (const wchar_t* name : {L"FileVersion", L"ProductVersion"}) {
        wchar_t* text = nullptr;
        const std::wstring path = std::wstring(L"\\StringFileInfo\\040904b0\\") + name;
        ASSERT_TRUE(VerQueryValueW(info.data(), path.c_str(), reinterpret_cast<void**>(&text), &size));
        EXPECT_EQ(Narrow(text), TANDREL_VERSION);
    }
}

}  // namespace
}  // namespace tandrel
