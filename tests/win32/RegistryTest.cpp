// The registry port against the real registry (Wine's, in CI): instance keys
// written with the system's own reg tool, and odd values written byte by
// byte, go through the same scan as on Linux.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/PhoneRegistryKeys.h"
#include "usb/DevicePathTable.h"
#include "usb/DeviceScan.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WindowsApi.h"
#include "platform/win32/WindowsRegistry.h"

namespace tandrel {
namespace {

const std::wstring kEnumeration = Widen(kPhoneEnumerationKey);

// Runs the system's reg tool; its exit status.
DWORD Reg(const std::wstring& arguments) {
    std::wstring command = L"reg.exe " + arguments;
    STARTUPINFOW start{};
    start.cb = sizeof start;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &start,
                        &process)) {
        return GetLastError();
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 1;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return status;
}

std::wstring ParametersKey(const std::wstring& instance) {
    return kEnumeration + L"\\" + instance + L"\\Device Parameters";
}

void AddWithReg(const std::wstring& instance, const std::wstring& value) {
    ASSERT_EQ(Reg(L"add \"HKLM\\" + ParametersKey(instance) + L"\" /v CreateFileName /t REG_SZ /d \"" + value +
                  L"\" /f"),
              0u);
}

// A value as the reg tool cannot write it: any type, any bytes.
void AddRaw(const std::wstring& instance, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, ParametersKey(instance).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(key, L"CreateFileName", 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    RegCloseKey(key);
}

class RealRegistry : public ::testing::Test {
protected:
    void SetUp() override { Reg(L"delete \"HKLM\\" + kEnumeration + L"\" /f"); }
    void TearDown() override { Reg(L"delete \"HKLM\\" + kEnumeration + L"\" /f"); }

    std::vector<int> Scan() {
        FoundList found;
        ScanUsbDevices(registry, paths, found);
        return {found.numbers, found.numbers + found.count};
    }

    WindowsRegistry registry;
    DevicePathTable paths;
};

TEST_F(RealRegistry, NoEnumerationKeyReportsNothing) {
    char buffer[kCreateFileNameSize] = {};
    EXPECT_FALSE(registry.ListSubkeys(kPhoneEnumerationKey, [](std::string_view) { return true; }));
    EXPECT_FALSE(registry.ReadString(std::string(kPhoneEnumerationKey) + "\\a\\Device Parameters",
                                     kCreateFileNameValue, buffer, sizeof buffer));
    EXPECT_TRUE(Scan().empty());
}

TEST_F(RealRegistry, PhonesWrittenWithRegAreFoundOnceUntilForgotten) {
    AddWithReg(L"6&2f1a&0&3", L"USB3");
    AddWithReg(L"6&2f1a&0&5", L"USB5");
    EXPECT_EQ(Scan(), (std::vector<int>{3, 5}));
    EXPECT_STREQ(paths.Slot(3), (std::string(kPhoneEnumerationKey) + "\\6&2f1a&0&3\\Device Parameters").c_str());
    EXPECT_TRUE(Scan().empty());
    paths.ForgetDevicePath(5);
    EXPECT_EQ(Scan(), (std::vector<int>{5}));
}

// The registry lists instances in its own (alphabetical) order.
TEST_F(RealRegistry, OddValuesAreHandledAsOnLinux) {
    AddWithReg(L"a-zero", L"USB0");
    AddWithReg(L"b-empty", L"");
    AddWithReg(L"c-short", L"USB");
    AddWithReg(L"d-twelve", L"USB12");
    AddWithReg(L"e-too-long", L"USB12345678901234567");
    AddWithReg(L"f-letters", L"USBX");
    const wchar_t unterminated[] = {L'U', L'S', L'B', L'4'};
    AddRaw(L"g-unterminated", REG_SZ, unterminated, sizeof unterminated);
    const wchar_t early[] = L"USB6\0USB7";
    AddRaw(L"h-early-nul", REG_SZ, early, sizeof early);
    const DWORD number = 2;
    AddRaw(L"i-dword", REG_DWORD, &number, sizeof number);
    const char bytes[] = "USB1";
    AddRaw(L"j-binary", REG_BINARY, bytes, 4);
    const wchar_t expandable[] = L"USB7";
    AddRaw(L"k-expand", REG_EXPAND_SZ, expandable, sizeof expandable);
    EXPECT_EQ(Scan(), (std::vector<int>{12, 4, 6, 7}));
    // Above the channel count: reported on every pass, never recorded.
    EXPECT_EQ(Scan(), (std::vector<int>{12}));
}

TEST_F(RealRegistry, ValueTooLongForTheBufferIsRefusedNotCut) {
    AddWithReg(L"x", L"USB3");
    const std::string key = std::string(kPhoneEnumerationKey) + "\\x\\Device Parameters\\";
    char tight[4] = {'?', '?', '?', '?'};
    EXPECT_FALSE(registry.ReadString(key, kCreateFileNameValue, tight, sizeof tight));
    EXPECT_EQ(tight[0], '?');
    char room[5] = {};
    EXPECT_TRUE(registry.ReadString(key, kCreateFileNameValue, room, sizeof room));
    EXPECT_STREQ(room, "USB3");
}

}  // namespace
}  // namespace tandrel
