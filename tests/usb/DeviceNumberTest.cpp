#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>

#include "usb/DeviceScan.h"

namespace tandrel {
namespace {

TEST(ParseDeviceNumber, ReadsTheNumberAfterTheFirstThreeCharacters) {
    const std::pair<const char*, std::int32_t> cases[] = {
        {"USB3", 3}, {"COM3", 3}, {"USB 7", 7}, {"USB\t+7", 7}, {"USB7x9", 7}, {"USB007", 7}, {"USB260", 260},
        {"USB4294967297", 2147483647}, {"USB99999999999999999999999", 2147483647},
        {"", 0}, {"USB", 0}, {"USB0", 0}, {"USB00", 0}, {"USBX", 0}, {"USB-2", 0}, {"USB+-1", 0}, {"USB x1", 0},
    };
    for (const auto& [text, number] : cases) EXPECT_EQ(ParseDeviceNumber(text), number) << '"' << text << '"';
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
