#include "editors/ChannelGridSource.h"

#include "editors/ChannelFields.h"

namespace zmp {

ChannelGridSource::ChannelGridSource(ImageStore& image)
    : ChannelGridSource(image, !ChannelStore(image).OptionBoardFitted()) {}

ChannelGridSource::ChannelGridSource(ImageStore& image, bool fullLayout)
    : FieldGridSource(image, ChannelGridTable(fullLayout)), store_(image), full_(fullLayout) {}

bool ChannelGridSource::EnterMovesDown(int row, int col) const {
  return col > 0 && Ref(row, col).decl->key == "rx_frequency" && !store_.Exists(row);
}

std::string ChannelPlanText(ImageStore& image) {
  ChannelGridSource source(image);
  return GridClipText(source, 0, source.RowCount() - 1, true);
}

}  // namespace zmp
