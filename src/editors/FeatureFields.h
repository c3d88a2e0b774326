// The optional features: the repeater-wide settings that belong to no
// channel, on five pages (repeater, local mic and tones, the unit's own
// identity, start-up, TX/RX). Pages 2-4 exist only on variants whose model
// option byte (image byte 0x420) has bit 2 set. The fields that switch a
// facility off remove its functions from every assignment list in the same
// commit. Standard library only.
#pragma once

#include "fields/FieldTypes.h"

namespace zmp {

const EditorModule& FeatureModule();

// The tables by page (0..4).
const FieldTable& FeatureTable(int page);

// The data password: up to six digits, stored in six bytes with 0xFF for
// the unused positions. Shown with spaces and 0xFF bytes left out.
inline constexpr std::size_t kDataPasswordOffset = 0x0250;
inline constexpr std::size_t kDataPasswordLength = 6;
std::string DataPasswordText(const ImageStore& image);
// Refuses (and writes nothing) when the text holds anything but digits or
// more than six of them.
CommitResult StoreDataPassword(ImageStore& image, std::string_view digits);

}  // namespace zmp
