#include "editors/ScanInfoFields.h"

#include <array>
#include <string>

#include "lang/LanguageTexts.h"
#include "editors/ChannelStore.h"
#include "editors/EditorKinds.h"
#include "fields/FieldCodec.h"
#include "fields/FilterRules.h"

namespace zmp {

namespace {

using CK = ControlKind;

constexpr long kPriorityOff = 0xFF;
constexpr long kPriority0 = '0';
constexpr long kPriority1 = '1';

constexpr std::array<Choice, 3> kPriorities{{{kPriorityOff, 719_txt}, {kPriority0, 731_txt}, {kPriority1, 732_txt}}};

// Revert channel "0".."5": "2" and "3" only while Priority is not "1", "4"
// and "5" only while Priority is on.
std::vector<ShownChoice> RevertChoices(const FieldAt& at) {
  const long priority = at.image.Main().Byte(scan::kPriority);
  std::vector<ShownChoice> list{{'0', Tx(733_txt)}, {'1', Tx(734_txt)}};
  if (priority != kPriority1) {
    list.push_back({'2', Tx(732_txt)});
    list.push_back({'3', Tx(735_txt)});
  }
  if (priority != kPriorityOff) {
    list.push_back({'4', Tx(1125_txt)});
    list.push_back({'5', Tx(736_txt)});
  }
  return list;
}

// --- the priority channel: "Off" or a channel that exists ----------------------

bool ChannelExists(const ImageStore& image, long number) {
  return number >= 1 && number <= kChannelCount && ChannelStore::RecordOf(image, static_cast<int>(number - 1));
}

std::vector<ShownChoice> PriorityChannelChoices(const FieldAt& at) {
  std::vector<ShownChoice> list{{kPriorityOff, Tx(719_txt)}};
  for (int ch = 0; ch < kChannelCount; ++ch)
    if (ChannelStore::RecordOf(at.image, ch)) list.push_back({ch + 1, std::to_string(ch + 1)});
  return list;
}

std::string ShowPriorityChannel(const FieldAt& at) {
  const long n = at.image.Main().Byte(at.offset());
  if (n == kPriorityOff) return Tx(719_txt);
  if (n >= 1 && n <= kChannelCount) return std::to_string(n);
  return {};
}

CommitResult RefuseMissingChannel(const FieldAt& at, long stored) {
  if (stored == kPriorityOff || ChannelExists(at.image, stored)) return {};
  return CommitResult::Refuse(667_txt);
}

CommitResult CommitPriorityChannel(const FieldAt& at, std::string_view text) {
  auto main = at.Writable().Main();
  if (text.empty() || text == Tx(719_txt)) {
    main.SetByte(at.offset(), kPriorityOff);
    return {};
  }
  const auto n = ParseUnits(text, 0);
  const bool whole = n && text.find_first_not_of("0123456789") == std::string_view::npos;
  if (whole && *n == main.Byte(at.offset())) return {};
  if (!whole || !ChannelExists(at.image, *n)) return CommitResult::Refuse(667_txt);
  main.SetByte(at.offset(), static_cast<std::uint8_t>(*n));
  return {};
}

constexpr FieldHooks kRevertHooks{.choices = RevertChoices};
constexpr FieldHooks kPriorityChannelHooks{.choices = PriorityChannelChoices,
                                           .show = ShowPriorityChannel,
                                           .commitText = CommitPriorityChannel,
                                           .validate = RefuseMissingChannel};
// Deleting the priority channel turns priority scanning to no channel.
constexpr RefDecl kPriorityChannelRef{&kChannelTarget, kPriorityOff, kPriorityOff};

// Times in tenths of a second, shown with one decimal.
constexpr FieldDecl Time(std::string_view key, TextNo label, std::size_t offset, long step) {
  return {.key = key, .label = label, .kind = CK::EditSpin, .offset = offset, .range = {5, 50, step},
          .decimals = 1, .filter = filter::kFrequency, .maxLength = 4};
}

constexpr std::array<FieldDecl, 8> kFields{{
    {.key = "priority", .label = 1125_txt, .kind = CK::DropList, .offset = scan::kPriority,
     .choices = kPriorities},
    {.key = "priority_channel", .label = 1126_txt, .kind = CK::EditCombo, .offset = scan::kPriorityChannel,
     .filter = filter::kDigits, .maxLength = 2, .hooks = &kPriorityChannelHooks, .refers = &kPriorityChannelRef},
    Time("look_back_a", 1127_txt, scan::kLookBackA, 1),
    Time("look_back_b", 1128_txt, scan::kLookBackB, 1),
    {.key = "revert_channel", .label = 1129_txt, .kind = CK::DropList, .offset = scan::kRevert,
     .hooks = &kRevertHooks},
    Time("dropout_delay", 1130_txt, scan::kDropoutDelay, 5),
    Time("dwell", 1131_txt, scan::kDwell, 5),
    // Any byte but 0 shows clear; it stays as it is until the box is clicked.
    {.key = "off_hook_scan", .label = 1132_txt, .kind = CK::CheckBox, .offset = scan::kOffHookScan,
     .check = {0, 0xFF}},
}};

const FieldTable kTable{.key = "", .title = 703_txt, .fields = kFields};

}  // namespace

const EditorModule& ScanInfoModule() {
  static const EditorModule module{.kind = static_cast<int>(EditorKind::ScanInfo), .key = "scan",
                                   .title = 703_txt, .tables = {kTable}};
  return module;
}

}  // namespace zmp
