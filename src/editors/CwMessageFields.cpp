#include "editors/CwMessageFields.h"

#include <array>

#include "editors/CwIdFields.h"
#include "editors/EditorKinds.h"
#include "fields/FieldCodec.h"
#include "fields/FilterRules.h"

namespace zmp {

namespace {

using CK = ControlKind;

// The keys and inputs that send a message let it go when it is emptied: the
// functions name it, and a function whose message is empty is not offered.
constexpr FieldHooks kMessageHooks{.commitText = CommitCwText};

constexpr FieldDecl Message(std::string_view key, int message, int id) {
  return {.key = key, .label = 709_txt, .labelNumber = message, .kind = CK::Edit, .storage = Storage::Text,
          .offset = cwmes::MessageOffset(message), .length = cwmes::kMessageLength, .filter = filter::kCw,
          .maxLength = static_cast<int>(cwmes::kMessageLength), .valueId = id, .hooks = &kMessageHooks};
}

constexpr std::array<FieldDecl, 13> kFields{{
    {.key = "speed", .label = 829_txt, .kind = CK::EditSpin, .offset = cwmes::kSpeed, .range = {5, 30, 1},
     .filter = filter::kDigits, .maxLength = 2, .labelId = 1060, .valueId = 1063, .spinId = 1066},
    // Limited to 2550 before it is divided; empty text and "Off" store 0.
    {.key = "mod_delay", .label = 830_txt, .kind = CK::EditSpin, .offset = cwmes::kModDelay,
     .range = {0, 2550, 10}, .scale = {10, 1}, .off = {724_txt, 1}, .filter = filter::kDigits, .maxLength = 4,
     .labelId = 1054, .valueId = 1053, .spinId = 1052},
    {.key = "audio_frequency", .label = 831_txt, .kind = CK::EditSpin, .offset = cwmes::kAudioFrequency,
     .range = {400, 2000, 100}, .scale = {10, 1}, .filter = filter::kDigits, .maxLength = 4,
     .labelId = 1057, .valueId = 1056, .spinId = 1055},
    {.key = "send_to_ra", .label = 832_txt, .kind = CK::CheckBox, .offset = cwmes::kSendToRa, .check = {1, 0},
     .valueId = 1264},
    {.key = "encode_with_tone", .label = 833_txt, .kind = CK::CheckBox, .offset = cwmes::kEncodeWithTone,
     .check = {1, 0}, .valueId = 1265},
    Message("message_1", 1, 1083),
    Message("message_2", 2, 1088),
    Message("message_3", 3, 1089),
    Message("message_4", 4, 1090),
    Message("message_5", 5, 1086),
    Message("message_6", 6, 1091),
    Message("message_7", 7, 1092),
    Message("message_8", 8, 1093),
}};

const FieldTable kTable{.key = "", .title = 709_txt, .fields = kFields};

}  // namespace

const EditorModule& CwMessageModule() {
  static const EditorModule module{.kind = static_cast<int>(EditorKind::CWMes), .key = "cw_message",
                                   .title = 709_txt, .tables = {kTable}};
  return module;
}

}  // namespace zmp
