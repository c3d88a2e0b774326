#include "editors/ChannelStore.h"

#include <cmath>
#include <cstdio>
#include <utility>

#include "lang/LanguageTexts.h"
#include "data/Frequency.h"
#include "data/NewImage.h"
#include "editors/ChannelClipboard.h"
#include "editors/ChannelFields.h"
#include "editors/EditorModules.h"
#include "fields/FieldCodec.h"
#include "fields/DecimalSeparator.h"
#include "fields/FilterRules.h"
#include "fields/ToneCode.h"
#include "editors/ChannelBand.h"

namespace zmp {

using namespace chfield;
using CK = ControlKind;

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

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

TextNo MessageOf(StoreStatus s) {
  switch (s) {
    case StoreStatus::Ok: return 0_txt;
    case StoreStatus::NotAFrequency: return 749_txt;
    case StoreStatus::OutOfBand: return 656_txt;
    case StoreStatus::BadText: return 752_txt;
    case StoreStatus::NotApplicable: return 753_txt;
    case StoreStatus::NoChannel: return 783_txt;
    case StoreStatus::IndexDamaged: return 748_txt;
    case StoreStatus::NoRoom: return 788_txt;
    case StoreStatus::NotEditable: return 0_txt;
    case StoreStatus::SameChannel: return 795_txt;
  }
  return 0_txt;
}

ChannelStore::ChannelStore(ImageStore& image) : image_(image), model_(image) {
  // Every program that keeps channels makes new images with the editors'
  // defaults: this links the module list, which attaches them.
  static const bool installed = (InstallEditorModules(), true);
  (void)installed;
}

// --- index ------------------------------------------------------------------

std::uint16_t ChannelStore::IndexEntry(int entry) const {
  if (entry < 0 || entry >= kChannelIndexEntries) return kNoRecord;
  return image_.Main().Word(kChannelIndexOffset + 2 * static_cast<std::size_t>(entry));
}

void ChannelStore::WriteIndexEntry(int entry, std::uint16_t value) {
  image_.Main().SetWord(kChannelIndexOffset + 2 * static_cast<std::size_t>(entry), value);
}

IndexCheck ChannelStore::CheckIndex() const {
  IndexCheck out;
  for (int ch = 0; ch < kChannelCount; ++ch) {
    const std::uint16_t v = IndexEntry(ch);
    if (v == kNoRecord) continue;
    bool bad = !IsValidRecordOffset(v);
    bool duplicate = false;
    for (int other = 0; !bad && other < ch; ++other) duplicate = duplicate || IndexEntry(other) == v;
    if (bad || duplicate) {
      out.sound = false;
      out.channel = ch;
      out.value = v;
      out.duplicate = duplicate;
      return out;
    }
  }
  return out;
}

std::optional<std::size_t> ChannelStore::RecordOf(const ImageStore& image, int channel) {
  if (channel < 0 || channel >= kChannelCount) return std::nullopt;
  const std::uint16_t v = image.Main().Word(kChannelIndexOffset + 2 * static_cast<std::size_t>(channel));
  if (!IsValidRecordOffset(v)) return std::nullopt;
  return static_cast<std::size_t>(v);
}

int ChannelStore::ExistingCount() const {
  int n = 0;
  for (int ch = 0; ch < kChannelCount; ++ch) n += Exists(ch) ? 1 : 0;
  return n;
}

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

bool ChannelStore::IsApplicable(int channel, int field) const {
  const auto rec = RecordOf(channel);
  if (!rec) return true;
  const std::uint8_t type = image_.Main().Byte(*rec + chrec::kChannelType);
  if (field == kToneDecode || field == kToneEncode) return type != 1;
  if (field == kRanDecode || field == kRanEncode) return type != 0;
  return true;
}

// --- fields, through the channel edit form's declarations -----------------------

namespace {

FieldRef FormField(int channel, int field) {
  return FieldRef{&ChannelEditTable(), &ChannelFieldTable[static_cast<std::size_t>(field)], channel};
}

bool IsFormField(int field) { return field >= 0 && field < kCount; }

StoreStatus StatusOf(const CommitResult& r) {
  switch (r.status) {
    case CommitStatus::Ok: return StoreStatus::Ok;
    case CommitStatus::NotEditable: return StoreStatus::NotEditable;
    case CommitStatus::NotApplicable: return StoreStatus::NotApplicable;
    case CommitStatus::Refused: break;
  }
  for (StoreStatus s : {StoreStatus::NotAFrequency, StoreStatus::OutOfBand, StoreStatus::NotApplicable,
                        StoreStatus::NoChannel, StoreStatus::IndexDamaged, StoreStatus::NoRoom,
                        StoreStatus::SameChannel})
    if (MessageOf(s) == r.message) return s;
  return StoreStatus::BadText;
}

}  // namespace

std::vector<OptionItem> ChannelStore::OptionList(int field, int channel) const {
  if (!IsFormField(field)) return {};
  return FieldChoices(FormField(channel, field), image_);
}

FieldText ChannelStore::GetFieldText(int channel, int field) const {
  FieldText out;
  if (field == kChannel) {
    out.text = std::to_string(channel + 1);
    out.raw = channel;
    return out;
  }
  if (!IsFormField(field) || !Exists(channel)) return out;
  const FieldDecl& d = ChannelFieldTable[static_cast<std::size_t>(field)];
  FieldView v = ShowField(FormField(channel, field), image_);
  if (!v.applicable) {
    // The form shows (disabled) what a field that does not apply holds; the
    // grid shows "---".
    FieldDecl bare = d;
    bare.hooks = nullptr;
    v = ShowField(FieldRef{&ChannelEditTable(), &bare, channel}, image_);
  }
  out.raw = v.raw.value_or(-1);
  out.text = v.text;
  if (d.kind == ControlKind::CheckBox) {
    out.checked = v.checked;
    out.text = Tx(v.checked ? 727_txt : 728_txt);
  }
  return out;
}

StoreStatus ChannelStore::SetFieldText(int channel, int field, std::string_view text) {
  if (channel < 0 || channel >= kChannelCount || !IsFormField(field)) return StoreStatus::NotEditable;
  const FieldDecl& d = ChannelFieldTable[static_cast<std::size_t>(field)];
  if (!d.HasValue()) return StoreStatus::NotEditable;
  if (d.storage != Storage::Custom && !Exists(channel)) return StoreStatus::NoChannel;
  // What does not fit the field's edit is refused rather than cut.
  if (d.storage == Storage::Text && d.maxLength > 0 && text.size() > static_cast<std::size_t>(d.maxLength))
    return StoreStatus::BadText;
  return StatusOf(CommitFieldText(FormField(channel, field), image_, text));
}

StoreStatus ChannelStore::SetFieldValue(int channel, int field, long value) {
  if (channel < 0 || channel >= kChannelCount || !IsFormField(field)) return StoreStatus::NotEditable;
  const FieldDecl& d = ChannelFieldTable[static_cast<std::size_t>(field)];
  if (!d.HasValue()) return StoreStatus::NotEditable;
  if (!Exists(channel)) return StoreStatus::NoChannel;
  const FieldRef ref = FormField(channel, field);
  if (d.kind == ControlKind::CheckBox) return StatusOf(CommitFieldCheck(ref, image_, value != 0));
  if (d.kind == ControlKind::DropList) return StatusOf(CommitFieldChoice(ref, image_, value));
  return StatusOf(CommitFieldText(ref, image_, std::to_string(value)));
}

// --- frequencies --------------------------------------------------------------

bool ChannelStore::BandFlag() const { return model_.IsUhf(); }

bool ChannelStore::Allows1250() const { return model_.Allows1250Hz(); }

std::uint64_t ChannelStore::LowerLimitHz(int which) const {
  return static_cast<std::uint64_t>(std::llround(model_.Lower(which ? 1 : 0) * 1e6));
}

std::uint64_t ChannelStore::UpperLimitHz(int which) const {
  return static_cast<std::uint64_t>(std::llround(model_.Upper(which ? 1 : 0) * 1e6));
}

StoreStatus ChannelStore::StoreFrequency(int channel, int which, std::string_view input) {
  const std::string_view text = Trim(input);
  auto main = image_.Main();
  if (text.empty()) {
    if (!Exists(channel)) return StoreStatus::Ok;
    if (which == 0) return DeleteChannel(channel);
    // No transmit frequency: the channel only receives; what belongs to the
    // transmit side goes with it.
    const std::size_t r = *RecordOf(channel);
    main.Fill(r + chrec::kTxFrequency, kFrequencyBytes, 0xFF);
    main.SetByte(r + chrec::kTxStep, kNoStep);
    main.SetByte(r + chrec::kTxSplit, 0xFF);
    main.SetWord(r + chrec::kToneEncode, kToneOff);
    main.SetWord(r + chrec::kRanEncode, 0);
    return StoreStatus::Ok;
  }
  const auto typed = ParseMegahertz(text);
  const auto encoded = FrequencyToBcd(text, BandFlag(), Allows1250());
  if (!typed || !encoded) return StoreStatus::NotAFrequency;
  if (encoded->hz < LowerLimitHz(which) || *typed > UpperLimitHz(which)) return StoreStatus::OutOfBand;
  if (!Exists(channel)) {
    const StoreStatus s = CreateChannelWithDefaults(channel);
    if (s != StoreStatus::Ok) return s;
  }
  const std::size_t r = *RecordOf(channel);
  main.Write(r + (which ? chrec::kTxFrequency : chrec::kRxFrequency), encoded->bytes);
  main.SetByte(r + (which ? chrec::kTxStep : chrec::kRxStep), encoded->stepCode);
  main.SetByte(r + (which ? chrec::kTxSplit : chrec::kRxSplit),
               SplitFlag(encoded->hz, model_.IsUhf(), model_.BandNumberOfRecord(), which));
  return StoreStatus::Ok;
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

// --- image-wide ---------------------------------------------------------------

void ResetChannelData(ImageStore& image) {
  auto main = image.Main();
  main.Fill(kChannelIndexOffset, 2 * kChannelIndexEntries, 0xFF);
  main.Fill(kRecordAreaStart, kRecordAreaEnd - kRecordAreaStart, 0xFF);
  main.Fill(AuxRecordOffset(0), kAuxRecordSize * kChannelCount, 0xFF);
  main.SetByte(kPriorityChannelByte, 0xFF);
}

IndexCheck ChannelImageReplaced(ImageStore& image) { return ChannelStore(image).CheckIndex(); }

// --- a setting that names a channel -------------------------------------------------

namespace {

Target ResolveChannel(const FieldAt& at, long stored, int none) {
  if (stored == none) return {};
  const std::string name = std::to_string(stored);
  if (stored >= 1 && stored <= kChannelCount && ChannelStore::RecordOf(at.image, static_cast<int>(stored - 1)))
    return {Target::State::Present, name};
  return {Target::State::Missing, name, 310_txt};
}

constexpr std::array<BlockBytes, 1> kIndexBytes{{{kChannelIndexOffset, 2 * kChannelIndexEntries}}};

}  // namespace

const ReferenceKind kChannelTarget{.key = "channel", .resolve = ResolveChannel, .reads = kIndexBytes};

}  // namespace zmp
