#pragma once

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <system_error>

namespace tandrel {

// The blanks of the C locale: space, tab, newline, vertical tab, form feed
// and carriage return.
constexpr bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A decimal number read from the start of a text.
struct LeadingDecimal {
    // Held to the 32-bit range: a number beyond it reads as the nearer limit.
    std::int32_t value = 0;
    // At least one digit was read; without one, value is 0 and end is 0.
    bool digits = false;
    // The number lies beyond the 32-bit range.
    bool saturated = false;
    // Where the number's last digit ends.
    std::size_t end = 0;
};

// Reads blanks, one optional sign, then the digits up to the first
// character that is not one, as strtol does, but a run of digits of any
// length saturates instead of overflowing. What a caller accepts around the
// number (blanks, a sign, what follows it) is the caller's own rule.
inline LeadingDecimal ReadLeadingDecimal(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && IsBlank(text[at])) ++at;
    const bool negative = at < text.size() && text[at] == '-';
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;

    // Unsigned, so that from_chars reads digits only, never a second sign.
    std::uint64_t magnitude = 0;
    const char* first = text.data() + at;
    const auto [last, error] = std::from_chars(first, text.data() + text.size(), magnitude);
    LeadingDecimal number;
    if (last == first) return number;
    const std::uint64_t limit = negative ? std::uint64_t{1} << 31 : (std::uint64_t{1} << 31) - 1;
    number.digits = true;
    number.saturated = error == std::errc::result_out_of_range || magnitude > limit;
    const auto held = static_cast<std::int64_t>(number.saturated ? limit : magnitude);
    number.value = static_cast<std::int32_t>(negative ? -held : held);
    number.end = static_cast<std::size_t>(last - text.data());
    return number;
}

}  // namespace tandrel
