// The system menu's command identifiers. They keep the values the menu has
// always posted, so a command means the same wherever it comes from.
#pragma once

#include <cstdint>

namespace zeku::menu_id {

inline constexpr uint32_t kQuit = 40007;
inline constexpr uint32_t kReturnToTitle = 40008;
inline constexpr uint32_t kAntiAliasFirst = 40041;  // 4 entries: off, weak, middle, strong
inline constexpr uint32_t kSpeedFirst = 40046;      // 3 entries: fast, normal, slow
inline constexpr uint32_t kReadSkipStop = 40050;
inline constexpr uint32_t kMusicPlay = 40064;
inline constexpr uint32_t kMusicVolumeFirst = 40065;  // 10 entries: 100% .. 10%
inline constexpr uint32_t kLoadFirst = 40085;         // 15 slots
inline constexpr uint32_t kSaveFirst = 40100;         // 15 slots
inline constexpr uint32_t kShadowText = 40125;
inline constexpr uint32_t kMasterVolumeFirst = 40126;  // 10 entries: 100% .. 10%
inline constexpr uint32_t kCursorModeFirst = 40136;    // 5 modes
inline constexpr uint32_t kSkipLock = 40146;
inline constexpr uint32_t kDoublePress = 40158;
inline constexpr uint32_t kCentreActionFirst = 40163;  // 6 actions
inline constexpr uint32_t kFontFirst = 40169;          // up to 15 fonts
inline constexpr uint32_t kEffectsPlay = 40184;
inline constexpr uint32_t kEffectVolumeFirst = 40185;  // 10 entries: 100% .. 10%
inline constexpr uint32_t kDisplayFreeFirst = 40195;   // 3 modes
inline constexpr uint32_t kRewindChoice = 40215;
inline constexpr uint32_t kAutoBaseFirst = 40216;  // 10 entries: 200 .. 2000 ms
inline constexpr uint32_t kAutoOneFirst = 40226;   // 10 entries: 0 .. 90 ms
inline constexpr uint32_t kAutoAdvance = 40236;

// Popups post no command. The load and save popups carry identifiers above
// 16 bits, which no command message can carry, so their enable bit can be
// found like any entry's; every other popup carries 0.
inline constexpr uint32_t kLoadPopup = 0x10001;
inline constexpr uint32_t kSavePopup = 0x10002;

inline constexpr int kSlotCount = 15;
inline constexpr int kVolumeSteps = 10;

}  // namespace zeku::menu_id
