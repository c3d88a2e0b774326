// The channel information grid: a field grid over the channel grid table of
// the model's layout (full or short), whose rows are the 30 channels, missing
// ones listed with empty cells. Every cell is shown and stored by the field
// codec; the grid adds only Enter's move down after a frequency typed into a
// missing channel. The Qt view draws it; the tests, the benchmark and the
// command-line export use the same source. Standard library only.
#pragma once

#include <string>

#include "editors/ChannelStore.h"
#include "editors/FieldGridSource.h"

namespace zmp {

// Help context of the view itself.
inline constexpr int kChInfoHelpContext = 78080;

class ChannelGridSource : public FieldGridSource {
 public:
  // The layout follows the model: full when bit 2 of the option byte is set.
  explicit ChannelGridSource(ImageStore& image);
  ChannelGridSource(ImageStore& image, bool fullLayout);

  bool FullLayout() const { return full_; }
  ChannelStore& Store() { return store_; }
  const ChannelStore& Store() const { return store_; }

  // The receive frequency typed into a missing channel moves down one row,
  // to the next channel of a plan being typed in.
  bool EnterMovesDown(int row, int col) const override;

 private:
  ChannelStore store_;
  bool full_;
};

// The whole channel plan of an image as "to Clip(w/Title)" text: the title
// line, then the 30 rows.
std::string ChannelPlanText(ImageStore& image);

}  // namespace zmp
