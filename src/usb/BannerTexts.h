#pragma once

namespace tandrel {

// The banner's texts and the Reset box's, in the operators' language.
inline constexpr const char* kSearchingForChannels = "채널 검색 중";
inline constexpr const char* kAllChannelsInUse = "모든 채널 사용중";
inline constexpr const char* kChannelSearchStopped = "채널 검색 중지";
inline constexpr const char* kSystemReset = "시스템 리셋";
inline constexpr const char* kUnplugAllPhones = "모든 폰을 USB에서 분리하세요";

}  // namespace tandrel
