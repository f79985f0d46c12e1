#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>

#include "usb/DeviceScan.h"

namespace tandrel {
namespace {

TEST(ParseDeviceNumber, ReadsTheNumberAfterTheFirstThreeCharacters) {
    EXPECT_EQ(ParseDeviceNumber("USB3"), 3);
    EXPECT_EQ(ParseDeviceNumber("COM3"), 3);
    EXPECT_EQ(ParseDeviceNumber("USB12"), 12);
    EXPECT_EQ(ParseDeviceNumber("USB 7"), 7);
    EXPECT_EQ(ParseDeviceNumber("USB\t+7"), 7);
    EXPECT_EQ(ParseDeviceNumber("USB7x9"), 7);
    EXPECT_EQ(ParseDeviceNumber("USB007"), 7);
}

TEST(ParseDeviceNumber, TextsNamingNoDeviceGiveZero) {
    for (const char* text : {"", "U", "USB", "USB0", "USB00", "USBX", "USB-2", "USB-0", "USB+", "USB+-1", "USB x1", "USB\n"}) {
        EXPECT_EQ(ParseDeviceNumber(text), 0) << '"' << text << '"';
    }
}

TEST(ParseDeviceNumber, NumbersTooLargeSaturateInsteadOfWrapping) {
    EXPECT_EQ(ParseDeviceNumber("USB260"), 260);
    EXPECT_EQ(ParseDeviceNumber("USB2147483647"), 2147483647);
    EXPECT_EQ(ParseDeviceNumber("USB4294967297"), 2147483647);
    EXPECT_EQ(ParseDeviceNumber("USB99999999999999999999999"), 2147483647);
}

// The C library's reading of a decimal number, held to the same rules.
std::int32_t Expected(const std::string& text) {
    if (text.empty() || text == "USB0" || text.size() <= 3) return 0;
    const long long value = std::strtoll(text.c_str() + 3, nullptr, 10);
    return value < 1 ? 0 : static_cast<std::int32_t>(std::min<long long>(value, 2147483647));
}

TEST(ParseDeviceNumber, AgreesWithTheCLibraryOnRandomTexts) {
    std::mt19937 random(11);
    const std::string alphabet = "USB0123456789 \t\n+-x";
    for (int round = 0; round < 200000; ++round) {
        std::string text(random() % 24, ' ');
        for (char& c : text) c = alphabet[random() % alphabet.size()];
        ASSERT_EQ(ParseDeviceNumber(text), Expected(text)) << '"' << text << '"';
    }
}

}  // namespace
}  // namespace tandrel
