#include "editors/BeatShiftFields.h"

#include <array>

#include "editors/ChannelStore.h"
#include "editors/EditorKinds.h"

namespace zmp {

namespace {

inline constexpr int kBoxHelp = 78161;

std::optional<std::size_t> ChannelRecordStart(const ImageStore& image, int row) {
  return ChannelStore::RecordOf(image, row);
}

// The boxes are disabled while the channel's beat shift (bit 0) is off.
TextNo BeatShiftOff(const FieldAt& at) {
  return at.image.Main().Bit(at.base + chrec::kBeatShift, 0) ? 381_txt : TextNo{0};
}

constexpr FieldHooks kSettingHooks{.disabled = BeatShiftOff};

// One bit of the beat-shift byte, ticked when it is 0; a click writes that bit only.
constexpr FieldDecl Setting(std::string_view key, int number, int id) {
  return {.key = key, .label = 775_txt, .labelNumber = number, .kind = ControlKind::CheckBox,
          .storage = Storage::Bit, .offset = chrec::kBeatShift, .bit = number, .check = {0, 1},
          .labelId = id, .valueId = id, .helpContext = kBoxHelp, .hooks = &kSettingHooks};
}

constexpr std::array<FieldDecl, 5> kFields{{
    Setting("setting_1", 1, 1286),
    Setting("setting_2", 2, 1287),
    Setting("setting_3", 3, 1288),
    Setting("setting_4", 4, 1289),
    Setting("setting_5", 5, 1290),
}};

const FieldTable kTable{.key = "", .title = 775_txt, .rows = kChannelCount,
                        .base = {.resolve = ChannelRecordStart}, .fields = kFields, .channelRows = true};

}  // namespace

const FieldTable& BeatShiftTable() { return kTable; }

const EditorModule& BeatShiftModule() {
  static const EditorModule module{.kind = static_cast<int>(EditorKind::BeatShift), .key = "beat_shift",
                                   .title = 775_txt, .tables = {kTable}};
  return module;
}

bool BeatShiftEditable(const ImageStore& image, int channel) {
  const auto rec = ChannelStore::RecordOf(image, channel);
  return rec && !image.Main().Bit(*rec + chrec::kBeatShift, 0);
}

}  // namespace zmp
