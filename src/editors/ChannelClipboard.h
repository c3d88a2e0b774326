// The channel clipboard of the application: whole channels (64-byte record and
// 32-byte auxiliary record) copied from the channel grid, pasted elsewhere.
// Channels that did not exist are held as empty entries, so that pasting them
// deletes the channels at those positions. Standard library only.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "data/ModelInfo.h"
#include "editors/ChannelStore.h"

namespace zmp {

struct ChannelClipEntry {
  // Nothing when the channel did not exist.
  std::optional<std::array<std::uint8_t, kChannelRecordSize>> record;
  std::array<std::uint8_t, kAuxRecordSize> aux{};
};

struct PasteResult {
  StoreStatus status = StoreStatus::Ok;  // first failure; Ok when every target was reached
  int pasted = 0;                        // entries handled (created or deleted)
  // Targets (0-based) left as they were: the entry receives outside the band.
  std::vector<int> notPasted;
  // Targets pasted with a transmit frequency outside the band, kept as it was.
  std::vector<int> outsideBand;
};

class ChannelClipboard {
 public:
  bool Empty() const { return entries_.empty(); }
  int Count() const { return static_cast<int>(entries_.size()); }
  int FirstChannel() const { return first_; }
  int LastChannel() const { return first_ + Count() - 1; }
  const std::vector<ChannelClipEntry>& Entries() const { return entries_; }

  // Takes channels first..last (0-based, inclusive) of the store; a new copy
  // replaces the previous content. Nothing is taken for an empty range.
  void Copy(const ChannelStore& store, int first, int last);
  // Pastes onto the channels from firstTarget on, at most maxTargets of them
  // (all entries when maxTargets < 0), stopping at the last channel. Each
  // target that exists is deleted; a non-empty entry is then created there,
  // filled, and its frequencies stored again for the band of this image (the
  // clipboard outlives the image it was copied from). An entry that receives
  // outside the band leaves its target as it was (notPasted). Stops at the
  // first channel that cannot be created; the channels pasted before it stay.
  // Refused without change while the index is damaged.
  PasteResult Paste(ChannelStore& store, int firstTarget, int maxTargets = -1);
  void Clear();

 private:
  std::vector<ChannelClipEntry> entries_;
  int first_ = 0;
};

// The one channel clipboard of the application.
ChannelClipboard& TheChannelClipboard();

}  // namespace zmp
