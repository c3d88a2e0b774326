#include "editors/FiveToneFields.h"

#include <array>

#include "editors/EditorKinds.h"
#include "editors/FiveToneTable.h"
#include "fields/FilterRules.h"

namespace zmp {

namespace {

using CK = ControlKind;
using namespace fivetone;

// Control ids: tab t, row r -> caption 6000 + 100t + r, value 7000 + 100t + r.
constexpr int Label(int tab, int row) { return 6000 + 100 * tab + row; }
constexpr int Value(int tab, int row) { return 7000 + 100 * tab + row; }
constexpr int Help(int tab, int row) { return 82000 + 100 * tab + row; }

constexpr std::uint16_t kBlankWord = 0xFFFF;

// --- references into the encode/decode table -----------------------------------------

std::vector<ShownChoice> DecodeReferences(const FieldAt& at) {
  return ReferenceChoices(at.image, FiveTonePart::Decode, 719_txt);
}
std::vector<ShownChoice> EncodeReferences(const FieldAt& at) {
  return ReferenceChoices(at.image, FiveTonePart::Encode, 719_txt);
}
constexpr FieldHooks kDecodeReferenceHooks{.choices = DecodeReferences};
constexpr FieldHooks kEncodeReferenceHooks{.choices = EncodeReferences};
constexpr RefDecl kDecodeReference = FiveToneReference(FiveTonePart::Decode);
constexpr RefDecl kEncodeReference = FiveToneReference(FiveTonePart::Encode);

// --- the auto reset timer: the repeater takes Off as 0xFFFF ------------------------------

void KeepOffAsBlank(const FieldAt& at) {
  const BlockRef main = at.Writable().Main();
  if (main.Word(at.offset()) == 0) main.SetWord(at.offset(), kBlankWord);
}
void OffStoredAsBlank(const FieldAt& at, long, long after) {
  if (after == 0) KeepOffAsBlank(at);
}
constexpr FieldHooks kAutoResetHooks{.afterCommit = OffStoredAsBlank, .normalise = KeepOffAsBlank};

// --- choices ------------------------------------------------------------------------------

constexpr std::array<Choice, 6> kToneStandards{{{0, 1042_txt}, {1, 1043_txt}, {2, 1044_txt},
                                                {3, 1045_txt}, {4, 1046_txt}, {5, 1047_txt}}};
constexpr std::array<Choice, 5> kGroupTones{
    {{0xFF, 724_txt}, {0x30, {0}, "0"}, {0x41, {0}, "A"}, {16, 1058_txt}, {26, 1059_txt}}};
constexpr std::array<Choice, 2> kMonitorFunctions{{{0, 1049_txt}, {1, 706_txt}}};
constexpr std::array<Choice, 4> kMuteMonitorTones{
    {{0xFF, 724_txt}, {0x42, {0}, "B"}, {0x43, {0}, "C"}, {0x44, {0}, "D"}}};

// --- declarations ----------------------------------------------------------------------------

constexpr OffRule kOff{724_txt, 1};
constexpr OffRule kNone{1055_txt, 1};
constexpr CheckRule kTickedWhenClear{0, 1};
constexpr CheckRule kTickedWhenSet{1, 0};

constexpr FieldDecl Heading(std::string_view key, TextNo text, int tab, int row) {
  return FieldDecl{.key = key, .label = text, .kind = CK::GroupLabel, .storage = Storage::None,
                   .labelId = Label(tab, row)};
}

constexpr FieldDecl Number(std::string_view key, TextNo label, Storage storage, std::size_t offset,
                           RangeRecord range, int tab, int row, OffRule off = {}, bool blankReadsZero = false,
                           const FieldHooks* hooks = nullptr) {
  return FieldDecl{.key = key, .label = label, .kind = CK::EditSpin, .storage = storage, .offset = offset,
                   .range = range, .off = off, .blankReadsZero = blankReadsZero, .filter = filter::kDigits,
                   .maxLength = range.maximum > 999 ? 4 : 3, .labelId = Label(tab, row), .valueId = Value(tab, row),
                   .helpContext = Help(tab, row), .hooks = hooks};
}

constexpr FieldDecl List(std::string_view key, TextNo label, std::size_t offset, std::span<const Choice> choices,
                         int tab, int row) {
  return FieldDecl{.key = key, .label = label, .kind = CK::DropList, .storage = Storage::Byte, .offset = offset,
                   .choices = choices, .labelId = Label(tab, row), .valueId = Value(tab, row),
                   .helpContext = Help(tab, row)};
}

constexpr FieldDecl Reference(std::string_view key, TextNo label, std::size_t offset, FiveTonePart part, int tab,
                              int row) {
  return FieldDecl{.key = key, .label = label, .kind = CK::DropList, .storage = Storage::Byte, .offset = offset,
                   .labelId = Label(tab, row), .valueId = Value(tab, row), .helpContext = Help(tab, row),
                   .hooks = part == FiveTonePart::Decode ? &kDecodeReferenceHooks : &kEncodeReferenceHooks,
                   .refers = part == FiveTonePart::Decode ? &kDecodeReference : &kEncodeReference};
}

constexpr FieldDecl Check(std::string_view key, TextNo label, std::size_t offset, int bit, CheckRule rule, int tab,
                          int row, int labelNumber = 0) {
  return FieldDecl{.key = key, .label = label, .labelNumber = labelNumber, .kind = CK::CheckBox,
                   .storage = Storage::Bit, .offset = offset, .bit = bit, .check = rule,
                   .labelId = Label(tab, row), .valueId = Value(tab, row), .helpContext = Help(tab, row)};
}

constexpr FieldDecl GroupDigit(std::string_view key, int digit) {
  return Check(key, 1061_txt, kGroupDigits, digit - 1, kTickedWhenClear, 0, 5 + digit, digit);
}

// Tab 0: the system. Rows 4-5 of the form (the digit captions and their
// heading) are one heading here: each check box carries its digit.
constexpr std::array<FieldDecl, 14> kSystemFields{{
    List("tone_standard_type", 1004_txt, kToneStandard, kToneStandards, 0, 0),
    Number("tone_period", 1005_txt, Storage::Byte, kTonePeriod, {20, 255, 1}, 0, 1),
    Number("receive_gap_period", 1006_txt, Storage::Word, kReceiveGap, {0, 640, 1}, 0, 2),
    List("group_tone", 1007_txt, kGroupTone, kGroupTones, 0, 3),
    Heading("selectable_group_digit", 1060_txt, 0, 5),
    GroupDigit("group_digit_1", 1), GroupDigit("group_digit_2", 2), GroupDigit("group_digit_3", 3),
    GroupDigit("group_digit_4", 4), GroupDigit("group_digit_5", 5), GroupDigit("group_digit_6", 6),
    GroupDigit("group_digit_7", 7), GroupDigit("group_digit_8", 8),
    {.key = "vendor_tone", .label = 707_txt, .kind = CK::Button, .storage = Storage::None,
     .valueId = Value(0, 14), .helpContext = Help(0, 14)},
}};

// Tab 1: decode. 20 rows.
constexpr std::array<FieldDecl, 20> kDecodeFields{{
    Reference("decode_code", 1017_txt, kDecodeCode, FiveTonePart::Decode, 1, 0),
    Reference("transpond_code", 1018_txt, kTranspondCode, FiveTonePart::Encode, 1, 1),
    Number("alert_tone", 1063_txt, Storage::Byte, kAlertTone, {0, 255, 1}, 1, 2, kNone),
    List("monitor_function", 1022_txt, kMonitorFunction, kMonitorFunctions, 1, 3),
    List("mute_monitor_tone", 1023_txt, kMuteMonitorTone, kMuteMonitorTones, 1, 4),
    Number("min_mute_tone_period", 1024_txt, Storage::Word, kMinMuteTonePeriod, {20, 7000, 1}, 1, 5),
    Check("clear_to_transpond", 1019_txt, kDecodeFlags, 0, kTickedWhenClear, 1, 6),
    Check("led", 1020_txt, kDecodeFlags, 5, kTickedWhenClear, 1, 7),
    Check("alert_tone_on", 1021_txt, kDecodeFlags, 7, kTickedWhenClear, 1, 8),
    Check("monitor", 1030_txt, kDecodeFlags, 6, kTickedWhenClear, 1, 9),
    Check("on_hook_reset", 1056_txt, kDecodeFlags, 4, kTickedWhenClear, 1, 10),
    Heading("auto_reset", 1025_txt, 1, 11),
    Number("auto_reset_timer", 1026_txt, Storage::Word, kAutoResetTimer, {0, 300, 1}, 1, 12, kOff, true,
           &kAutoResetHooks),
    Check("auto_reset_alert", 1027_txt, kDecodeFlags, 2, kTickedWhenClear, 1, 13),
    Check("auto_reset_led", 1020_txt, kDecodeFlags, 3, kTickedWhenClear, 1, 14),
    Check("auto_reset_monitor", 1030_txt, kDecodeFlags, 1, kTickedWhenClear, 1, 15),
    Heading("repeater_access", 1013_txt, 1, 16),
    Reference("repeater_open", 1014_txt, kRepeaterOpen, FiveTonePart::Decode, 1, 17),
    Reference("repeater_close", 1015_txt, kRepeaterClose, FiveTonePart::Decode, 1, 18),
    Number("disable_repeat_timer", 1016_txt, Storage::Word, kDisableRepeatTimer, {0, 300, 1}, 1, 19, kNone, true),
}};

// Tab 2: the codes sent at PTT press and release.
constexpr std::array<FieldDecl, 13> kPttFields{{
    Heading("mic_ptt_press", 1028_txt, 2, 0),
    Reference("mic_press_bot", 1029_txt, kMicPressBot, FiveTonePart::Encode, 2, 1),
    Check("mic_press_monitor", 1030_txt, kEncodeFlags, 0, kTickedWhenSet, 2, 2),
    Check("mic_press_encode_cancel", 1031_txt, kEncodeFlags, 1, kTickedWhenSet, 2, 3),
    Heading("ext_ptt_active", 1034_txt, 2, 4),
    Reference("ext_active_bot", 1029_txt, kExtActiveBot, FiveTonePart::Encode, 2, 5),
    Heading("mic_ptt_release", 1032_txt, 2, 6),
    Reference("mic_release_eot", 1033_txt, kMicReleaseEot, FiveTonePart::Encode, 2, 7),
    Number("mic_release_encode_pause_time", 1057_txt, Storage::Word, kEncodePause1, {0, 300, 1}, 2, 8, kOff, true),
    Check("mic_release_encode_cancel", 1031_txt, kEncodeFlags, 4, kTickedWhenSet, 2, 9),
    Heading("ext_ptt_inactive", 1035_txt, 2, 10),
    Reference("ext_inactive_eot", 1033_txt, kExtInactiveEot, FiveTonePart::Encode, 2, 11),
    Number("ext_inactive_encode_pause_time", 1057_txt, Storage::Word, kEncodePause2, {0, 300, 1}, 2, 12, kOff,
           true),
}};

// Tab 3: the call keys.
constexpr std::array<FieldDecl, 6> kCallKeyFields{{
    Heading("call_1_key", 1036_txt, 3, 0),
    Reference("call_1_encode_code", 1037_txt, kCall1Code, FiveTonePart::Encode, 3, 1),
    Check("call_1_monitor", 1030_txt, kEncodeFlags, 2, kTickedWhenSet, 3, 2),
    Heading("call_2_key", 1038_txt, 3, 3),
    Reference("call_2_encode_code", 1037_txt, kCall2Code, FiveTonePart::Encode, 3, 4),
    Check("call_2_monitor", 1030_txt, kEncodeFlags, 3, kTickedWhenSet, 3, 5),
}};

// Tab 4: channel select and power on.
constexpr std::array<FieldDecl, 4> kChannelSelectFields{{
    Heading("channel_select", 1039_txt, 4, 0),
    Check("channel_select_monitor", 1030_txt, kEncodeFlags, 5, kTickedWhenSet, 4, 1),
    Heading("power_on", 1040_txt, 4, 2),
    Check("start_up_monitor", 1041_txt, kEncodeFlags, 6, kTickedWhenSet, 4, 3),
}};

const std::array<FieldTable, 5> kTables{{
    {.key = "system", .title = 1009_txt, .fields = kSystemFields},
    {.key = "decode", .title = 812_txt, .fields = kDecodeFields},
    {.key = "encode_at_ptt", .title = 1010_txt, .fields = kPttFields},
    {.key = "call_keys", .title = 1011_txt, .fields = kCallKeyFields},
    {.key = "channel_select", .title = 1012_txt, .fields = kChannelSelectFields},
}};

// A new image: ZVEI 1 timing, monitoring on carrier, no codes referenced.
void FiveToneDefaults(ImageStore& image) {
  const BlockRef m = image.Main();
  m.SetByte(kToneStandard, 0);
  m.SetByte(kTonePeriod, 70);
  m.SetWord(kReceiveGap, 0);
  m.SetByte(kMonitorFunction, 0);
  m.SetByte(kAlertTone, 0);
  m.SetWord(kMinMuteTonePeriod, 20);
}

}  // namespace

const FieldTable& FiveToneTable(int tab) { return kTables.at(static_cast<std::size_t>(tab)); }

const EditorModule& FiveToneModule() {
  static const EditorModule module{
      .kind = static_cast<int>(EditorKind::FiveTone),
      .key = "five_tone",
      .title = 706_txt,
      .tables = {kTables.begin(), kTables.end()},
      .defaults = FiveToneDefaults,
  };
  return module;
}

}  // namespace zmp
