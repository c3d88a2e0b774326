// The channel records: packed in channel order in the record area, created
// with their defaults, deleted, copied and replaced whole; the auxiliary
// records beside them; what a record holds.
#include <cstdio>

#include "data/Frequency.h"
#include "editors/ChannelStore.h"
#include "fields/ToneCode.h"

namespace zmp {

namespace {

// The channel defaults depend on the record layout only; every byte not named
// stays 0xFF.
void WriteDefaults(BlockRef main, std::size_t rec, int channel) {
  char name[8];
  std::snprintf(name, sizeof name, "%2d", (channel + 1) % 100);
  main.SetText(rec + chrec::kName, chrec::kNameLength, name);
  main.SetByte(rec + chrec::kSpacing, 0);
  main.SetBit(rec + chrec::kBeatShift, 0, true);
  main.SetByte(rec + chrec::kTxPower, 0);
  main.SetByte(rec + chrec::kReverseBurst, 0);
  main.SetWord(rec + chrec::kOperationMode, 0x0100);
  main.SetByte(rec + chrec::kScanAdd, 0);
  main.SetByte(rec + chrec::kVoiceScrambler, 0);
  main.SetByte(rec + chrec::kCompander, 0);
  main.SetByte(rec + chrec::kMultiTable, 0);
  main.SetByte(rec + chrec::kCwId, 0);
  main.SetByte(rec + chrec::kChannelType, 1);
  main.SetWord(rec + chrec::kRanDecode, 0);
  main.SetWord(rec + chrec::kRanEncode, 0);
  main.SetByte(rec + chrec::kEncodeToneMultiple, 1);
  main.SetByte(rec + chrec::kScramblerCode, 1);
  main.SetWord(rec + chrec::kAuxOffset, static_cast<std::uint16_t>(AuxRecordOffset(channel)));
  // Per-channel CW ID timing.
  main.SetByte(rec + chrec::kCwModDelay, 60);
  main.SetByte(rec + 0x34, 30);
  main.SetByte(rec + 0x35, 50);
  main.Fill(rec + 0x36, 4, 0);
  main.SetByte(rec + 0x3A, 20);
  main.SetByte(rec + 0x3B, 80);
  main.SetByte(rec + 0x3C, 0);
}

}  // namespace

// --- record queries ---------------------------------------------------------

bool ChannelStore::HasFrequency(int channel, int which) const {
  const auto rec = RecordOf(channel);
  if (!rec) return false;
  return !image_.Main().IsAll(*rec + (which ? chrec::kTxFrequency : chrec::kRxFrequency),
                              kFrequencyBytes, 0xFF);
}

bool ChannelStore::SameFrequencies(int channel) const {
  const auto rec = RecordOf(channel);
  if (!rec) return false;
  return image_.Main().Read(*rec + chrec::kRxFrequency, kFrequencyBytes) ==
         image_.Main().Read(*rec + chrec::kTxFrequency, kFrequencyBytes);
}

bool ChannelStore::HasTone(int channel, int which) const {
  const auto rec = RecordOf(channel);
  if (!rec) return false;
  return image_.Main().Word(*rec + (which ? chrec::kToneEncode : chrec::kToneDecode)) != kToneOff;
}

bool ChannelStore::HasRan(int channel, int which) const {
  const auto rec = RecordOf(channel);
  if (!rec) return false;
  const std::uint16_t v = image_.Main().Word(*rec + (which ? chrec::kRanEncode : chrec::kRanDecode));
  return v != 0 && v != 0xFFFF;
}

// --- channels -----------------------------------------------------------------

StoreStatus ChannelStore::CreateChannel(int channel) {
  if (channel < 0 || channel >= kChannelCount) return StoreStatus::NotEditable;
  if (!CheckIndex().sound) return StoreStatus::IndexDamaged;
  if (Exists(channel)) return StoreStatus::NotEditable;  // delete it first
  // Packed position: after the records of the existing channels below.
  int below = 0;
  for (int ch = 0; ch < channel; ++ch) below += Exists(ch) ? 1 : 0;
  const std::size_t pos = kRecordAreaStart + kChannelRecordSize * static_cast<std::size_t>(below);
  // The top slot is pushed out by the move: it must be free.
  for (int e = 0; e < kChannelIndexEntries; ++e)
    if (IndexEntry(e) == kLastRecordOffset) return StoreStatus::NoRoom;
  auto main = image_.Main();
  main.Move(pos + kChannelRecordSize, pos, kRecordAreaEnd - pos - kChannelRecordSize);
  main.Fill(pos, kChannelRecordSize, 0xFF);
  // Every record at or above pos moved up by one slot, whichever channel owns it.
  for (int e = 0; e < kChannelIndexEntries; ++e) {
    const std::uint16_t v = IndexEntry(e);
    if (e != channel && IsValidRecordOffset(v) && v >= pos)
      WriteIndexEntry(e, static_cast<std::uint16_t>(v + kChannelRecordSize));
  }
  WriteIndexEntry(channel, static_cast<std::uint16_t>(pos));
  return StoreStatus::Ok;
}

void ChannelStore::ApplyChannelDefaults(int channel) {
  if (const auto rec = RecordOf(channel)) WriteDefaults(image_.Main(), *rec, channel);
}

StoreStatus ChannelStore::CreateChannelWithDefaults(int channel) {
  const StoreStatus s = CreateChannel(channel);
  if (s == StoreStatus::Ok) ApplyChannelDefaults(channel);
  return s;
}

StoreStatus ChannelStore::DeleteChannel(int channel) {
  if (channel < 0 || channel >= kChannelCount) return StoreStatus::NotEditable;
  if (!CheckIndex().sound) return StoreStatus::IndexDamaged;
  const auto rec = RecordOf(channel);
  if (!rec) return StoreStatus::NoChannel;
  auto main = image_.Main();
  const std::size_t pos = *rec;
  main.Move(pos, pos + kChannelRecordSize, kRecordAreaEnd - pos - kChannelRecordSize);
  main.Fill(kLastRecordOffset, kChannelRecordSize, 0xFF);
  WriteIndexEntry(channel, kNoRecord);
  for (int e = 0; e < kChannelIndexEntries; ++e) {
    const std::uint16_t v = IndexEntry(e);
    if (IsValidRecordOffset(v) && v > pos)
      WriteIndexEntry(e, static_cast<std::uint16_t>(v - kChannelRecordSize));
  }
  main.Fill(AuxRecordOffset(channel), kAuxRecordSize, 0xFF);
  return StoreStatus::Ok;
}

std::vector<std::uint8_t> ChannelStore::ReadRecord(int channel) const {
  const auto rec = RecordOf(channel);
  if (!rec) return {};
  return image_.Main().Read(*rec, kChannelRecordSize);
}

std::vector<std::uint8_t> ChannelStore::ReadAuxRecord(int channel) const {
  if (!Exists(channel)) return {};
  return image_.Main().Read(AuxRecordOffset(channel), kAuxRecordSize);
}

StoreStatus ChannelStore::WriteChannel(int channel, std::span<const std::uint8_t> record,
                                       std::span<const std::uint8_t> aux) {
  const auto rec = RecordOf(channel);
  if (!rec) return StoreStatus::NoChannel;
  if (record.size() != kChannelRecordSize || aux.size() != kAuxRecordSize) return StoreStatus::BadText;
  auto main = image_.Main();
  main.Write(*rec, record);
  main.SetWord(*rec + chrec::kAuxOffset, static_cast<std::uint16_t>(AuxRecordOffset(channel)));
  main.Write(AuxRecordOffset(channel), aux);
  return StoreStatus::Ok;
}

StoreStatus ChannelStore::CopyChannel(int source, int destination) {
  if (source < 0 || source >= kChannelCount || destination < 0 || destination >= kChannelCount)
    return StoreStatus::NotEditable;
  if (source == destination) return StoreStatus::SameChannel;
  if (!CheckIndex().sound) return StoreStatus::IndexDamaged;
  // The source bytes are taken before any record moves.
  const auto record = ReadRecord(source);
  const auto aux = ReadAuxRecord(source);
  if (record.empty()) return Exists(destination) ? DeleteChannel(destination) : StoreStatus::Ok;
  return ReplaceChannel(destination, record, aux);
}

StoreStatus ChannelStore::ReplaceChannel(int channel, std::span<const std::uint8_t> record,
                                         std::span<const std::uint8_t> aux) {
  if (channel < 0 || channel >= kChannelCount) return StoreStatus::NotEditable;
  if (record.size() != kChannelRecordSize || aux.size() != kAuxRecordSize) return StoreStatus::BadText;
  if (Exists(channel)) {
    const StoreStatus s = DeleteChannel(channel);
    if (s != StoreStatus::Ok) return s;
  }
  StoreStatus s = CreateChannel(channel);
  if (s == StoreStatus::Ok) s = WriteChannel(channel, record, aux);
  return s;
}

void ResetChannelData(ImageStore& image) {
  auto main = image.Main();
  main.Fill(kChannelIndexOffset, 2 * kChannelIndexEntries, 0xFF);
  main.Fill(kRecordAreaStart, kRecordAreaEnd - kRecordAreaStart, 0xFF);
  main.Fill(AuxRecordOffset(0), kAuxRecordSize * kChannelCount, 0xFF);
  main.SetByte(kPriorityChannelByte, 0xFF);
}

}  // namespace zmp
