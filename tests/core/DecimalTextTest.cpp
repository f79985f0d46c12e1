#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>

#include "platform/DecimalText.h"

namespace tandrel {
namespace {

// The one decimal reader against the C library's reading of the same texts:
// the progress reports, device numbers and field texts all go through it.
TEST(ReadLeadingDecimal, AgreesWithStrtollOnRandomTextsAndSaturatesAt32Bits) {
    std::mt19937 random(7);
    const std::string alphabet = " \t\n\v+-0123456789x%.";
    for (int round = 0; round < 200000; ++round) {
        std::string text(random() % 24, ' ');
        for (char& c : text) c = alphabet[random() % alphabet.size()];
        char* end = nullptr;
        const long long expected = std::strtoll(text.c_str(), &end, 10);
        const LeadingDecimal number = ReadLeadingDecimal(text);
        ASSERT_EQ(number.value, std::clamp<long long>(expected, INT32_MIN, INT32_MAX)) << '"' << text << '"';
        ASSERT_EQ(number.digits, end != text.c_str()) << '"' << text << '"';
        ASSERT_EQ(number.end, number.digits ? static_cast<std::size_t>(end - text.c_str()) : 0u) << '"' << text << '"';
        ASSERT_EQ(number.saturated, expected < INT32_MIN || expected > INT32_MAX) << '"' << text << '"';
    }
}

TEST(ReadLeadingDecimal, TheLimitsThemselvesAreExact) {
    EXPECT_FALSE(ReadLeadingDecimal("2147483647").saturated);
    EXPECT_FALSE(ReadLeadingDecimal("-2147483648").saturated);
    EXPECT_EQ(ReadLeadingDecimal("-2147483648").value, INT32_MIN);
    EXPECT_TRUE(ReadLeadingDecimal("2147483648").saturated);
    EXPECT_EQ(ReadLeadingDecimal("-99999999999999999999999999").value, INT32_MIN);
}

}  // namespace
}  // namespace tandrel
