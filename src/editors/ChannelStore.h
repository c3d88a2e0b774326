// The conventional channels of the repeater in the main block of the data
// image: the channel index (ChannelIndex.cpp), the 64-byte channel records and
// the 32-byte auxiliary records packed, created, deleted and copied
// (ChannelRecords.cpp), and the frequency rules (ChannelFrequencies.cpp). The
// fields of a channel are declared in ChannelFields.h.
//
// Channel numbers are 0-based here (the user sees 1..30). Standard library
// only; every byte goes through the bounds-checked block accessors.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lang/TextNo.h"
#include "data/ImageStore.h"
#include "data/ModelInfo.h"
#include "fields/FieldTypes.h"
#include "fields/NumericRules.h"

namespace zmp {

inline constexpr int kChannelCount = 30;
// The index has room for 100 entries; insert and delete adjust all of them.
inline constexpr int kChannelIndexEntries = 100;
inline constexpr std::size_t kChannelIndexOffset = 0x0000;
inline constexpr std::size_t kRecordAreaStart = 0x0800;
inline constexpr std::size_t kRecordAreaEnd = 0x2800;  // one past the last byte
inline constexpr std::size_t kChannelRecordSize = 64;
inline constexpr std::size_t kLastRecordOffset = kRecordAreaEnd - kChannelRecordSize;  // 0x27C0
inline constexpr std::size_t kAuxRecordSize = 32;
inline constexpr std::uint16_t kNoRecord = 0xFFFF;
// Main-block byte holding the priority channel as channel number + 1 (255 = none).
inline constexpr std::size_t kPriorityChannelByte = 0x02B6;

// Main-block offset of a channel's auxiliary record: 32 x (channel + 576).
constexpr std::size_t AuxRecordOffset(int channel) {
  return kAuxRecordSize * static_cast<std::size_t>(channel + 576);
}

// Offsets within a channel record.
namespace chrec {
inline constexpr std::size_t kRxFrequency = 0x00;  // 5 bytes packed BCD
inline constexpr std::size_t kTxFrequency = 0x05;
inline constexpr std::size_t kRxStep = 0x0A;
inline constexpr std::size_t kTxStep = 0x0B;
inline constexpr std::size_t kRxSplit = 0x0C;
inline constexpr std::size_t kTxSplit = 0x0D;
inline constexpr std::size_t kAuxOffset = 0x0E;    // u16
inline constexpr std::size_t kName = 0x10;         // 2 characters
inline constexpr std::size_t kNameLength = 2;
inline constexpr std::size_t kSpacing = 0x12;
inline constexpr std::size_t kBeatShift = 0x13;    // bit 0: 0 = on
inline constexpr std::size_t kTxPower = 0x14;
inline constexpr std::size_t kToneDecode = 0x15;   // ToneCode
inline constexpr std::size_t kToneEncode = 0x17;   // ToneCode
inline constexpr std::size_t kReverseBurst = 0x19; // 0 = on
inline constexpr std::size_t kOperationMode = 0x1A;  // u16
inline constexpr std::size_t kScanAdd = 0x1C;
inline constexpr std::size_t kVoiceScrambler = 0x1D;
inline constexpr std::size_t kCompander = 0x1E;
inline constexpr std::size_t kMultiTable = 0x1F;
inline constexpr std::size_t kCwId = 0x20;
inline constexpr std::size_t kCwModDelay = 0x21;
inline constexpr std::size_t kTxMode = 0x22;
inline constexpr std::size_t kChannelType = 0x23;
inline constexpr std::size_t kRanDecode = 0x24;    // u16
inline constexpr std::size_t kRanEncode = 0x26;    // u16
inline constexpr std::size_t kUserLimit = 0x28;    // 0xFF = off, 0 = on
inline constexpr std::size_t kEncodeToneMultiple = 0x3D;
inline constexpr std::size_t kScramblerCode = 0x3E;
}  // namespace chrec

// Outcome of a channel operation (create, delete, copy, a stored frequency).
// 0 is success; the user interface shows MessageOf(status) for the others.
// A channel's fields are shown and stored by the field codec over the
// declarations of ChannelFields.h.
enum class StoreStatus : int {
  Ok = 0,
  NotAFrequency = 1,   // not a number in 0 < f < 1000 MHz, or zero after rounding
  OutOfBand = 2,       // outside the model's frequency limits
  BadText = 3,         // a record or auxiliary record of the wrong size
  NoChannel = 5,       // the channel does not exist
  IndexDamaged = 6,    // the channel index is not sound; records are not moved
  NoRoom = 7,          // no record slot left
  NotEditable = 8,     // a channel out of range, or one that exists already
  SameChannel = 9,     // copy onto itself
};

// The language text that reports a status (0 for Ok).
TextNo MessageOf(StoreStatus s);

// Result of checking the channel index.
struct IndexCheck {
  bool sound = true;
  int channel = -1;              // first bad entry (0-based), -1 when sound
  std::uint16_t value = kNoRecord;
  bool duplicate = false;        // the entry repeats another channel's offset
};

// A stored offset is valid when it is a 64-byte aligned record offset in
// 0x0800..0x27C0.
constexpr bool IsValidRecordOffset(std::uint16_t offset) {
  return offset >= kRecordAreaStart && offset <= kLastRecordOffset &&
         (offset - kRecordAreaStart) % kChannelRecordSize == 0;
}

class ChannelStore {
 public:
  explicit ChannelStore(ImageStore& image);

  ImageStore& Image() const { return image_; }
  const ModelInfo& Model() const { return model_; }

  // --- index --------------------------------------------------------------
  std::uint16_t IndexEntry(int entry) const;  // entry 0..99
  IndexCheck CheckIndex() const;
  // Main-block offset of the channel's record; nothing when the channel does
  // not exist, its entry is not a valid record offset, or channel is out of range.
  std::optional<std::size_t> RecordOf(int channel) const { return RecordOf(image_, channel); }
  static std::optional<std::size_t> RecordOf(const ImageStore& image, int channel);
  bool Exists(int channel) const { return RecordOf(channel).has_value(); }
  int ExistingCount() const;
  int FreeSlots() const { return kChannelCount - ExistingCount(); }

  // --- record queries (false for a channel that does not exist) ------------
  bool HasFrequency(int channel, int which) const;  // 0 receive, 1 transmit
  bool SameFrequencies(int channel) const;
  bool HasTone(int channel, int which) const;       // 0 decode, 1 encode
  bool HasRan(int channel, int which) const;

  // --- channels -----------------------------------------------------------
  // Makes room for the record at its packed position and points the index at
  // it; the record is all 0xFF. Fails when the channel exists, the index is
  // damaged or the last record slot is taken.
  StoreStatus CreateChannel(int channel);
  // CreateChannel followed by the defaults of a new channel.
  StoreStatus CreateChannelWithDefaults(int channel);
  void ApplyChannelDefaults(int channel);
  StoreStatus DeleteChannel(int channel);
  // Copies source onto destination (deleting it first); a source that does not
  // exist leaves the destination deleted.
  StoreStatus CopyChannel(int source, int destination);

  // Raw record and auxiliary record (empty vectors when the channel does not exist).
  std::vector<std::uint8_t> ReadRecord(int channel) const;
  std::vector<std::uint8_t> ReadAuxRecord(int channel) const;
  // Writes a whole record into an existing channel and points its auxiliary
  // offset at the channel's own auxiliary record, which gets aux.
  StoreStatus WriteChannel(int channel, std::span<const std::uint8_t> record,
                           std::span<const std::uint8_t> aux);

  // Puts a whole channel in place of whatever the channel held (copy, paste):
  // an existing channel is deleted, then created again with the record and
  // aux. What names the channel keeps naming it.
  StoreStatus ReplaceChannel(int channel, std::span<const std::uint8_t> record,
                             std::span<const std::uint8_t> aux);

  // Stores typed text as a frequency (column 0 receive, 1 transmit): an empty
  // receive frequency deletes the channel, an empty transmit frequency takes
  // the transmit side away; a frequency in a channel that does not exist
  // creates the channel with its defaults. Nothing changes unless Ok is
  // returned.
  StoreStatus StoreFrequency(int channel, int which, std::string_view text);

  // --- frequency rules ----------------------------------------------------
  // Band flag handed to FrequencyToBcd: set (5000/3125 Hz steps) for UHF.
  bool BandFlag() const;
  // 1250 Hz steps: offered for the VHF bands of the K markets.
  bool Allows1250() const;
  // Limits in Hz of a frequency field (limit set 0 receive, 1 transmit).
  std::uint64_t LowerLimitHz(int which) const;
  std::uint64_t UpperLimitHz(int which) const;
  // The short grid layout and the second channel type list follow bit 2 of
  // the model option byte (clear = option board fitted).
  bool OptionBoardFitted() const { return model_.OptionBoard() == 1; }

 private:
  void WriteIndexEntry(int entry, std::uint16_t value);

  ImageStore& image_;
  ModelInfo model_;
};

// Empties all channel data: index entries 0xFFFF, records and auxiliary
// records 0xFF, no priority channel.
void ResetChannelData(ImageStore& image);

// A setting that names a channel by its number from 1 (RefDecl::param: the
// value that names none, also its RefDecl::none). Deleting the channel
// releases it; a channel replaced by a paste or a copy stays named.
extern const ReferenceKind kChannelTarget;

// To be called whenever the image is replaced (open, read from the repeater,
// new data, model change): checks the index that came in, so that a damaged
// index can be reported. The channel clipboard outlives the image.
IndexCheck ChannelImageReplaced(ImageStore& image);

}  // namespace zmp
