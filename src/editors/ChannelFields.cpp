#include "editors/ChannelFields.h"

#include <array>
#include <string>

#include "lang/LanguageTexts.h"
#include "data/Frequency.h"
#include "editors/ChannelBand.h"
#include "editors/ChannelStore.h"
#include "editors/EditorKinds.h"
#include "fields/DecimalSeparator.h"
#include "fields/FieldCodec.h"
#include "fields/FilterRules.h"
#include "fields/ToneCode.h"

namespace zmp {

namespace {

using CK = ControlKind;

int Channel(const FieldAt& at) { return at.row; }

ShownChoice Item(long value, TextNo t) { return {value, Tx(t)}; }

// The model queries read the image only.
ModelInfo ModelOf(const ImageStore& image) { return ModelInfo(const_cast<ImageStore&>(image)); }

// --- rows -------------------------------------------------------------------

std::optional<std::size_t> ChannelRecordStart(const ImageStore& image, int row) {
  return ChannelStore::RecordOf(image, row);
}

// --- frequencies ---------------------------------------------------------------

int FrequencyColumn(const FieldAt& at) { return at.decl.offset == chrec::kTxFrequency ? 1 : 0; }

std::string ShowFrequency(const FieldAt& at) {
  return FrequencyText(at.image.Main().Range(at.offset(), kFrequencyBytes), DecimalSeparator());
}

std::optional<long> FrequencyHz(const FieldAt& at) {
  if (auto hz = UnpackFrequency(at.image.Main().Range(at.offset(), kFrequencyBytes)))
    return static_cast<long>(*hz);
  return std::nullopt;
}

CommitResult CommitFrequency(const FieldAt& at, std::string_view text) {
  ImageStore& image = at.Writable();
  ChannelStore store(image);
  const StoreStatus s = store.StoreFrequency(Channel(at), FrequencyColumn(at), text);
  if (s != StoreStatus::Ok) return CommitResult::Refuse(MessageOf(s));
  ReconcileChannelLists(image, Channel(at));
  return {};
}

// A stored frequency that is none (or, for receiving, missing), or one outside
// the model's limits.
TextNo FrequencyProblem(const FieldAt& at) {
  const auto bytes = at.image.Main().Range(at.offset(), kFrequencyBytes);
  const bool transmit = FrequencyColumn(at) == 1;
  if (transmit && at.image.Main().IsAll(at.offset(), kFrequencyBytes, 0xFF)) return {0};  // receive only
  const auto hz = UnpackFrequency(bytes);
  if (!hz) return 330_txt;
  const ChannelStore store(const_cast<ImageStore&>(at.image));
  const int limits = FrequencyColumn(at);
  if (*hz < store.LowerLimitHz(limits) || *hz > store.UpperLimitHz(limits)) return 326_txt;
  return {0};
}

constexpr FieldHooks kFrequencyHooks{
    .show = ShowFrequency, .commitText = CommitFrequency, .raw = FrequencyHz, .problem = FrequencyProblem};

// --- lists ---------------------------------------------------------------------

std::vector<ShownChoice> ChannelTypeChoices(const FieldAt& at) {
  if (ModelOf(at.image).OptionBoard() == 1)
    return {Item(1, 793_txt), Item(3, 803_txt), Item(4, 804_txt)};
  return {Item(0, 792_txt), Item(1, 793_txt), Item(2, 794_txt)};
}

std::vector<ShownChoice> SpacingChoices(const FieldAt& at) {
  const int type = at.image.Main().Byte(at.base + chrec::kChannelType);
  if (ModelOf(at.image).IsPlainEMarket() && type == 0)
    return {Item(2, 786_txt), Item(3, 787_txt), Item(0, 785_txt)};
  std::vector<ShownChoice> list;
  if (type != 1) list.push_back(Item(2, 784_txt));
  list.push_back(Item(0, 785_txt));
  if (type != 0) list.push_back(Item(1, 802_txt));
  return list;
}

bool SameFrequencies(const FieldAt& at) {
  const auto main = at.image.Main();
  return main.Read(at.base + chrec::kRxFrequency, kFrequencyBytes) ==
         main.Read(at.base + chrec::kTxFrequency, kFrequencyBytes);
}

bool HasTxFrequency(const FieldAt& at) {
  return !at.image.Main().IsAll(at.base + chrec::kTxFrequency, kFrequencyBytes, 0xFF);
}

std::vector<ShownChoice> OperationModeChoices(const FieldAt& at) {
  if (SameFrequencies(at)) return {Item(1, 760_txt)};
  return {Item(0, 759_txt), Item(256, 761_txt), Item(1, 760_txt)};
}

std::vector<ShownChoice> CwIdChoices(const FieldAt& at) {
  if (!HasTxFrequency(at)) return {Item(0, 728_txt)};
  return {Item(0, 728_txt), Item(1, 727_txt)};
}

CommitResult CwIdNeedsTx(const FieldAt& at, long stored) {
  // A channel without a transmit frequency cannot send its CW ID.
  if (stored == 1 && !HasTxFrequency(at)) return CommitResult::Refuse(345_txt);
  return {};
}

void AfterTypeChange(const FieldAt& at, long, long) { ReconcileChannelLists(at.Writable(), Channel(at)); }

bool TonesApply(const FieldAt& at) { return at.image.Main().Byte(at.base + chrec::kChannelType) != 1; }
bool RansApply(const FieldAt& at) { return at.image.Main().Byte(at.base + chrec::kChannelType) != 0; }

constexpr FieldHooks kChannelTypeHooks{.choices = ChannelTypeChoices, .afterCommit = AfterTypeChange};
constexpr FieldHooks kSpacingHooks{.choices = SpacingChoices};
constexpr FieldHooks kOperationModeHooks{.choices = OperationModeChoices};
constexpr FieldHooks kCwIdHooks{.choices = CwIdChoices, .validate = CwIdNeedsTx};
// A channel name is two characters: a longer one is refused whole, never cut
// (an escape "\xHH" is one character).
CommitResult CommitName(const FieldAt& at, std::string_view text) {
  if (FixedTextLength(text) > at.decl.length) return CommitResult::Refuse(354_txt);
  return CommitFixedText(at, text);
}

constexpr FieldHooks kNameHooks{.commitText = CommitName};
constexpr FieldHooks kToneHooks{.applicable = TonesApply};
constexpr FieldHooks kRanHooks{.applicable = RansApply};

constexpr std::array<Choice, 2> kTxModeChoices{{{0, 792_txt}, {1, 793_txt}}};
constexpr std::array<Choice, 2> kTxPowerChoices{{{0, 758_txt}, {1, 757_txt}}};
constexpr std::array<Choice, 2> kMultipleChoices{{{0, 755_txt}, {1, 756_txt}}};
constexpr std::array<Choice, 2> kScanAddChoices{{{0, 728_txt}, {1, 727_txt}}};
constexpr std::array<Choice, 2> kUserLimitChoices{{{255, 728_txt}, {0, 727_txt}}};
constexpr std::array<Choice, 16> kMultiTableChoices{{{0, 719_txt},
                                                     {1, {0}, "1"},
                                                     {2, {0}, "2"},
                                                     {3, {0}, "3"},
                                                     {4, {0}, "4"},
                                                     {5, {0}, "5"},
                                                     {6, {0}, "6"},
                                                     {7, {0}, "7"},
                                                     {8, {0}, "8"},
                                                     {9, {0}, "9"},
                                                     {10, {0}, "10"},
                                                     {11, {0}, "11"},
                                                     {12, {0}, "12"},
                                                     {13, {0}, "13"},
                                                     {14, {0}, "14"},
                                                     {15, {0}, "15"}}};

// --- the declarations -----------------------------------------------------------------

constexpr FieldDecl kChannelNumber{.key = "channel", .label = 737_txt, .kind = CK::EditSpin,
                                   .storage = Storage::None, .range = {1, kChannelCount, 1},
                                   .filter = filter::kDigits, .maxLength = 2,
                                   .labelId = 1292, .valueId = 1291, .spinId = 1027};
constexpr FieldDecl kRx{.key = "rx_frequency", .label = 767_txt, .kind = CK::Edit, .storage = Storage::Custom,
                        .offset = chrec::kRxFrequency, .length = kFrequencyBytes, .filter = filter::kFrequency,
                        .maxLength = 10, .labelId = 1279, .valueId = 1281, .helpContext = 78081,
                        .hooks = &kFrequencyHooks};
constexpr FieldDecl kTx{.key = "tx_frequency", .label = 768_txt, .kind = CK::Edit, .storage = Storage::Custom,
                        .offset = chrec::kTxFrequency, .length = kFrequencyBytes, .filter = filter::kFrequency,
                        .maxLength = 10, .labelId = 1280, .valueId = 1044, .helpContext = 78082,
                        .hooks = &kFrequencyHooks};
constexpr FieldDecl kType{.key = "channel_type", .label = 789_txt, .kind = CK::DropList,
                          .offset = chrec::kChannelType, .labelId = 1042, .valueId = 1286,
                          .helpContext = 78110, .hooks = &kChannelTypeHooks};
constexpr FieldDecl kTxMode{.key = "tx_mode", .label = 790_txt, .kind = CK::DropList, .offset = chrec::kTxMode,
                            .choices = kTxModeChoices, .labelId = 1045, .valueId = 1289, .helpContext = 78111,
                            .blankUnset = true};
constexpr FieldDecl kQtDecode{.key = "qt_decode", .label = 769_txt, .kind = CK::EditCombo, .storage = Storage::Tone,
                              .offset = chrec::kToneDecode, .filter = filter::kOwnerRule,
                              .maxLength = kToneTextMaxLength, .labelId = 1039, .valueId = 1283,
                              .helpContext = 78084, .hooks = &kToneHooks};
constexpr FieldDecl kQtEncode{.key = "qt_encode", .label = 770_txt, .kind = CK::EditCombo, .storage = Storage::Tone,
                              .offset = chrec::kToneEncode, .filter = filter::kOwnerRule,
                              .maxLength = kToneTextMaxLength, .labelId = 1040, .valueId = 1284,
                              .helpContext = 78083, .hooks = &kToneHooks};
constexpr FieldDecl kRanDecode{.key = "ran_decode", .label = 764_txt, .kind = CK::EditCombo, .storage = Storage::Word,
                               .offset = chrec::kRanDecode, .range = {0, 63, 1}, .off = {719_txt, 1},
                               .filter = filter::kDigits, .maxLength = 2, .labelId = 1046, .valueId = 1290,
                               .helpContext = 78112, .hooks = &kRanHooks};
constexpr FieldDecl kRanEncode{.key = "ran_encode", .label = 765_txt, .kind = CK::EditCombo, .storage = Storage::Word,
                               .offset = chrec::kRanEncode, .range = {0, 63, 1}, .off = {719_txt, 1},
                               .filter = filter::kDigits, .maxLength = 2, .labelId = 1047, .valueId = 1293,
                               .helpContext = 78113, .hooks = &kRanHooks};
constexpr FieldDecl kName{.key = "name", .label = 771_txt, .kind = CK::Edit, .storage = Storage::Text,
                          .offset = chrec::kName, .length = chrec::kNameLength, .filter = filter::kName,
                          .maxLength = 2, .labelId = 1041, .valueId = 1049, .helpContext = 78085,
                          .hooks = &kNameHooks};
constexpr FieldDecl kTxPower{.key = "tx_power", .label = 776_txt, .kind = CK::DropList, .offset = chrec::kTxPower,
                             .choices = kTxPowerChoices, .labelId = 1064, .valueId = 1065};
constexpr FieldDecl kSpacing{.key = "spacing", .label = 772_txt, .kind = CK::DropList, .offset = chrec::kSpacing,
                             .labelId = 1057, .valueId = 1058, .hooks = &kSpacingHooks};
constexpr FieldDecl kMultiple{.key = "encode_tone_multiple", .label = 773_txt, .kind = CK::DropList,
                              .offset = chrec::kEncodeToneMultiple, .choices = kMultipleChoices,
                              .labelId = 1328, .valueId = 1062};
constexpr FieldDecl kOperationMode{.key = "operation_mode", .label = 774_txt, .kind = CK::DropList,
                                   .storage = Storage::Word, .offset = chrec::kOperationMode,
                                   .labelId = 1059, .valueId = 1060, .hooks = &kOperationModeHooks};
constexpr FieldDecl kMultiTable{.key = "multi_table", .label = 708_txt, .kind = CK::DropList,
                                .offset = chrec::kMultiTable, .blankReadsZero = true,
                                .choices = kMultiTableChoices, .labelId = 1061, .valueId = 1063};
constexpr FieldDecl kBeatShift{.key = "beat_shift", .label = 775_txt, .kind = CK::CheckBox, .storage = Storage::Bit,
                               .offset = chrec::kBeatShift, .bit = 0, .check = {0, 1},
                               .labelId = 1285, .valueId = 1285};
constexpr FieldDecl kBeatShiftButton{.key = "beat_shift_settings", .label = 51_txt, .kind = CK::Button,
                                     .storage = Storage::None, .labelId = 1298, .valueId = 1298};
constexpr FieldDecl kReverseBurst{.key = "qt_reverse_burst", .label = 777_txt, .kind = CK::CheckBox,
                                  .offset = chrec::kReverseBurst, .check = {0, 1}, .labelId = 1341, .valueId = 1341};
constexpr FieldDecl kScanAdd{.key = "scan_add", .label = 750_txt, .kind = CK::CheckBox, .offset = chrec::kScanAdd,
                             .choices = kScanAddChoices, .check = {1, 0}, .labelId = 1067, .valueId = 1067};
constexpr FieldDecl kCompander{.key = "compander", .label = 778_txt, .kind = CK::CheckBox,
                               .offset = chrec::kCompander, .check = {1, 0}, .labelId = 1287, .valueId = 1287};
constexpr FieldDecl kCwId{.key = "cw_id", .label = 751_txt, .kind = CK::CheckBox, .offset = chrec::kCwId,
                          .check = {1, 0}, .labelId = 1345, .valueId = 1345, .hooks = &kCwIdHooks};
constexpr FieldDecl kCwIdButton{.key = "cw_id_settings", .label = 779_txt, .kind = CK::Button,
                                .storage = Storage::None, .labelId = 1142, .valueId = 1142};
constexpr FieldDecl kUserLimit{.key = "user_limit", .label = 791_txt, .kind = CK::CheckBox,
                               .offset = chrec::kUserLimit, .choices = kUserLimitChoices, .check = {0, 0xFF},
                               .labelId = 1342, .valueId = 1342};
constexpr FieldDecl kScramblerGroup{.key = "scrambler", .label = 780_txt, .kind = CK::GroupLabel,
                                    .storage = Storage::None, .labelId = 1181};
constexpr FieldDecl kVoiceScrambler{.key = "voice_scrambler", .label = 781_txt, .kind = CK::CheckBox,
                                    .offset = chrec::kVoiceScrambler, .check = {1, 0},
                                    .labelId = 1346, .valueId = 1346};
constexpr FieldDecl kScramblerCode{.key = "scrambler_code", .label = 782_txt, .kind = CK::EditSpin,
                                   .offset = chrec::kScramblerCode, .range = {1, 16, 1},
                                   .filter = filter::kDigits, .maxLength = 2,
                                   .labelId = 1043, .valueId = 1051, .spinId = 1023};

constexpr std::array<FieldDecl, 26> kFormFields{
    kChannelNumber, kRx,       kTx,         kType,     kTxMode,   kQtDecode,        kQtEncode,
    kRanDecode,     kRanEncode, kName,      kTxPower,  kSpacing,  kMultiple,        kOperationMode,
    kMultiTable,    kBeatShift, kBeatShiftButton, kReverseBurst, kScanAdd, kCompander, kCwId,
    kCwIdButton,    kUserLimit, kScramblerGroup,  kVoiceScrambler, kScramblerCode};

constexpr std::array<FieldDecl, 9> kFullGridFields{kRx,        kTx,        kType,    kTxMode, kQtDecode,
                                                   kQtEncode, kRanDecode, kRanEncode, kName};
constexpr std::array<GridColumnInfo, 9> kFullGridColumns{{{741_txt, 85},
                                                          {742_txt, 85},
                                                          {762_txt, 70},
                                                          {763_txt, 70},
                                                          {744_txt, 75},
                                                          {743_txt, 75},
                                                          {799_txt, 60},
                                                          {800_txt, 60},
                                                          {745_txt, 65}}};
constexpr std::array<FieldDecl, 6> kShortGridFields{kRx, kTx, kType, kQtDecode, kQtEncode, kName};
constexpr std::array<GridColumnInfo, 6> kShortGridColumns{
    {{741_txt, 85}, {742_txt, 85}, {762_txt, 70}, {744_txt, 75}, {743_txt, 75}, {745_txt, 65}}};

bool FullLayoutShown(const ImageStore& image) { return ModelOf(image).OptionBoard() != 1; }
bool ShortLayoutShown(const ImageStore& image) { return ModelOf(image).OptionBoard() == 1; }

constexpr RowBase kChannelRows{.resolve = ChannelRecordStart};

const FieldTable kEditTable{.key = "", .title = 766_txt, .kind = TableKind::Form, .rows = kChannelCount,
                            .base = kChannelRows, .fields = kFormFields,
                            .channelRows = true};
const FieldTable kFullGrid{.key = "", .title = 737_txt, .kind = TableKind::Grid, .rows = kChannelCount,
                           .base = kChannelRows, .fields = kFullGridFields, .columns = kFullGridColumns,
                           .shown = FullLayoutShown, .listMissingRows = true,
                           .channelRows = true};
const FieldTable kShortGrid{.key = "", .title = 737_txt, .kind = TableKind::Grid, .rows = kChannelCount,
                            .base = kChannelRows, .fields = kShortGridFields, .columns = kShortGridColumns,
                            .shown = ShortLayoutShown, .listMissingRows = true,
                            .channelRows = true};

}  // namespace

const FieldTable& ChannelEditTable() { return kEditTable; }
const FieldTable& ChannelGridTable(bool fullLayout) { return fullLayout ? kFullGrid : kShortGrid; }

const EditorModule& ChannelGridModule() {
  static const EditorModule module{
      .kind = static_cast<int>(EditorKind::ChInfo),
      .key = "channel",
      .title = 712_txt,
      .tables = {kFullGrid, kShortGrid},
      // A new band keeps the channels: their frequencies are stored again for
      // it (the main frame names those outside it).
      .bandDefaults = [](ImageStore& image) { RestoreChannelsForBand(image); },
      // The channel store owns the index, the records and the auxiliary records.
      .owns = {{kChannelIndexOffset, 2 * kChannelIndexEntries},
               {kRecordAreaStart, kRecordAreaEnd - kRecordAreaStart},
               {AuxRecordOffset(0), kAuxRecordSize * kChannelCount}},
  };
  return module;
}

const EditorModule& ChannelEditModule() {
  static const EditorModule module{
      .kind = static_cast<int>(EditorKind::ChEdit),
      .key = "channel_edit",
      .title = 766_txt,
      .tables = {kEditTable},
  };
  return module;
}

FieldRef ChannelField(int channel, std::string_view key) {
  for (const FieldDecl& d : kFormFields)
    if (d.key == key) return FieldRef{&kEditTable, &d, channel};
  return FieldRef{&kEditTable, nullptr, channel};
}

void ReconcileChannelLists(ImageStore& image, int channel) {
  for (const FieldDecl* decl : {&kSpacing, &kOperationMode, &kCwId}) {
    const FieldRef ref{&kEditTable, decl, channel};
    const FieldView shown = ShowField(ref, image);
    if (!shown.exists || !shown.raw) continue;
    const auto choices = FieldChoices(ref, image);
    bool offered = false;
    for (const auto& c : choices) offered = offered || c.value == *shown.raw;
    if (!offered && !choices.empty()) CommitFieldChoice(ref, image, choices.front().value);
  }
}

}  // namespace zmp
