// The channel index: the main-block words that point each channel at its
// record, checked before any record moves, and the setting kind that names a
// channel through it.
#include <array>
#include <string>

#include "editors/ChannelStore.h"

namespace zmp {

// --- index ------------------------------------------------------------------

std::uint16_t ChannelStore::IndexEntry(int entry) const {
  if (entry < 0 || entry >= kChannelIndexEntries) return kNoRecord;
  return image_.Main().Word(kChannelIndexOffset + 2 * static_cast<std::size_t>(entry));
}

void ChannelStore::WriteIndexEntry(int entry, std::uint16_t value) {
  image_.Main().SetWord(kChannelIndexOffset + 2 * static_cast<std::size_t>(entry), value);
}

IndexCheck ChannelStore::CheckIndex() const {
  IndexCheck out;
  for (int ch = 0; ch < kChannelCount; ++ch) {
    const std::uint16_t v = IndexEntry(ch);
    if (v == kNoRecord) continue;
    bool bad = !IsValidRecordOffset(v);
    bool duplicate = false;
    for (int other = 0; !bad && other < ch; ++other) duplicate = duplicate || IndexEntry(other) == v;
    if (bad || duplicate) {
      out.sound = false;
      out.channel = ch;
      out.value = v;
      out.duplicate = duplicate;
      return out;
    }
  }
  return out;
}

std::optional<std::size_t> ChannelStore::RecordOf(const ImageStore& image, int channel) {
  if (channel < 0 || channel >= kChannelCount) return std::nullopt;
  const std::uint16_t v = image.Main().Word(kChannelIndexOffset + 2 * static_cast<std::size_t>(channel));
  if (!IsValidRecordOffset(v)) return std::nullopt;
  return static_cast<std::size_t>(v);
}

int ChannelStore::ExistingCount() const {
  int n = 0;
  for (int ch = 0; ch < kChannelCount; ++ch) n += Exists(ch) ? 1 : 0;
  return n;
}

IndexCheck ChannelImageReplaced(ImageStore& image) { return ChannelStore(image).CheckIndex(); }


// --- a setting that names a channel -------------------------------------------------

namespace {

Target ResolveChannel(const FieldAt& at, long stored, int none) {
  if (stored == none) return {};
  const std::string name = std::to_string(stored);
  if (stored >= 1 && stored <= kChannelCount && ChannelStore::RecordOf(at.image, static_cast<int>(stored - 1)))
    return {Target::State::Present, name};
  return {Target::State::Missing, name, 310_txt};
}

constexpr std::array<BlockBytes, 1> kIndexBytes{{{kChannelIndexOffset, 2 * kChannelIndexEntries}}};

}  // namespace

const ReferenceKind kChannelTarget{.key = "channel", .resolve = ResolveChannel, .reads = kIndexBytes};

}  // namespace zmp
