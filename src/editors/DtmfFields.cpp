#include "editors/DtmfFields.h"

#include <array>

#include "editors/EditorKinds.h"
#include "fields/FilterRules.h"

namespace zmp {

namespace {

using CK = ControlKind;

constexpr std::array<Choice, 4> kSpeeds{{{6, {0}, "6"}, {8, {0}, "8"}, {10, {0}, "10"}, {15, {0}, "15"}}};
constexpr std::array<Choice, 4> kDigitTimes{{{0, {0}, "0"}, {100, {0}, "100"}, {500, {0}, "500"}, {1000, {0}, "1000"}}};

// The 16-bit values sit at odd offsets: Storage::Word reads and writes them byte by byte.
constexpr std::array<FieldDecl, 7> kFields{{
    {.key = "encode", .label = 1099_txt, .kind = CK::GroupLabel, .storage = Storage::None, .labelId = 1048},
    {.key = "speed", .label = 1100_txt, .kind = CK::DropList, .offset = dtmf::kSpeed, .choices = kSpeeds,
     .labelId = 1115, .valueId = 1211, .initial = 10},
    {.key = "first_digit_delay", .label = 1101_txt, .kind = CK::EditSpin, .storage = Storage::Word,
     .offset = dtmf::kFirstDigitDelay, .range = {0, 1000, 50}, .filter = filter::kDigits, .maxLength = 4,
     .labelId = 1122, .valueId = 1054, .spinId = 1123, .initial = 100},
    {.key = "first_digit_time", .label = 1102_txt, .kind = CK::DropList, .storage = Storage::Word,
     .offset = dtmf::kFirstDigitTime, .choices = kDigitTimes, .labelId = 1118, .valueId = 1212, .initial = 100},
    {.key = "star_hash_time", .label = 1103_txt, .kind = CK::DropList, .storage = Storage::Word,
     .offset = dtmf::kStarHashTime, .choices = kDigitTimes, .labelId = 1120, .valueId = 1213, .initial = 100},
    {.key = "decode", .label = 1104_txt, .kind = CK::GroupLabel, .storage = Storage::None},
    // Any byte but the two states (a foreign file) shows clear and stays until clicked.
    {.key = "remote_without_tone", .label = 1098_txt, .kind = CK::CheckBox, .offset = dtmf::kRemoteWithoutTone,
     .check = {0xFF, 0}, .valueId = 1094},
}};

const FieldTable kTable{.key = "", .title = 713_txt, .fields = kFields};

}  // namespace

const EditorModule& DtmfModule() {
  static const EditorModule module{.kind = static_cast<int>(EditorKind::Dtmf), .key = "dtmf", .title = 713_txt,
                                   .tables = {kTable}};
  return module;
}

}  // namespace zmp
