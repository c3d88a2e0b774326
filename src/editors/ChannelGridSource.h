// The channel information grid as data: its two column tables (full and
// short layout) and the GridSource that shows and stores the channels through
// the channel store. The Qt view draws it; the tests, the benchmark and the
// command-line export use the same tables. Standard library only.
#pragma once

#include <span>
#include <string>

#include "editors/ChannelStore.h"
#include "editors/GridSource.h"
#include "fields/FieldCodec.h"

namespace zmp {

// Column 0 is the channel number; every further column one channel field.
std::span<const GridColumn> ChInfoColumns(bool fullLayout);
// Help context of the view itself.
inline constexpr int kChInfoHelpContext = 78080;
// The shown text of a cell that does not apply to the channel's type.

class ChannelGridSource : public GridSource {
 public:
  // The layout follows the model: full when bit 2 of the option byte is set.
  explicit ChannelGridSource(ImageStore& image);
  ChannelGridSource(ImageStore& image, bool fullLayout);

  bool FullLayout() const { return full_; }
  ChannelStore& Store() { return store_; }
  const ChannelStore& Store() const { return store_; }

  int RowCount() const override { return kChannelCount; }
  int ColumnCount() const override { return static_cast<int>(columns_.size()); }
  const GridColumn& Column(int col) const override { return columns_[static_cast<std::size_t>(col)]; }
  std::string CellText(int row, int col) const override;
  bool IsEditable(int row, int col) const override;
  std::vector<GridChoice> Choices(int row, int col) const override;
  CellCommit SetCellText(int row, int col, std::string_view text) override;
  CellCommit SetCellValue(int row, int col, long value) override;
  bool EnterMovesDown(int row, int col) const override;

 private:
  ChannelStore store_;
  bool full_;
  std::span<const GridColumn> columns_;
};

// The whole channel plan of an image as "to Clip(w/Title)" text: the title
// line, then the 30 rows.
std::string ChannelPlanText(ImageStore& image);

}  // namespace zmp
