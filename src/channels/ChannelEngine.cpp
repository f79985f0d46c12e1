#include "channels/ChannelEngine.h"

namespace tandrel {

// Placeholder until the channel engine lands.
ChannelEngine::ChannelEngine(EngineContext context) : ctx_(context) {}
void ChannelEngine::HandleChannelEvent(ChannelEventKind, int, std::string_view) {}
bool ChannelEngine::OpenChannelPort(ChannelRecord*) { return false; }
bool ChannelEngine::CloseChannelPort(ChannelRecord*) { return false; }
void ChannelEngine::OnStop(int) {}

}  // namespace tandrel
