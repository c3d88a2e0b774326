#include "editors/KeyFields.h"

#include <array>

#include "lang/LanguageTexts.h"
#include "editors/EditorKinds.h"
#include "editors/FunctionCodes.h"
#include "fields/FieldCodec.h"

namespace zmp {

namespace {

std::vector<ShownChoice> KeyChoices(const FieldAt& at) { return AvailableFunctionChoices(at.image, category::kKey); }

std::string ShowKey(const FieldAt& at) { return KeyFunctionText(at.image, at.image.Main().Word(at.offset())); }

std::optional<long> KeyCode(const FieldAt& at) { return at.image.Main().Word(at.offset()); }

// The parameters of the old function mean nothing to the new one.
void AfterKeyChange(const FieldAt& at, long, long) { ResetKeyRecord(at.Writable(), at.row); }

constexpr FieldHooks kKeyHooks{.choices = KeyChoices, .show = ShowKey, .afterCommit = AfterKeyChange, .raw = KeyCode};
constexpr RefDecl kKeySlot = FunctionSlot(category::kKey);

constexpr std::array<FieldDecl, 1> kKeyFields{{
    {.key = "function", .label = 991_txt, .kind = ControlKind::DropList, .storage = Storage::Word,
     .offset = 0, .labelId = 1010, .valueId = 1009, .helpContext = 79001, .hooks = &kKeyHooks,
     .refers = &kKeySlot},
}};
constexpr std::array<GridColumnInfo, 1> kKeyColumns{{{991_txt, 190}}};
constexpr std::array<TextNo, kKeyCount> kKeyNames{998_txt, 999_txt, 1000_txt, 1001_txt, 1002_txt, 1003_txt};

const FieldTable kTable{.key = "", .title = 701_txt, .kind = TableKind::Grid, .rows = kKeyCount,
                        .base = {.start = kKeyList.offset, .stride = kGroupStride}, .fields = kKeyFields,
                        .columns = kKeyColumns, .rowTitles = kKeyNames};

}  // namespace

const FieldTable& KeyTable() { return kTable; }

std::string KeyFunctionText(const ImageStore& image, std::uint16_t code) {
  return AssignedFunctionText(image, code, category::kKey);
}

const EditorModule& KeyModule() {
  static const EditorModule module{
      .kind = static_cast<int>(EditorKind::Key),
      .key = "key_assignment",
      .title = 701_txt,
      .tables = {kTable, KeyChainTable()},
      // The key groups' further words and the keys' parameter records.
      .owns = {{kKeyList.offset, kGroupStride * kKeyCount}, {kKeyRecordStart, kKeyRecordSize * kKeyCount}},
  };
  return module;
}

}  // namespace zmp
