// The five beat-shift settings of a channel: bits 1..5 of channel record byte
// 0x13, active low (0 = on); bit 0 (the channel's beat shift) and bits 6 and 7
// belong to others and are kept. Rows are channels, found through the channel
// index at every access. Standard library only.
#pragma once

#include "fields/FieldTypes.h"

namespace zmp {

const FieldTable& BeatShiftTable();
const EditorModule& BeatShiftModule();

// The five boxes can be changed while the channel exists and its beat shift
// (bit 0) is on.
bool BeatShiftEditable(const ImageStore& image, int channel);

}  // namespace zmp
