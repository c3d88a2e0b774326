// The two 32-character lines of the embedded message, main block 0x0200 and
// 0x0220, padded with 0x00. Standard library only.
#pragma once

#include <cstddef>

#include "fields/FieldTypes.h"

namespace zmp {

namespace emb {
inline constexpr std::size_t kLine1 = 0x0200;
inline constexpr std::size_t kLine2 = 0x0220;
inline constexpr std::size_t kLineLength = 32;
}  // namespace emb

const EditorModule& EmbeddedMessageModule();

}  // namespace zmp
