#include "editors/ChannelGridSource.h"

#include <array>

#include "editors/FilterRules.h"
#include "editors/ToneCode.h"

namespace zmp {

namespace {

using namespace chfield;

constexpr GridColumn kNumber{kChannel, 754_txt, 30, 0, CellEditor::None, 0, 0};
constexpr GridColumn kRx{kRxFrequency, 741_txt, 85, 78081, CellEditor::Text, filter::kFrequency, 10};
constexpr GridColumn kTx{kTxFrequency, 742_txt, 85, 78082, CellEditor::Text, filter::kFrequency, 10};
constexpr GridColumn kType{kChannelType, 762_txt, 70, 78110, CellEditor::List, 0, 0};
constexpr GridColumn kMode{kTxMode, 763_txt, 70, 78111, CellEditor::List, 0, 0};
constexpr GridColumn kToneDec{kToneDecode, 744_txt, 75, 78084, CellEditor::Tone, 0, kToneTextMaxLength};
constexpr GridColumn kToneEnc{kToneEncode, 743_txt, 75, 78083, CellEditor::Tone, 0, kToneTextMaxLength};
constexpr GridColumn kRanDec{kRanDecode, 799_txt, 60, 78112, CellEditor::Number, filter::kDigits, 2, 1, 63};
constexpr GridColumn kRanEnc{kRanEncode, 800_txt, 60, 78113, CellEditor::Number, filter::kDigits, 2, 1, 63};
constexpr GridColumn kNameCol{kName, 745_txt, 65, 78085, CellEditor::Text, filter::kName, 2};

constexpr std::array<GridColumn, 10> kFullColumns{kNumber, kRx,     kTx,     kType,   kMode,
                                                  kToneDec, kToneEnc, kRanDec, kRanEnc, kNameCol};
constexpr std::array<GridColumn, 7> kShortColumns{kNumber, kRx, kTx, kType, kToneDec, kToneEnc, kNameCol};

}  // namespace

std::span<const GridColumn> ChInfoColumns(bool fullLayout) {
  if (fullLayout) return kFullColumns;
  return kShortColumns;
}

ChannelGridSource::ChannelGridSource(ImageStore& image)
    : ChannelGridSource(image, !ChannelStore(image).OptionBoardFitted()) {}

ChannelGridSource::ChannelGridSource(ImageStore& image, bool fullLayout)
    : store_(image), full_(fullLayout), columns_(ChInfoColumns(fullLayout)) {}

std::string ChannelGridSource::CellText(int row, int col) const {
  const int field = Column(col).field;
  if (field != kChannel && store_.Exists(row) && !store_.IsApplicable(row, field)) return kNotApplicableText;
  return store_.GetFieldText(row, field).text;
}

bool ChannelGridSource::IsEditable(int row, int col) const {
  const GridColumn& c = Column(col);
  if (c.editor == CellEditor::None) return false;
  // Only the frequencies can bring a channel into being.
  if (!store_.Exists(row)) return c.field == kRxFrequency || c.field == kTxFrequency;
  return store_.IsApplicable(row, c.field);
}

std::vector<GridChoice> ChannelGridSource::Choices(int row, int col) const {
  std::vector<GridChoice> out;
  for (auto& it : store_.OptionList(Column(col).field, row)) out.push_back({it.text, it.value});
  return out;
}

CellCommit ChannelGridSource::SetCellText(int row, int col, std::string_view text) {
  CellCommit out;
  if (!IsEditable(row, col)) return out;
  const StoreStatus s = store_.SetFieldText(row, Column(col).field, text);
  out.stored = s == StoreStatus::Ok;
  out.message = MessageOf(s);
  return out;
}

bool ChannelGridSource::EnterMovesDown(int row, int col) const {
  return Column(col).field == kRxFrequency && !store_.Exists(row);
}

std::string ChannelPlanText(ImageStore& image) {
  ChannelGridSource source(image);
  return GridClipText(source, 0, source.RowCount() - 1, true);
}

}  // namespace zmp
