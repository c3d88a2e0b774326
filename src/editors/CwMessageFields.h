// The eight CW messages of the repeater and their common sending settings,
// main block 0x0630..0x0634 and 0x0640..0x073F. Standard library only.
#pragma once

#include <cstddef>

#include "fields/FieldTypes.h"

namespace zmp {

namespace cwmes {
inline constexpr std::size_t kSendToRa = 0x0630;
inline constexpr std::size_t kSpeed = 0x0631;
inline constexpr std::size_t kAudioFrequency = 0x0632;  // tens of Hz
inline constexpr std::size_t kEncodeWithTone = 0x0633;
inline constexpr std::size_t kModDelay = 0x0634;        // tens of ms
inline constexpr std::size_t kMessages = 0x0640;
inline constexpr std::size_t kMessageLength = 32;
inline constexpr int kMessageCount = 8;
constexpr std::size_t MessageOffset(int message) {  // message 1..8
  return kMessages + kMessageLength * static_cast<std::size_t>(message - 1);
}
}  // namespace cwmes

const EditorModule& CwMessageModule();

}  // namespace zmp
