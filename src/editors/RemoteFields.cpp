#include "editors/RemoteFields.h"

#include <array>

#include "lang/LanguageTexts.h"
#include "editors/EditorKinds.h"
#include "editors/FiveToneTable.h"
#include "editors/FunctionCodes.h"
#include "editors/PortModel.h"

namespace zmp {

namespace {

constexpr int kHelp = 75001;  // the remote control's reference page

// What a table's records switch.
enum class Owner : std::uint8_t { Input, Output, Key };

constexpr PortDirection DirectionOf(Owner o) {
  return o == Owner::Input ? PortDirection::Input : PortDirection::Output;
}

FiveTonePart PartFor(bool hasFunction) { return hasFunction ? FiveTonePart::Decode : FiveTonePart::Encode; }
TextNo PrefixFor(bool hasFunction) { return hasFunction ? 1052_txt : 1051_txt; }

bool HasFunction(Owner owner, const ImageStore& image, int row) {
  if (owner == Owner::Key) return row >= 0 && row < kKeyCount && image.Main().Word(KeyGroupOffset(row)) != kNoFunction;
  const std::optional<Port> port = PortOfRow(image, DirectionOf(owner), row);
  return port && PortHasFunction(image, *port);
}

template <Owner O>
bool HasFunction(const ImageStore& image, int row) {
  return HasFunction(O, image, row);
}

template <Owner O>
std::optional<std::size_t> RecordStart(const ImageStore& image, int row) {
  const std::optional<Port> port = PortOfRow(image, DirectionOf(O), row);
  if (!port) return std::nullopt;
  return RemoteRecordOffset(*port);
}

template <Owner O>
std::string RowTitle(const ImageStore& image, int row) {
  return PortRowTitle(image, DirectionOf(O), row);
}

// --- activation and deactivation codes ------------------------------------------------

template <Owner O>
std::vector<ShownChoice> CodeChoices(const FieldAt& at) {
  const bool f = HasFunction<O>(at.image, at.row);
  return ReferenceChoices(at.image, PartFor(f), 719_txt, PrefixFor(f));
}

template <Owner O>
std::string ShowCode(const FieldAt& at) {
  const bool f = HasFunction<O>(at.image, at.row);
  return ReferenceText(PartFor(f), at.image.Main().Byte(at.offset()), 719_txt, PrefixFor(f));
}

template <Owner O>
constexpr FieldHooks kCodeHooks{.choices = CodeChoices<O>, .show = ShowCode<O>};

// A code names an entry of the part its owner's function chooses: a decode
// entry while the key, input or output has a function, an encode entry while
// it has none. A code that no longer fits its owner (the function went or
// came) or whose entry went out of use is released.
Target ResolveRemoteCode(const FieldAt& at, long code, int owner) {
  if (code == kNoReference) return {};
  const bool f = HasFunction(static_cast<Owner>(owner), at.image, at.row);
  const FiveTonePart part = PartFor(f);
  if (ReferencedEntry(part, code)) return ResolveEntry(at.image, part, code, PrefixFor(f));
  if (ReferencedEntry(PartFor(!f), code))
    return {Target::State::Missing, ReferenceText(PartFor(!f), code, 719_txt, PrefixFor(!f)), f ? 317_txt : 318_txt};
  return {Target::State::Missing, std::to_string(code), 316_txt};
}

// The owners' functions, the option ports' directions and the table.
constexpr std::array<BlockBytes, 5> kRemoteReads{{
    {kKeyList.offset, kGroupStride * kKeyCount},
    {kList1.offset, kGroupStride * static_cast<std::size_t>(kList1.groups + kList2.groups)},
    {kOptionPortDirections, kOptionPortCount},
    {kFixedOutputRecords, kOptionOutputRecords + kOutputRecordSize * kOptionPortCount - kFixedOutputRecords},
    kFiveToneTableBytes,
}};
const ReferenceKind kRemoteCodeTarget{.key = "remote_code", .resolve = ResolveRemoteCode, .reads = kRemoteReads,
                                      .pass = 2};
template <Owner O>
constexpr RefDecl kCodeRef{&kRemoteCodeTarget, kNoReference, static_cast<int>(O)};

constexpr std::array<Choice, 4> kModeChoices{{{0, 719_txt}, {1, 1053_txt}, {2, 1054_txt}, {3, 1050_txt}}};

template <Owner O>
constexpr std::array<FieldDecl, 3> kCodeFields{{
    {.key = "activation", .label = 1107_txt, .kind = ControlKind::DropList, .storage = Storage::Byte, .offset = 0,
     .helpContext = kHelp, .hooks = &kCodeHooks<O>, .refers = &kCodeRef<O>},
    {.key = "deactivation", .label = 1108_txt, .kind = ControlKind::DropList, .storage = Storage::Byte, .offset = 1,
     .helpContext = kHelp, .hooks = &kCodeHooks<O>, .refers = &kCodeRef<O>},
    {.key = "mode", .label = 1114_txt, .kind = ControlKind::DropList, .storage = Storage::Byte, .offset = 2,
     .choices = kModeChoices, .helpContext = kHelp},
}};
constexpr std::array<GridColumnInfo, 3> kCodeColumns{{{1107_txt, 100}, {1108_txt, 100}, {1114_txt, 90}}};

// --- outputs: their function and polarity, shown beside the codes -----------------------

std::optional<std::size_t> OutputRecordOfRow(const ImageStore& image, int row) {
  const std::optional<Port> port = PortOfRow(image, PortDirection::Output, row);
  if (!port) return std::nullopt;
  return OutputRecordOffset(*port);
}

std::string ShowOutputFunction(const FieldAt& at) {
  const auto record = OutputRecordOfRow(at.image, at.row);
  if (!record) return {};
  const OutputFunction* f = FindOutputFunction(at.image.Main().Byte(*record));
  return f ? Tx(f->name) : std::string{};
}

std::string ShowOutputPolarity(const FieldAt& at) {
  const auto record = OutputRecordOfRow(at.image, at.row);
  if (!record) return {};
  return Tx(PolarityName(at.image.Main().Byte(*record + kPolarityByte)));
}

constexpr FieldHooks kOutputFunctionHooks{.show = ShowOutputFunction};
constexpr FieldHooks kOutputPolarityHooks{.show = ShowOutputPolarity};

constexpr std::array<FieldDecl, 5> kOutputFields{{
    {.key = "function", .label = 991_txt, .kind = ControlKind::Static, .storage = Storage::None,
     .helpContext = kHelp, .hooks = &kOutputFunctionHooks},
    kCodeFields<Owner::Output>[0],
    kCodeFields<Owner::Output>[1],
    kCodeFields<Owner::Output>[2],
    {.key = "polarity", .label = 869_txt, .kind = ControlKind::Static, .storage = Storage::None,
     .helpContext = kHelp, .hooks = &kOutputPolarityHooks},
}};
// The function and polarity columns read the output records, which the codes'
// references read as well: the grid reloads when they change.
constexpr std::array<GridColumnInfo, 5> kOutputColumns{
    {{991_txt, 150}, {1107_txt, 100}, {1108_txt, 100}, {1114_txt, 90}, {869_txt, 100}}};

constexpr std::array<TextNo, kKeyCount> kKeyNames{998_txt, 999_txt, 1000_txt, 1001_txt, 1002_txt, 1003_txt};

}  // namespace


namespace {

// A new image: no key, input or output is switched remotely.
void RemoteDefaults(ImageStore& image) {
  for (int k = 0; k < kKeyCount; ++k) ClearRemoteRecord(image, KeyRecordOffset(k));
  const auto clear = [&](std::size_t start, int count) {
    for (int i = 0; i < count; ++i) ClearRemoteRecord(image, start + kRemoteRecordSize * static_cast<std::size_t>(i));
  };
  clear(kFixedInputRemote, kFixedInputCount + kOptionPortCount);
  clear(kFixedOutputRemote, kFixedOutputCount);
  clear(kOptionOutputRemote, kOptionPortCount);
}

}  // namespace

const EditorModule& RemoteModule() {
  static const EditorModule module{
      .kind = static_cast<int>(EditorKind::Remote),
      .key = "remote_control",
      .title = 705_txt,
      .tables = {FieldTable{.key = "keys", .title = 968_txt, .kind = TableKind::Grid, .rows = kKeyCount,
                            .base = {.start = kKeyRecordStart, .stride = kKeyRecordSize},
                            .fields = kCodeFields<Owner::Key>, .columns = kCodeColumns, .rowTitles = kKeyNames},
                 FieldTable{.key = "inputs", .title = 951_txt, .kind = TableKind::Grid,
                            .rows = MaxPortRows(PortDirection::Input), .base = {.resolve = RecordStart<Owner::Input>},
                            .fields = kCodeFields<Owner::Input>, .columns = kCodeColumns,
                            .rowTitle = RowTitle<Owner::Input>},
                 FieldTable{.key = "outputs", .title = 952_txt, .kind = TableKind::Grid,
                            .rows = MaxPortRows(PortDirection::Output),
                            .base = {.resolve = RecordStart<Owner::Output>}, .fields = kOutputFields,
                            .columns = kOutputColumns, .rowTitle = RowTitle<Owner::Output>}},
      .defaults = RemoteDefaults,
      // The records of option ports set to the other direction or unused.
      .owns = {{kFixedInputRemote, kRemoteRecordSize * (kFixedInputCount + kOptionPortCount)},
               {kFixedOutputRemote, kRemoteRecordSize * kFixedOutputCount},
               {kOptionOutputRemote, kRemoteRecordSize * kOptionPortCount}},
  };
  return module;
}

}  // namespace zmp
