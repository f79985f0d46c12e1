#include "library/ChannelEvent.h"

#include <climits>
#include <cstring>

namespace tandrel {

ChannelEvent::ChannelEvent(std::int32_t n, std::int32_t s, const char* t, std::uint32_t session)
    // strnlen stops at the bound, so an overlong text is never read past it.
    : channel(n), status(s), text(t ? t : "", t ? strnlen(t, kTextSize - 1) : 0), session(session) {}

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
}  // namespace

int LeadingInteger(const char* text) {
    if (!text) return 0;
    const char* p = text;
    while (IsBlank(*p)) ++p;
    const bool negative = *p == '-';
    if (*p == '+' || *p == '-') ++p;
    // A long run of digits saturates instead of overflowing.
    long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) break;
    }
    if (negative) return value > static_cast<long long>(INT_MAX) ? INT_MIN : static_cast<int>(-value);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

}  // namespace tandrel
