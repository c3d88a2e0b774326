// The 5-tone encode/decode table and the reference bytes that point into it.
//
// The table has an encode part of 32 entries at 0x6200 and a decode part of
// 40 entries at 0x6500, 24 bytes each; an entry is in use while its first
// byte is below 0xFF. Settings refer to entries by one byte: a decode
// reference is the entry number n (0..39), an encode reference 128 + n
// (128..159), 0xFF is none. Any other byte names nothing: it is never used to
// address the table and is left as it is until the user chooses another.
// Standard library only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "data/ImageStore.h"
#include "lang/TextNo.h"
#include "fields/FieldTypes.h"

namespace zmp {

enum class FiveTonePart : std::uint8_t { Encode, Decode };

inline constexpr std::size_t kFiveToneEntrySize = 24;
inline constexpr std::size_t kEncodeTableStart = 0x6200;
inline constexpr int kEncodeEntryCount = 32;
inline constexpr std::size_t kDecodeTableStart = 0x6500;
inline constexpr int kDecodeEntryCount = 40;
inline constexpr std::uint8_t kNoReference = 0xFF;
inline constexpr int kEncodeReferenceBase = 128;

int EntryCount(FiveTonePart part);
// Whether entry n of the part holds a code (false for n outside the part).
bool EntryInUse(const ImageStore& image, FiveTonePart part, int n);
// The entry a reference byte names, or nothing (none, or outside the part).
std::optional<int> ReferencedEntry(FiveTonePart part, long referenceByte);
// The reference byte of entry n.
std::uint8_t ReferenceOf(FiveTonePart part, int n);
// None (text `none`) first, then every entry in use in table order, each
// shown by its number counted from 1, after `prefix` and a space when the
// prefix is not 0 ("Decode 6").
std::vector<ShownChoice> ReferenceChoices(const ImageStore& image, FiveTonePart part, TextNo none,
                                          TextNo prefix = TextNo{0});
// The text of a reference byte as ReferenceChoices shows it; empty for a
// byte that names nothing in the part. The entry need not be in use.
std::string ReferenceText(FiveTonePart part, long referenceByte, TextNo none, TextNo prefix = TextNo{0});

// What a reference byte names: none, an entry in use, or (missing) an entry
// out of use or a byte that names no entry of the part. Entries are shown
// after `prefix` as ReferenceChoices shows them.
Target ResolveEntry(const ImageStore& image, FiveTonePart part, long referenceByte, TextNo prefix = TextNo{0});
// The bytes of the table (an entry's first byte says whether it is in use).
inline constexpr BlockBytes kFiveToneTableBytes{kEncodeTableStart,
                                                kDecodeTableStart + kDecodeEntryCount * kFiveToneEntrySize -
                                                    kEncodeTableStart};
// A setting that names an entry (RefDecl::param: the FiveTonePart); an entry
// taken out of use releases it (0xFF).
extern const ReferenceKind kFiveToneEntryTarget;
constexpr RefDecl FiveToneReference(FiveTonePart part) {
  return RefDecl{&kFiveToneEntryTarget, kNoReference, static_cast<int>(part)};
}

}  // namespace zmp
