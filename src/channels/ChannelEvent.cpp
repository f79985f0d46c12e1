#include "channels/ChannelEvent.h"

#include <cstring>

#include "platform/DecimalText.h"

namespace tandrel {

ChannelEvent::ChannelEvent(std::int32_t n, std::int32_t s, const char* t, std::uint32_t session)
    // strnlen stops at the bound, so an overlong text is never read past it.
    : channel(n), status(s), text(t ? t : "", t ? strnlen(t, kTextSize - 1) : 0), session(session) {}

int LeadingInteger(const char* text) { return text ? ReadLeadingDecimal(text).value : 0; }

}  // namespace tandrel
