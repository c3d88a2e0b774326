// The 5-tone settings: the tone standard and timing, which codes the repeater
// decodes and transponds and what a decode does, the codes sent at PTT press
// and release, the call keys' codes, and the channel select and power-on
// monitor. Codes are references into the 5-tone encode/decode table
// (FiveToneTable.h), offered as the entries in use. Standard library only.
#pragma once

#include <cstddef>

#include "fields/FieldTypes.h"

namespace zmp {

namespace fivetone {
inline constexpr std::size_t kToneStandard = 0x6180;
inline constexpr std::size_t kTonePeriod = 0x6181;
inline constexpr std::size_t kReceiveGap = 0x6182;         // u16
inline constexpr std::size_t kGroupTone = 0x6184;
inline constexpr std::size_t kMuteMonitorTone = 0x6185;
inline constexpr std::size_t kMinMuteTonePeriod = 0x6186;  // u16
inline constexpr std::size_t kMonitorFunction = 0x6188;
inline constexpr std::size_t kGroupDigits = 0x61A5;        // bit n: digit n + 1, clear = selectable
inline constexpr std::size_t kEncodePause1 = 0x610E;       // u16, 0xFFFF reads 0
inline constexpr std::size_t kEncodePause2 = 0x6110;       // u16, 0xFFFF reads 0
inline constexpr std::size_t kDecodeFlags = 0x6115;        // clear bits are ticked
inline constexpr std::size_t kAlertTone = 0x6116;
inline constexpr std::size_t kDecodeCode = 0x6117;         // decode reference
inline constexpr std::size_t kAutoResetTimer = 0x6118;     // u16, Off kept as 0xFFFF
inline constexpr std::size_t kTranspondCode = 0x611A;      // encode reference
inline constexpr std::size_t kDisableRepeatTimer = 0x611B; // u16, 0xFFFF reads 0
inline constexpr std::size_t kRepeaterOpen = 0x611D;       // decode reference
inline constexpr std::size_t kRepeaterClose = 0x611E;      // decode reference
inline constexpr std::size_t kEncodeFlags = 0x611F;        // set bits are ticked
inline constexpr std::size_t kMicPressBot = 0x6120;        // encode references from here on
inline constexpr std::size_t kMicReleaseEot = 0x6121;
inline constexpr std::size_t kExtActiveBot = 0x6122;
inline constexpr std::size_t kExtInactiveEot = 0x6123;
inline constexpr std::size_t kCall1Code = 0x6124;
inline constexpr std::size_t kCall2Code = 0x6125;
}  // namespace fivetone

const EditorModule& FiveToneModule();

// The tables by tab (0..4).
const FieldTable& FiveToneTable(int tab);

}  // namespace zmp
