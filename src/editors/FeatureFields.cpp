#include "editors/FeatureFields.h"

#include <array>

#include "lang/LanguageTexts.h"
#include "data/ModelInfo.h"
#include "editors/EditorKinds.h"
#include "fields/FieldCodec.h"
#include "fields/FilterRules.h"

namespace zmp {

namespace {

using CK = ControlKind;

constexpr std::size_t kRepeaterTot = 0x0290;
constexpr std::size_t kLocalMicTot = 0x0629;
constexpr std::size_t kCourtesyPeriod = 0x0426;
constexpr std::uint8_t kVotingPilotOff = 0xFF;

// Control ids: page p, row r -> caption 4000 + 100p + r, value 3000 + 100p + r;
// help context (810 + p) x 100 + r.
constexpr int Label(int page, int row) { return 4000 + 100 * page + row; }
constexpr int Value(int page, int row) { return 3000 + 100 * page + row; }
constexpr int Help(int page, int row) { return (810 + page) * 100 + row; }

// --- the courtesy tone: a check box over the period's word ----------------------------

std::optional<long> CourtesyPeriod(const FieldAt& at) { return at.image.Main().Word(at.offset()); }
void StoreCourtesyPeriod(const FieldAt& at, long v) {
  at.Writable().Main().SetWord(at.offset(), static_cast<std::uint16_t>(v));
}
// A period never programmed (blank) is typed first; the box then follows it.
bool CourtesyPeriodSet(const FieldAt& at) { return at.image.Main().Word(at.offset()) != 0xFFFF; }

constexpr FieldHooks kCourtesyToneHooks{
    .applicable = CourtesyPeriodSet, .raw = CourtesyPeriod, .write = StoreCourtesyPeriod};

// --- the data password -------------------------------------------------------------------

std::string ShowPassword(const FieldAt& at) { return DataPasswordText(at.image); }
CommitResult CommitPassword(const FieldAt& at, std::string_view text) {
  return StoreDataPassword(at.Writable(), text);
}
constexpr FieldHooks kPasswordHooks{.show = ShowPassword, .commitText = CommitPassword};

// --- choices -------------------------------------------------------------------------------

constexpr std::array<Choice, 3> kExternalMonitor{{{0xFF, 726_txt}, {0, 901_txt}, {1, 904_txt}}};
constexpr std::array<Choice, 3> kPttSources{{{0, 917_txt}, {2, 918_txt}, {3, 919_txt}}};
constexpr std::array<Choice, 2> kBusyAnalog{{{0xFF, 911_txt}, {0, 912_txt}}};
constexpr std::array<Choice, 4> kBusyDigital{{{0xFF, 726_txt}, {0, 901_txt}, {1, 902_txt}, {2, 903_txt}}};
constexpr std::array<Choice, 3> kVotingFrequency{{{6480, 922_txt}, {8565, 923_txt}, {9984, 924_txt}}};

// --- declarations -------------------------------------------------------------------------------

constexpr OffRule kOff{724_txt, 1};
constexpr CheckRule kTickedWhenZero{0, 0xFF};

constexpr FieldDecl Heading(std::string_view key, TextNo text, int page, int row) {
  return FieldDecl{.key = key, .label = text, .kind = CK::GroupLabel, .storage = Storage::None,
                   .labelId = Label(page, row)};
}

// A whole number in a byte: range, Off at 0 or not.
constexpr FieldDecl ByteNumber(std::string_view key, TextNo label, std::size_t offset, RangeRecord range,
                               bool off, int page, int row) {
  return FieldDecl{.key = key, .label = label, .kind = CK::EditSpin, .storage = Storage::Byte, .offset = offset,
                   .range = range, .off = off ? kOff : OffRule{}, .filter = filter::kDigits, .maxLength = 3,
                   .labelId = Label(page, row), .valueId = Value(page, row), .helpContext = Help(page, row)};
}

constexpr FieldDecl ByteCheck(std::string_view key, TextNo label, std::size_t offset, CheckRule rule, int page,
                              int row, const FieldHooks* hooks = nullptr) {
  return FieldDecl{.key = key, .label = label, .kind = CK::CheckBox, .storage = Storage::Byte, .offset = offset,
                   .check = rule, .labelId = Label(page, row), .valueId = Value(page, row),
                   .helpContext = Help(page, row), .hooks = hooks};
}

constexpr FieldDecl BitCheck(std::string_view key, TextNo label, std::size_t offset, int bit, CheckRule rule,
                             int page, int row) {
  return FieldDecl{.key = key, .label = label, .kind = CK::CheckBox, .storage = Storage::Bit, .offset = offset,
                   .bit = bit, .check = rule, .labelId = Label(page, row), .valueId = Value(page, row),
                   .helpContext = Help(page, row)};
}

constexpr FieldDecl ByteList(std::string_view key, TextNo label, std::size_t offset,
                             std::span<const Choice> choices, int page, int row) {
  return FieldDecl{.key = key, .label = label, .kind = CK::DropList, .storage = Storage::Byte, .offset = offset,
                   .choices = choices, .labelId = Label(page, row), .valueId = Value(page, row),
                   .helpContext = Help(page, row)};
}

// Page 0: the repeater path.
constexpr std::array<FieldDecl, 25> kRepeaterFields{{
    Heading("repeater_tot", 842_txt, 0, 0),
    {.key = "time_out_timer", .label = 843_txt, .storage = Storage::Byte, .offset = kRepeaterTot,
     .range = {0, 300, 5}, .decimals = 1, .scale = {5, 1}, .off = kOff, .filter = filter::kFrequency,
     .maxLength = 4, .labelId = Label(0, 1), .valueId = Value(0, 1), .helpContext = Help(0, 1), .initial = 0},
    ByteNumber("tot_pre_alert", 844_txt, 0x029C, {0, 10, 1}, true, 0, 2).Initially(0),
    ByteNumber("tot_rekey_time", 845_txt, 0x029D, {0, 60, 1}, true, 0, 3).Initially(0),
    ByteNumber("tot_reset_time", 846_txt, 0x029E, {0, 15, 1}, true, 0, 4).Initially(0),
    {.key = "repeat_hold_timer", .label = 847_txt, .storage = Storage::Byte, .offset = 0x0291,
     .range = {0, 100, 1}, .decimals = 1, .off = kOff, .filter = filter::kFrequency, .maxLength = 4,
     .labelId = Label(0, 5), .valueId = Value(0, 5), .helpContext = Help(0, 5), .initial = 0},
    ByteNumber("dqt_turn_off_code_time", 849_txt, 0x026D, {140, 200, 1}, false, 0, 6).Initially(180),
    ByteNumber("qt_decode_delay_time", 850_txt, 0x0296, {0, 250, 1}, true, 0, 7).Initially(0),
    {.key = "test_tone", .label = 851_txt, .storage = Storage::BcdWord, .offset = 0x0293, .range = {300, 3000, 1},
     .filter = filter::kDigits, .maxLength = 4, .labelId = Label(0, 8), .valueId = Value(0, 8),
     .helpContext = Help(0, 8), .initial = 1000},
    ByteNumber("squelch_level", 852_txt, 0x029F, {0, 15, 1}, false, 0, 9).Initially(8),
    ByteNumber("qt_reverse_burst_time", 848_txt, 0x026E, {140, 200, 1}, false, 0, 10).Initially(180),
    {.key = "qt_reverse_burst_phase", .label = 889_txt, .storage = Storage::Byte, .offset = 0x07FA,
     .range = {0, 254, 1}, .filter = filter::kDigits, .maxLength = 3, .labelId = Label(0, 11),
     .valueId = Value(0, 11), .helpContext = Help(0, 11), .blankShows = 180},
    {.key = "repeat_continuous_timer", .label = 909_txt, .storage = Storage::Word, .offset = 0x07D1,
     .range = {10, 300, 1}, .decimals = 1, .scale = {1, 10}, .off = kOff, .filter = filter::kFrequency,
     .maxLength = 4, .labelId = Label(0, 12), .valueId = Value(0, 12), .helpContext = Help(0, 12), .initial = 0},
    Heading("level", 853_txt, 0, 13),
    {.key = "rx_signal_detect", .label = 855_txt, .storage = Storage::Word, .offset = 0x0448,
     .range = {-120, -95, 1}, .scale = {-1, 10}, .filter = filter::kDigitsDash, .maxLength = 4,
     .labelId = Label(0, 14), .valueId = Value(0, 14), .helpContext = Help(0, 14), .initial = 1100},
    ByteList("external_monitor", 857_txt, 0x0295, kExternalMonitor, 0, 15),
    ByteCheck("off_hook_decode", 860_txt, 0x0292, kTickedWhenZero, 0, 16),
    ByteCheck("tx_standby_on_frequency", 862_txt, 0x07F9, kTickedWhenZero, 0, 17),
    ByteCheck("scrambler_backup", 861_txt, 0x02A1, kTickedWhenZero, 0, 18),
    Heading("encryption_setting", 906_txt, 0, 19),
    ByteCheck("encryption", 907_txt, 0x027D, CheckRule{0, 0xFF, true}, 0, 20),
    {.key = "key_data", .label = 908_txt, .storage = Storage::Word, .offset = 0x027E, .range = {1, 32767, 1},
     .filter = filter::kDigits, .maxLength = 5, .labelId = Label(0, 21), .valueId = Value(0, 21),
     .helpContext = Help(0, 21), .initial = 1},
    Heading("ptt", 865_txt, 0, 22),
    {.key = "ptt_priority", .label = 865_txt, .kind = CK::ListSpin, .storage = Storage::ByteList,
     .offset = 0x0298, .length = 3, .choices = kPttSources, .labelId = Label(0, 22), .valueId = Value(0, 23),
     .spinId = Value(0, 24), .helpContext = Help(0, 23), .initial = 0},
    {.key = "data_password", .label = 45_txt, .kind = CK::Button, .storage = Storage::Text,
     .offset = kDataPasswordOffset, .length = kDataPasswordLength, .filter = filter::kDigits,
     .maxLength = static_cast<int>(kDataPasswordLength), .labelId = Value(0, 29), .valueId = Value(0, 28),
     .helpContext = Help(0, 28), .hooks = &kPasswordHooks},
}};

// Page 1: the local microphone and the tones.
constexpr std::array<FieldDecl, 20> kLocalFields{{
    Heading("local_mic_tot", 870_txt, 1, 0),
    {.key = "time_out_timer", .label = 871_txt, .storage = Storage::Word, .offset = kLocalMicTot,
     .range = {0, 255, 1}, .off = {724_txt, 15}, .filter = filter::kDigits, .maxLength = 3,
     .labelId = Label(1, 1), .valueId = Value(1, 1), .helpContext = Help(1, 1), .initial = 0},
    ByteNumber("tot_pre_alert", 844_txt, 0x062B, {0, 10, 1}, true, 1, 2).Initially(0),
    ByteNumber("tot_rekey_time", 845_txt, 0x062C, {0, 60, 1}, true, 1, 3).Initially(0),
    ByteNumber("tot_reset_time", 846_txt, 0x062D, {0, 15, 1}, true, 1, 4).Initially(0),
    ByteList("busy_channel_lockout_analog", 894_txt, 0x0628, kBusyAnalog, 1, 5),
    ByteList("busy_channel_lockout_digital", 895_txt, 0x0627, kBusyDigital, 1, 6),
    Heading("tone", 872_txt, 1, 7),
    ByteNumber("tone_volume", 873_txt, 0x02B9, {0, 31, 1}, false, 1, 8).Initially(16),
    BitCheck("warning_alert_tone", 879_txt, 0x02B8, 2, CheckRule{0, 1}, 1, 9),
    BitCheck("control_tone", 890_txt, 0x02B8, 1, CheckRule{0, 1}, 1, 10),
    Heading("courtesy", 882_txt, 1, 11),
    {.key = "courtesy_tone", .label = 882_txt, .kind = CK::CheckBox, .storage = Storage::Custom,
     .offset = kCourtesyPeriod, .length = 0, .check = {10, 0, true}, .labelId = Label(1, 12),
     .valueId = Value(1, 12), .helpContext = Help(1, 12), .hooks = &kCourtesyToneHooks},
    {.key = "courtesy_tone_frequency", .label = 1105_txt, .storage = Storage::BcdWord, .offset = 0x0428,
     .range = {300, 3000, 10}, .filter = filter::kDigits, .maxLength = 4, .labelId = Label(1, 13),
     .valueId = Value(1, 13), .helpContext = Help(1, 13), .initial = 1000},
    {.key = "courtesy_tone_period", .label = 1106_txt, .storage = Storage::Word, .offset = kCourtesyPeriod,
     .range = {100, 1000, 10}, .scale = {10, 1}, .off = kOff, .filter = filter::kDigits, .maxLength = 4,
     .labelId = Label(1, 14), .valueId = Value(1, 14), .helpContext = Help(1, 14), .initial = 0},
    {.key = "encode_pause_time", .label = 1057_txt, .storage = Storage::Word, .offset = 0x0424,
     .range = {0, 100, 1}, .decimals = 1, .filter = filter::kFrequency, .maxLength = 4, .labelId = Label(1, 15),
     .valueId = Value(1, 15), .helpContext = Help(1, 15), .initial = 0},
    BitCheck("send_to_ra", 888_txt, 0x042B, 4, CheckRule{1, 0}, 1, 16),
    Heading("voting", 905_txt, 1, 17),
    ByteCheck("voting_pilot_tone", 905_txt, 0x0279, CheckRule{0, kVotingPilotOff}, 1, 18),
    {.key = "voting_pilot_frequency", .label = 1105_txt, .kind = CK::DropList, .storage = Storage::Word,
     .offset = 0x0277, .choices = kVotingFrequency, .labelId = Label(1, 19), .valueId = Value(1, 19),
     .helpContext = Help(1, 19), .initial = 6480},
}};

// Page 2: the unit's own identity.
constexpr std::array<FieldDecl, 3> kUnitFields{{
    {.key = "unit_id", .label = 344_txt, .kind = CK::Edit, .storage = Storage::Word, .offset = 0x0410,
     .range = {0, 65534, 1}, .blankFfff = true, .filter = filter::kDigits, .maxLength = 5,
     .labelId = Label(2, 0), .valueId = Value(2, 0), .helpContext = Help(2, 0)},
    BitCheck("over_the_air_alias", 910_txt, 0x0490, 0, CheckRule{0, 1}, 2, 1),
    {.key = "unit_name", .label = 898_txt, .kind = CK::Edit, .storage = Storage::Text, .offset = 0x0480,
     .length = 16, .filter = filter::kName, .maxLength = 16, .pad = 0x20, .labelId = Label(2, 2),
     .valueId = Value(2, 2), .helpContext = Help(2, 2)},
}};

// Pages 3 and 4: grids that hold no image field; their headings only.
constexpr FieldDecl EmptyGrid(std::string_view key, TextNo heading, int page, int row) {
  return FieldDecl{.key = key, .label = heading, .kind = CK::Grid, .storage = Storage::None,
                   .labelId = Label(page, row), .valueId = Value(page, row)};
}
constexpr std::array<FieldDecl, 1> kStartUpFields{{EmptyGrid("start_up", 971_txt, 3, 0)}};
constexpr std::array<FieldDecl, 3> kTxRxFields{
    {EmptyGrid("tx_rx", 975_txt, 4, 0), EmptyGrid("timer", 980_txt, 4, 1), EmptyGrid("connection", 985_txt, 4, 2)}};

// Pages 2-4 exist on variants whose model option byte has bit 2 set.
bool UnitPagesShown(const ImageStore& image) { return (image.Main().Byte(0x0420) & 0x04) != 0; }

const std::array<FieldTable, 5> kTables{{
    {.key = "repeater", .title = 899_txt, .fields = kRepeaterFields},
    {.key = "local", .title = 900_txt, .fields = kLocalFields},
    {.key = "unit", .title = 896_txt, .fields = kUnitFields, .shown = UnitPagesShown},
    {.key = "start_up", .title = 840_txt, .fields = kStartUpFields, .shown = UnitPagesShown},
    {.key = "tx_rx", .title = 841_txt, .fields = kTxRxFields, .shown = UnitPagesShown},
}};

bool IsPasswordPosition(std::uint8_t b) { return b != 0xFF && b != ' '; }

}  // namespace

const FieldTable& FeatureTable(int page) { return kTables.at(static_cast<std::size_t>(page)); }

const EditorModule& FeatureModule() {
  static const EditorModule module{
      .kind = static_cast<int>(EditorKind::Feature),
      .key = "optional_features",
      .title = 702_txt,
      .tables = {kTables.begin(), kTables.end()},
      // The start-up, TX/RX, timer and connection tables.
      .owns = {{0x0450, 0x28}},
  };
  return module;
}

std::string DataPasswordText(const ImageStore& image) {
  std::string out;
  for (std::uint8_t b : image.Main().Range(kDataPasswordOffset, kDataPasswordLength))
    if (IsPasswordPosition(b)) out.push_back(static_cast<char>(b));
  return out;
}

CommitResult StoreDataPassword(ImageStore& image, std::string_view digits) {
  if (digits.size() > kDataPasswordLength) return CommitResult::Refuse(913_txt);
  for (char c : digits)
    if (c < '0' || c > '9') return CommitResult::Refuse(913_txt);
  std::array<std::uint8_t, kDataPasswordLength> bytes;
  bytes.fill(0xFF);
  for (std::size_t i = 0; i < digits.size(); ++i) bytes[i] = static_cast<std::uint8_t>(digits[i]);
  image.Main().Write(kDataPasswordOffset, bytes);
  return {};
}

}  // namespace zmp
