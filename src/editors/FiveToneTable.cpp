#include "editors/FiveToneTable.h"

#include <array>
#include <string>

#include "lang/LanguageTexts.h"

namespace zmp {

namespace {

std::size_t TableStart(FiveTonePart part) {
  return part == FiveTonePart::Encode ? kEncodeTableStart : kDecodeTableStart;
}

int ReferenceBase(FiveTonePart part) { return part == FiveTonePart::Encode ? kEncodeReferenceBase : 0; }

std::string EntryText(int n, TextNo prefix) {
  const std::string number = std::to_string(n + 1);
  return prefix.n == 0 ? number : Tx(prefix) + " " + number;
}

}  // namespace

int EntryCount(FiveTonePart part) {
  return part == FiveTonePart::Encode ? kEncodeEntryCount : kDecodeEntryCount;
}

bool EntryInUse(const ImageStore& image, FiveTonePart part, int n) {
  if (n < 0 || n >= EntryCount(part)) return false;
  return image.Main().Byte(TableStart(part) + kFiveToneEntrySize * static_cast<std::size_t>(n)) < 0xFF;
}

std::optional<int> ReferencedEntry(FiveTonePart part, long referenceByte) {
  const long n = referenceByte - ReferenceBase(part);
  if (n < 0 || n >= EntryCount(part)) return std::nullopt;
  return static_cast<int>(n);
}

std::uint8_t ReferenceOf(FiveTonePart part, int n) {
  return static_cast<std::uint8_t>(ReferenceBase(part) + n);
}

std::vector<ShownChoice> ReferenceChoices(const ImageStore& image, FiveTonePart part, TextNo none,
                                          TextNo prefix) {
  std::vector<ShownChoice> out{{kNoReference, Tx(none)}};
  for (int n = 0; n < EntryCount(part); ++n)
    if (EntryInUse(image, part, n)) out.push_back({ReferenceOf(part, n), EntryText(n, prefix)});
  return out;
}

std::string ReferenceText(FiveTonePart part, long referenceByte, TextNo none, TextNo prefix) {
  if (referenceByte == kNoReference) return Tx(none);
  const std::optional<int> n = ReferencedEntry(part, referenceByte);
  return n ? EntryText(*n, prefix) : std::string{};
}

Target ResolveEntry(const ImageStore& image, FiveTonePart part, long referenceByte, TextNo prefix) {
  if (referenceByte == kNoReference) return {};
  const std::optional<int> n = ReferencedEntry(part, referenceByte);
  if (!n) return {Target::State::Missing, std::to_string(referenceByte), 316_txt};
  if (!EntryInUse(image, part, *n)) return {Target::State::Missing, EntryText(*n, prefix), 315_txt};
  return {Target::State::Present, EntryText(*n, prefix)};
}

namespace {

Target ResolveEntryReference(const FieldAt& at, long stored, int part) {
  return ResolveEntry(at.image, static_cast<FiveTonePart>(part), stored);
}
constexpr std::array<BlockBytes, 1> kTableReads{kFiveToneTableBytes};

}  // namespace

const ReferenceKind kFiveToneEntryTarget{.key = "five_tone_entry", .resolve = ResolveEntryReference,
                                         .reads = kTableReads};

}  // namespace zmp
