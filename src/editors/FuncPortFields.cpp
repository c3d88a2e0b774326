#include "editors/FuncPortFields.h"

#include <array>

#include "lang/LanguageTexts.h"
#include "editors/EditorKinds.h"
#include "editors/FunctionCodes.h"
#include "editors/PortModel.h"

namespace zmp {

namespace {

constexpr int kHelp = 85001;  // the function port's reference page

// --- inputs: function chains -------------------------------------------------------

std::optional<std::size_t> InputRowStart(const ImageStore& image, int row) {
  const std::optional<Port> port = PortOfRow(image, PortDirection::Input, row);
  if (!port) return std::nullopt;
  return InputGroupOffset(*port);
}

std::string InputTitle(const ImageStore& image, int row) { return PortRowTitle(image, PortDirection::Input, row); }


std::vector<ShownChoice> InputChoices(const FieldAt& at) { return AvailableFunctionChoices(at.image, category::kPortInput); }

std::string ShowInputFunction(const FieldAt& at) {
  return AssignedFunctionText(at.image, at.image.Main().Word(at.offset()), category::kPortInput);
}

// A function follows only a function: no gap in a chain. A word that names
// no function (blank, or never written: 0xFFFF) is a gap.
CommitResult RefuseGap(const FieldAt& at, long stored) {
  const std::size_t word = at.decl.offset / 2;
  if (word == 0 || stored == kNoFunction) return {};
  const FunctionCode before = at.image.Main().Word(at.base + 2 * (word - 1));
  if (before == kNoFunction || !FindFunction(before)) return CommitResult::Refuse(969_txt);
  return {};
}

constexpr FieldHooks kChainHooks{
    .choices = InputChoices, .show = ShowInputFunction, .validate = RefuseGap, .afterCommit = EndChainAtBlank};
constexpr RefDecl kInputSlot = FunctionSlot(category::kPortInput);

constexpr FieldDecl ChainWord(std::string_view key, TextNo label, std::size_t word) {
  return {.key = key, .label = label, .kind = ControlKind::DropList, .storage = Storage::Word, .offset = 2 * word,
          .helpContext = kHelp, .hooks = &kChainHooks, .refers = &kInputSlot};
}

constexpr std::array<FieldDecl, kChainLength> kInputFields{{
    ChainWord("function_1", 1295_txt, 0),
    ChainWord("function_2", 1296_txt, 1),
    ChainWord("function_3", 1297_txt, 2),
}};
constexpr std::array<GridColumnInfo, kChainLength> kInputColumns{{{1295_txt, 170}, {1296_txt, 170}, {1297_txt, 170}}};

// --- outputs: function and polarity --------------------------------------------------

std::optional<std::size_t> OutputRowStart(const ImageStore& image, int row) {
  const std::optional<Port> port = PortOfRow(image, PortDirection::Output, row);
  if (!port) return std::nullopt;
  return OutputRecordOffset(*port);
}

std::string OutputTitle(const ImageStore& image, int row) { return PortRowTitle(image, PortDirection::Output, row); }

std::vector<ShownChoice> OutputFunctionChoices(const FieldAt&) {
  std::vector<ShownChoice> out;
  for (const OutputFunction& f : OutputFunctions()) out.push_back({f.code, Tx(f.name)});
  return out;
}

constexpr FieldHooks kOutputFunctionHooks{.choices = OutputFunctionChoices};

// 0 is one polarity; every other value reads as the other, stored as 0xFF.
constexpr std::array<Choice, 2> kPolarityChoices{{{0x00, 962_txt}, {0xFF, 961_txt}}};
std::string ShowPolarity(const FieldAt& at) { return Tx(PolarityName(at.image.Main().Byte(at.offset()))); }
constexpr FieldHooks kPolarityHooks{.show = ShowPolarity};

constexpr std::array<FieldDecl, 2> kOutputFields{{
    {.key = "function", .label = 991_txt, .kind = ControlKind::DropList, .storage = Storage::Byte, .offset = 0,
     .helpContext = kHelp, .hooks = &kOutputFunctionHooks},
    {.key = "polarity", .label = 869_txt, .kind = ControlKind::DropList, .storage = Storage::Byte,
     .offset = kPolarityByte, .choices = kPolarityChoices, .helpContext = kHelp, .hooks = &kPolarityHooks},
}};
constexpr std::array<GridColumnInfo, 2> kOutputColumns{{{991_txt, 190}, {869_txt, 110}}};

// --- ports: input level and option-port directions -------------------------------------

constexpr std::array<Choice, 2> kLevelChoices{{{0xFF, 963_txt}, {0x00, 964_txt}}};
constexpr std::array<Choice, 3> kDirectionChoices{{{0, 951_txt}, {1, 952_txt}, {kOptionPortUnused, 965_txt}}};

constexpr FieldDecl Direction(std::string_view key, TextNo label, int k) {
  return {.key = key, .label = label, .kind = ControlKind::DropList, .storage = Storage::Byte,
          .offset = kOptionPortDirections + static_cast<std::size_t>(k), .choices = kDirectionChoices,
          .labelId = 8510 + 2 * k, .valueId = 8511 + 2 * k, .helpContext = kHelp};
}

constexpr std::array<FieldDecl, 1 + kOptionPortCount> kPortFields{{
    {.key = "level", .label = 966_txt, .kind = ControlKind::DropList, .storage = Storage::Byte, .offset = kPortLevel,
     .choices = kLevelChoices, .labelId = 8500, .valueId = 8501, .helpContext = kHelp},
    Direction("option_port_1", 945_txt, 0),
    Direction("option_port_2", 946_txt, 1),
    Direction("option_port_3", 947_txt, 2),
    Direction("option_port_4", 948_txt, 3),
    Direction("option_port_5", 949_txt, 4),
    Direction("option_port_6", 950_txt, 5),
}};

}  // namespace

namespace {

// A new image: no input or output has a function; outputs are active high.
void FuncPortDefaults(ImageStore& image) {
  BlankAssignmentLists(image);
  const BlockRef m = image.Main();
  const auto blank = [&](std::size_t start, int count) {
    for (int i = 0; i < count; ++i) {
      const std::size_t at = start + kOutputRecordSize * static_cast<std::size_t>(i);
      m.SetByte(at, kNoOutputFunction);
      m.SetByte(at + kPolarityByte, 0xFF);
    }
  };
  blank(kFixedOutputRecords, kFixedOutputCount);
  blank(kOptionOutputRecords, kOptionPortCount);
}

}  // namespace

const EditorModule& FuncPortModule() {
  static const EditorModule module{
      .kind = static_cast<int>(EditorKind::FuncPort),
      .key = "function_port",
      .title = 714_txt,
      .tables = {FieldTable{.key = "inputs", .title = 951_txt, .kind = TableKind::Grid,
                            .rows = MaxPortRows(PortDirection::Input), .base = {.resolve = InputRowStart},
                            .fields = kInputFields, .columns = kInputColumns, .rowTitle = InputTitle},
                 FieldTable{.key = "outputs", .title = 952_txt, .kind = TableKind::Grid,
                            .rows = MaxPortRows(PortDirection::Output), .base = {.resolve = OutputRowStart},
                            .fields = kOutputFields, .columns = kOutputColumns, .rowTitle = OutputTitle},
                 FieldTable{.key = "ports", .title = 967_txt, .fields = kPortFields},
                 OptionPortChainTable(), OtherAssignmentListsTable()},
      .defaults = FuncPortDefaults,
      // Word 3 of each input group, bytes 2-7 of each output record.
      .owns = {{kList1.offset, kGroupStride * static_cast<std::size_t>(kList1.groups)},
               {kList2.offset, kGroupStride * static_cast<std::size_t>(kList2.groups)},
               {kFixedOutputRecords, kOutputRecordSize * kFixedOutputCount},
               {kOptionOutputRecords, kOutputRecordSize * kOptionPortCount}},
  };
  return module;
}

}  // namespace zmp
