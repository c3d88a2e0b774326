#include "editors/ChannelStore.h"

#include <cmath>
#include <cstdio>
#include <utility>

#include "app/LanguageTexts.h"
#include "data/Frequency.h"
#include "data/NewImage.h"
#include "editors/ChannelBand.h"
#include "editors/DecimalSeparator.h"
#include "editors/FilterRules.h"
#include "editors/ToneCode.h"

namespace zmp {

using namespace chfield;
using CK = ControlKind;

const std::array<FieldRow, chfield::kCount> ChannelFieldTable{{
    {1292, 1291, 1027, 737_txt, CK::EditSpin, filter::kDigits, 2, {1, kChannelCount, 1}},
    {1279, 1281, 0, 767_txt, CK::Edit, filter::kFrequency, 10, {}},
    {1280, 1044, 0, 768_txt, CK::Edit, filter::kFrequency, 10, {}},
    {1042, 1286, 0, 789_txt, CK::DropList, 0, 0, {}},
    {1045, 1289, 0, 790_txt, CK::DropList, 0, 0, {}},
    {1039, 1283, 0, 769_txt, CK::EditCombo, filter::kOwnerRule, kToneTextMaxLength, {}},
    {1040, 1284, 0, 770_txt, CK::EditCombo, filter::kOwnerRule, kToneTextMaxLength, {}},
    {1046, 1290, 0, 764_txt, CK::EditCombo, filter::kDigits, 2, {0, 63, 1}},
    {1047, 1293, 0, 765_txt, CK::EditCombo, filter::kDigits, 2, {0, 63, 1}},
    {1041, 1049, 0, 771_txt, CK::Edit, filter::kName, 2, {}},
    {1064, 1065, 0, 776_txt, CK::DropList, 0, 0, {}},
    {1057, 1058, 0, 772_txt, CK::DropList, 0, 0, {}},
    {1328, 1062, 0, 773_txt, CK::DropList, 0, 0, {}},
    {1059, 1060, 0, 774_txt, CK::DropList, 0, 0, {}},
    {1061, 1063, 0, 708_txt, CK::DropList, 0, 0, {}},
    {1285, 1285, 0, 775_txt, CK::CheckBox, 0, 0, {}},
    {1298, 1298, 0, 51_txt, CK::Button, 0, 0, {}},
    {1341, 1341, 0, 777_txt, CK::CheckBox, 0, 0, {}},
    {1067, 1067, 0, 750_txt, CK::CheckBox, 0, 0, {}},
    {1287, 1287, 0, 778_txt, CK::CheckBox, 0, 0, {}},
    {1345, 1345, 0, 751_txt, CK::CheckBox, 0, 0, {}},
    {1142, 1142, 0, 779_txt, CK::Button, 0, 0, {}},
    {1342, 1342, 0, 791_txt, CK::CheckBox, 0, 0, {}},
    {1181, 0, 0, 780_txt, CK::GroupLabel, 0, 0, {}},
    {1346, 1346, 0, 781_txt, CK::CheckBox, 0, 0, {}},
    {1043, 1051, 1023, 782_txt, CK::EditSpin, filter::kDigits, 2, {1, 16, 1}},
}};

namespace {

constexpr int kMultiTableCount = 15;
constexpr RangeRecord kRanRange{0, 63, 1};
constexpr RangeRecord kScramblerRange{1, 16, 1};

std::string Number(long v) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "%ld", v);
  return buf;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

struct NamedRelease {
  std::string name;
  ChannelReleaseRoutine routine;
};
std::vector<NamedRelease>& ReleaseRoutines() {
  static std::vector<NamedRelease> routines;
  return routines;
}

// Byte offset in the record of a drop-down field; the operation mode is a word.
std::size_t ListFieldOffset(int field) {
  switch (field) {
    case kChannelType: return chrec::kChannelType;
    case kTxMode: return chrec::kTxMode;
    case kTxPower: return chrec::kTxPower;
    case kSpacing: return chrec::kSpacing;
    case kEncodeToneMultiple: return chrec::kEncodeToneMultiple;
    case kOperationMode: return chrec::kOperationMode;
    case kMultiTable: return chrec::kMultiTable;
    default: return 0;
  }
}

bool IsListField(int field) { return ListFieldOffset(field) != 0; }
bool IsCheckField(int field) {
  return field >= 0 && field < kCount && ChannelFieldTable[field].kind == CK::CheckBox;
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

ChannelStore::ChannelStore(ImageStore& image) : image_(image), model_(image) {}

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

std::optional<std::size_t> ChannelStore::RecordOf(int channel) const {
  if (channel < 0 || channel >= kChannelCount) return std::nullopt;
  const std::uint16_t v = IndexEntry(channel);
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

// --- option lists -------------------------------------------------------------

std::vector<OptionItem> ChannelStore::OptionList(int field, int channel) const {
  const auto rec = RecordOf(channel);
  auto main = image_.Main();
  auto item = [](int value, TextNo t) { return OptionItem{Tx(t), value}; };
  switch (field) {
    case kChannelType:
      if (!OptionBoardFitted())
        return {item(0, 792_txt), item(1, 793_txt), item(2, 794_txt)};
      return {item(1, 793_txt), item(3, 803_txt), item(4, 804_txt)};
    case kTxMode:
      return {item(0, 792_txt), item(1, 793_txt)};
    case kTxPower:
      return {item(0, 758_txt), item(1, 757_txt)};
    case kSpacing: {
      const int type = rec ? main.Byte(*rec + chrec::kChannelType) : -1;
      if (model_.IsPlainEMarket() && type == 0)
        return {item(2, 786_txt), item(3, 787_txt), item(0, 785_txt)};
      std::vector<OptionItem> list;
      if (type != 1) list.push_back(item(2, 784_txt));
      list.push_back(item(0, 785_txt));
      if (type != 0) list.push_back(item(1, 802_txt));
      return list;
    }
    case kEncodeToneMultiple:
      return {item(0, 755_txt), item(1, 756_txt)};
    case kOperationMode:
      if (SameFrequencies(channel)) return {item(1, 760_txt)};
      return {item(0, 759_txt), item(256, 761_txt), item(1, 760_txt)};
    case kMultiTable: {
      std::vector<OptionItem> list{item(0, 719_txt)};
      for (int t = 1; t <= kMultiTableCount; ++t) list.push_back({Number(t), t});
      return list;
    }
    case kScanAdd:
      return {item(0, 728_txt), item(1, 727_txt)};
    case kCwId:
      if (!HasFrequency(channel, 1)) return {item(0, 728_txt)};
      return {item(0, 728_txt), item(1, 727_txt)};
    case kUserLimit:
      return {item(255, 728_txt), item(0, 727_txt)};
    default:
      return {};
  }
}

// --- fields -------------------------------------------------------------------

FieldText ChannelStore::GetFieldText(int channel, int field) const {
  FieldText out;
  if (field == kChannel) {
    out.text = Number(channel + 1);
    out.raw = channel;
    return out;
  }
  const auto rec = RecordOf(channel);
  if (!rec || field < 0 || field >= kCount) return out;
  auto main = image_.Main();
  const std::size_t r = *rec;
  auto checkText = [&](bool ticked, long raw) {
    out.checked = ticked;
    out.raw = raw;
    out.text = Tx(ticked ? 727_txt : 728_txt);
  };
  switch (field) {
    case kRxFrequency:
    case kTxFrequency: {
      const auto bytes = main.Range(r + (field == kRxFrequency ? chrec::kRxFrequency : chrec::kTxFrequency),
                                    kFrequencyBytes);
      out.text = FrequencyText(bytes, DecimalSeparator());
      if (auto hz = UnpackFrequency(bytes)) out.raw = static_cast<long>(*hz);
      return out;
    }
    case kToneDecode:
    case kToneEncode: {
      const ToneCode c = main.Word(r + (field == kToneDecode ? chrec::kToneDecode : chrec::kToneEncode));
      out.raw = c;
      out.text = ToneCodeToText(c);
      return out;
    }
    case kRanDecode:
    case kRanEncode: {
      const std::uint16_t v = main.Word(r + (field == kRanDecode ? chrec::kRanDecode : chrec::kRanEncode));
      out.raw = v;
      if (v == 0) out.text = Tx(719_txt);
      else if (v <= kRanRange.maximum) out.text = Number(v);
      return out;
    }
    case kName:
      out.text = main.Text(r + chrec::kName, chrec::kNameLength);
      return out;
    case kMultiTable: {
      const std::uint8_t v = main.Byte(r + chrec::kMultiTable);
      out.raw = v;
      out.text = (v == 0 || v == 0xFF) ? Tx(719_txt) : Number(v);
      return out;
    }
    case kBeatShift: {
      const std::uint8_t v = main.Byte(r + chrec::kBeatShift);
      checkText((v & 1) == 0, v);
      return out;
    }
    case kReverseBurst: {
      const std::uint8_t v = main.Byte(r + chrec::kReverseBurst);
      checkText(v == 0, v);
      return out;
    }
    case kScanAdd: {
      const std::uint8_t v = main.Byte(r + chrec::kScanAdd);
      checkText(v == 1, v);
      return out;
    }
    case kCompander: {
      const std::uint8_t v = main.Byte(r + chrec::kCompander);
      checkText(v == 1, v);
      return out;
    }
    case kCwId: {
      const std::uint8_t v = main.Byte(r + chrec::kCwId);
      checkText(v == 1, v);
      return out;
    }
    case kUserLimit: {
      const std::uint8_t v = main.Byte(r + chrec::kUserLimit);
      checkText(v == 0, v);
      return out;
    }
    case kVoiceScrambler: {
      const std::uint8_t v = main.Byte(r + chrec::kVoiceScrambler);
      checkText(v == 1, v);
      return out;
    }
    case kScramblerCode: {
      const std::uint8_t v = main.Byte(r + chrec::kScramblerCode);
      out.raw = v;
      if (v >= kScramblerRange.minimum && v <= kScramblerRange.maximum) out.text = Number(v);
      return out;
    }
    default:
      break;
  }
  if (IsListField(field)) {
    const std::size_t off = r + ListFieldOffset(field);
    const long v = field == kOperationMode ? main.Word(off) : main.Byte(off);
    out.raw = v;
    for (const auto& it : OptionList(field, channel))
      if (it.value == v) out.text = it.text;
    if (out.text.empty() && field == kSpacing) {
      // A value that the filtered list leaves out is still shown by its name.
      for (auto [value, t] : {std::pair{2, 784_txt}, {0, 785_txt}, {1, 802_txt}, {3, 787_txt}})
        if (value == v) out.text = Tx(t);
    }
    if (out.text.empty() && field == kChannelType) {
      for (auto [value, t] : {std::pair{0, 792_txt}, {1, 793_txt}, {2, 794_txt}, {3, 803_txt}, {4, 804_txt}})
        if (value == v) out.text = Tx(t);
    }
  }
  return out;
}

StoreStatus ChannelStore::SetFieldText(int channel, int field, std::string_view text) {
  if (channel < 0 || channel >= kChannelCount || field < 0 || field >= kCount) return StoreStatus::NotEditable;
  if (field == kRxFrequency || field == kTxFrequency)
    return SetFrequency(channel, field == kRxFrequency ? 0 : 1, text);
  const auto kind = ChannelFieldTable[field].kind;
  if (kind == CK::Button || kind == CK::GroupLabel || field == kChannel) return StoreStatus::NotEditable;
  const auto rec = RecordOf(channel);
  if (!rec) return StoreStatus::NoChannel;
  if (!IsApplicable(channel, field)) return StoreStatus::NotApplicable;
  auto main = image_.Main();
  const std::size_t r = *rec;

  if (IsListField(field)) {
    for (const auto& it : OptionList(field, channel))
      if (it.text == text) return SetFieldValue(channel, field, it.value);
    return StoreStatus::BadText;
  }
  if (IsCheckField(field)) {
    if (text == Tx(727_txt)) return SetFieldValue(channel, field, 1);
    if (text == Tx(728_txt)) return SetFieldValue(channel, field, 0);
    return StoreStatus::BadText;
  }
  switch (field) {
    case kToneDecode:
    case kToneEncode: {
      const std::string_view t = Trim(text);
      if (t != Tx(719_txt)) {
        for (char c : t)
          if (!ToneKeyFilter(c)) return StoreStatus::BadText;
      }
      main.SetWord(r + (field == kToneDecode ? chrec::kToneDecode : chrec::kToneEncode), TextToToneCode(t));
      return StoreStatus::Ok;
    }
    case kRanDecode:
    case kRanEncode: {
      const std::string_view t = Trim(text);
      long value = 0;
      if (t != Tx(719_txt)) {
        const auto v = CommitNumber(t, kRanRange);
        if (!v) return StoreStatus::BadText;
        value = *v;
      }
      main.SetWord(r + (field == kRanDecode ? chrec::kRanDecode : chrec::kRanEncode),
                   static_cast<std::uint16_t>(value));
      return StoreStatus::Ok;
    }
    case kName: {
      if (text.size() > chrec::kNameLength) return StoreStatus::BadText;
      if (!FilterInsert(filter::kName, text, FilterContext{})) return StoreStatus::BadText;
      main.SetText(r + chrec::kName, chrec::kNameLength, text);
      return StoreStatus::Ok;
    }
    case kScramblerCode: {
      const auto v = CommitNumber(text, kScramblerRange);
      if (!v) return StoreStatus::BadText;
      main.SetByte(r + chrec::kScramblerCode, static_cast<std::uint8_t>(*v));
      return StoreStatus::Ok;
    }
    default:
      return StoreStatus::NotEditable;
  }
}

StoreStatus ChannelStore::SetFieldValue(int channel, int field, long value) {
  if (channel < 0 || channel >= kChannelCount || field < 0 || field >= kCount) return StoreStatus::NotEditable;
  const auto rec = RecordOf(channel);
  if (!rec) return StoreStatus::NoChannel;
  if (!IsApplicable(channel, field)) return StoreStatus::NotApplicable;
  auto main = image_.Main();
  const std::size_t r = *rec;
  if (IsListField(field)) {
    bool listed = false;
    for (const auto& it : OptionList(field, channel)) listed = listed || it.value == value;
    if (!listed) return StoreStatus::BadText;
    if (field == kOperationMode) main.SetWord(r + chrec::kOperationMode, static_cast<std::uint16_t>(value));
    else main.SetByte(r + ListFieldOffset(field), static_cast<std::uint8_t>(value));
    return StoreStatus::Ok;
  }
  const bool ticked = value != 0;
  switch (field) {
    case kBeatShift: main.SetBit(r + chrec::kBeatShift, 0, !ticked); return StoreStatus::Ok;
    case kReverseBurst: main.SetByte(r + chrec::kReverseBurst, ticked ? 0 : 1); return StoreStatus::Ok;
    case kScanAdd: main.SetByte(r + chrec::kScanAdd, ticked ? 1 : 0); return StoreStatus::Ok;
    case kCompander: main.SetByte(r + chrec::kCompander, ticked ? 1 : 0); return StoreStatus::Ok;
    case kCwId:
      // A channel without a transmit frequency cannot send its CW ID.
      if (ticked && !HasFrequency(channel, 1)) return StoreStatus::BadText;
      main.SetByte(r + chrec::kCwId, ticked ? 1 : 0);
      return StoreStatus::Ok;
    case kUserLimit: main.SetByte(r + chrec::kUserLimit, ticked ? 0 : 0xFF); return StoreStatus::Ok;
    case kVoiceScrambler: main.SetByte(r + chrec::kVoiceScrambler, ticked ? 1 : 0); return StoreStatus::Ok;
    case kRanDecode:
    case kRanEncode:
      main.SetWord(r + (field == kRanDecode ? chrec::kRanDecode : chrec::kRanEncode),
                   static_cast<std::uint16_t>(LimitToRange(value, kRanRange)));
      return StoreStatus::Ok;
    case kScramblerCode:
      main.SetByte(r + chrec::kScramblerCode, static_cast<std::uint8_t>(LimitToRange(value, kScramblerRange)));
      return StoreStatus::Ok;
    default:
      return StoreStatus::NotEditable;
  }
}

// --- frequencies --------------------------------------------------------------

bool ChannelStore::BandFlag() const { return model_.IsUhf(); }

bool ChannelStore::Allows1250() const { return model_.VhfUhf() == 0 && model_.IsKMarket(); }

std::uint64_t ChannelStore::LowerLimitHz(int which) const {
  return static_cast<std::uint64_t>(std::llround(model_.Lower(which ? 1 : 0) * 1e6));
}

std::uint64_t ChannelStore::UpperLimitHz(int which) const {
  return static_cast<std::uint64_t>(std::llround(model_.Upper(which ? 1 : 0) * 1e6));
}

StoreStatus ChannelStore::SetFrequency(int channel, int which, std::string_view input) {
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
  if (main.Byte(kPriorityChannelByte) == channel + 1) main.SetByte(kPriorityChannelByte, 0xFF);
  const auto routines = ReleaseRoutines();
  for (const auto& r : routines)
    if (r.routine) r.routine(image_, channel);
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
  if (Exists(destination)) {
    const StoreStatus s = DeleteChannel(destination);
    if (s != StoreStatus::Ok) return s;
  }
  if (record.empty()) return StoreStatus::Ok;
  const StoreStatus s = CreateChannel(destination);
  if (s != StoreStatus::Ok) return s;
  return WriteChannel(destination, record, aux);
}

// --- image-wide ---------------------------------------------------------------

void AddChannelReleaseRoutine(const std::string& name, ChannelReleaseRoutine routine) {
  for (auto& r : ReleaseRoutines()) {
    if (r.name == name) {
      r.routine = std::move(routine);
      return;
    }
  }
  ReleaseRoutines().push_back({name, std::move(routine)});
}

void RemoveChannelReleaseRoutine(const std::string& name) {
  std::erase_if(ReleaseRoutines(), [&](const NamedRelease& r) { return r.name == name; });
}

void ResetChannelData(ImageStore& image) {
  auto main = image.Main();
  main.Fill(kChannelIndexOffset, 2 * kChannelIndexEntries, 0xFF);
  main.Fill(kRecordAreaStart, kRecordAreaEnd - kRecordAreaStart, 0xFF);
  main.Fill(AuxRecordOffset(0), kAuxRecordSize * kChannelCount, 0xFF);
  main.SetByte(kPriorityChannelByte, 0xFF);
}

IndexCheck ChannelImageReplaced(ImageStore& image) { return ChannelStore(image).CheckIndex(); }

namespace {
// A new band keeps the channels: their frequencies are stored again for it
// (the main frame names those outside it).
const DefaultRoutineRegistration kChannelBandDefaults(DefaultStage::ChannelBand, "channels",
                                                      [](ImageStore& image) { RestoreChannelsForBand(image); });
}  // namespace

}  // namespace zmp
