#include <gtest/gtest.h>

#include <cstdint>
#include <utility>

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

}  // namespace
}  // namespace tandrel
