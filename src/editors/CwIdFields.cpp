#include "editors/CwIdFields.h"

#include <array>

#include "editors/ChannelStore.h"
#include "editors/EditorKinds.h"
#include "fields/FieldCodec.h"
#include "fields/FilterRules.h"

namespace zmp {

namespace {

using CK = ControlKind;

std::optional<std::size_t> ChannelRecordStart(const ImageStore& image, int row) {
  return ChannelStore::RecordOf(image, row);
}

std::optional<std::size_t> AuxRecordStart(const ImageStore& image, int row) {
  if (!ChannelStore::RecordOf(image, row)) return std::nullopt;
  return AuxRecordOffset(row);
}

TextNo CwIdFieldDisabled(const FieldAt& at) { return CwIdDisabled(at.image, at.row, at.decl); }

constexpr FieldHooks kCwTextHooks{.commitText = CommitCwText, .disabled = CwIdFieldDisabled};
constexpr FieldHooks kSettingHooks{.disabled = CwIdFieldDisabled};

constexpr std::array<FieldDecl, 1> kTextFields{{
    {.key = "text", .label = 751_txt, .kind = CK::Edit, .storage = Storage::Text, .offset = 0,
     .length = cwrec::kTextLength, .filter = filter::kCw, .maxLength = static_cast<int>(cwrec::kTextLength),
     .labelId = 1077, .valueId = 1072, .hooks = &kCwTextHooks},
}};

// A check box that stores 1 when ticked and 0 when clear; any other byte
// shows clear and stays until the box is clicked.
constexpr FieldDecl Check(std::string_view key, TextNo label, std::size_t offset, int id) {
  return {.key = key, .label = label, .kind = CK::CheckBox, .offset = offset, .check = {1, 0},
          .labelId = id, .valueId = id, .hooks = &kSettingHooks};
}

constexpr FieldDecl kOverDecl = Check("over", 825_txt, cwrec::kOver, 1398);
constexpr FieldDecl kEncodeDecl = Check("encode_with_tone", 828_txt, cwrec::kEncodeWithTone, 1076);

constexpr std::array<FieldDecl, 10> kFields{{
    {.key = "interval", .label = 341_txt, .kind = CK::EditSpin, .offset = cwrec::kInterval, .range = {1, 60, 1},
     .filter = filter::kDigits, .maxLength = 2, .labelId = 1391, .valueId = 1392, .spinId = 1393, .hooks = &kSettingHooks},
    {.key = "delay", .label = 342_txt, .kind = CK::EditSpin, .offset = cwrec::kDelay, .range = {0, 100, 1},
     .decimals = 1, .off = {724_txt, 1}, .filter = filter::kFrequency, .maxLength = 4,
     .labelId = 1394, .valueId = 1395, .spinId = 1396, .hooks = &kSettingHooks},
    {.key = "speed", .label = 821_txt, .kind = CK::EditSpin, .offset = cwrec::kSpeed, .range = {5, 30, 1},
     .filter = filter::kDigits, .maxLength = 2, .labelId = 1073, .valueId = 1078, .spinId = 1079, .hooks = &kSettingHooks},
    // Limited to 2550 before it is divided: 9999 stores 255, never a wrapped byte.
    {.key = "mod_delay", .label = 822_txt, .kind = CK::EditSpin, .offset = cwrec::kModDelay,
     .range = {0, 2550, 10}, .scale = {10, 1}, .off = {724_txt, 1}, .filter = filter::kDigits, .maxLength = 4,
     .labelId = 1061, .valueId = 1068, .spinId = 1069, .hooks = &kSettingHooks},
    {.key = "audio_frequency", .label = 823_txt, .kind = CK::EditSpin, .offset = cwrec::kAudioFrequency,
     .range = {400, 2000, 100}, .scale = {10, 1}, .filter = filter::kDigits, .maxLength = 4,
     .labelId = 1062, .valueId = 1070, .spinId = 1071, .hooks = &kSettingHooks},
    Check("required_in_interval", 824_txt, cwrec::kRequiredInInterval, 1397),
    kOverDecl,
    Check("send_to_ra", 826_txt, cwrec::kSendToRa, 1075),
    Check("on_channel_change", 827_txt, cwrec::kOnChannelChange, 1399),
    kEncodeDecl,
}};

const FieldTable kTextTable{.key = "", .title = 751_txt, .rows = kChannelCount,
                            .base = {.resolve = AuxRecordStart}, .fields = kTextFields, .channelRows = true};
const FieldTable kTable{.key = "", .title = 751_txt, .rows = kChannelCount,
                        .base = {.resolve = ChannelRecordStart}, .fields = kFields, .channelRows = true};

}  // namespace

CommitResult CommitCwText(const FieldAt& at, std::string_view text) {
  if (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  return CommitFixedText(at, text);
}

TextNo CwIdDisabled(const ImageStore& image, int channel, const FieldDecl& decl) {
  const auto rec = ChannelStore::RecordOf(image, channel);
  if (!rec) return TextNo{0};
  const auto main = image.Main();
  if (main.Byte(*rec + chrec::kCwId) == 0) return 379_txt;
  const bool needsTxMode = decl.key == kOverDecl.key || decl.key == kEncodeDecl.key;
  if (needsTxMode && main.Byte(*rec + chrec::kTxMode) == 1) return 380_txt;
  return TextNo{0};
}

bool CwIdEditable(const ImageStore& image, int channel, const FieldDecl& decl) {
  return ChannelStore::RecordOf(image, channel) && CwIdDisabled(image, channel, decl).n == 0;
}

const FieldTable& CwIdTextTable() { return kTextTable; }
const FieldTable& CwIdTable() { return kTable; }

const EditorModule& CwIdModule() {
  static const EditorModule module{.kind = static_cast<int>(EditorKind::CWID), .key = "cw_id", .title = 751_txt,
                                   .tables = {kTextTable, kTable}};
  return module;
}

}  // namespace zmp
