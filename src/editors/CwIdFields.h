// The CW identification of each channel: its Morse text in the channel's
// 32-byte auxiliary record, its timing, speed and tone in the channel record.
// Rows are channels (0-based); a row exists while its channel exists, and is
// found through the channel index at every access. Standard library only.
#pragma once

#include <cstddef>

#include "fields/FieldTypes.h"

namespace zmp {

// Offsets within the channel record.
namespace cwrec {
inline constexpr std::size_t kModDelay = 0x21;        // tens of ms
inline constexpr std::size_t kInterval = 0x34;
inline constexpr std::size_t kDelay = 0x35;           // tenths
inline constexpr std::size_t kRequiredInInterval = 0x36;
inline constexpr std::size_t kOver = 0x37;
inline constexpr std::size_t kSendToRa = 0x38;
inline constexpr std::size_t kOnChannelChange = 0x39;
inline constexpr std::size_t kSpeed = 0x3A;
inline constexpr std::size_t kAudioFrequency = 0x3B;  // tens of Hz
inline constexpr std::size_t kEncodeWithTone = 0x3C;
inline constexpr std::size_t kTextLength = 32;
}  // namespace cwrec

// The CW ID text, one row per channel, in the auxiliary records.
const FieldTable& CwIdTextTable();
// The CW ID settings in the channel records.
const FieldTable& CwIdTable();
const EditorModule& CwIdModule();

// The Morse texts (CW ID, CW messages): one leading space is dropped, the
// rest must be of the CW character set (lowercase letters stand for their
// capitals), cut to the field and padded with 0xFF. Refused texts write nothing.
CommitResult CommitCwText(const FieldAt& at, std::string_view text);

// Why a CW ID setting of an existing channel cannot be changed (its control
// is disabled), or 0: its CW ID is off; the "CW ID over" and "Encode with
// QT/DQT" boxes also need a transmit mode other than 1 (digital).
TextNo CwIdDisabled(const ImageStore& image, int channel, const FieldDecl& decl);
// Whether the CW ID settings of a channel can be edited: the channel exists
// and CwIdDisabled gives no reason.
bool CwIdEditable(const ImageStore& image, int channel, const FieldDecl& decl);

}  // namespace zmp
