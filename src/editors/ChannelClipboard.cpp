#include "editors/ChannelClipboard.h"

#include <algorithm>

#include "editors/ChannelBand.h"

namespace zmp {

ChannelClipboard& TheChannelClipboard() {
  static ChannelClipboard clipboard;
  return clipboard;
}

void ChannelClipboard::Clear() {
  entries_.clear();
  first_ = 0;
}

void ChannelClipboard::Copy(const ChannelStore& store, int first, int last) {
  first = std::max(first, 0);
  last = std::min(last, kChannelCount - 1);
  if (first > last) return;
  std::vector<ChannelClipEntry> entries;
  for (int ch = first; ch <= last; ++ch) {
    ChannelClipEntry e;
    const auto record = store.ReadRecord(ch);
    if (!record.empty()) {
      e.record.emplace();
      std::copy(record.begin(), record.end(), e.record->begin());
      const auto aux = store.ReadAuxRecord(ch);
      std::copy(aux.begin(), aux.end(), e.aux.begin());
    }
    entries.push_back(e);
  }
  entries_ = std::move(entries);
  first_ = first;
}

PasteResult ChannelClipboard::Paste(ChannelStore& store, int firstTarget, int maxTargets) {
  PasteResult result;
  if (entries_.empty() || firstTarget < 0 || firstTarget >= kChannelCount) return result;
  if (!store.CheckIndex().sound) {
    result.status = StoreStatus::IndexDamaged;
    return result;
  }
  const int count = maxTargets < 0 ? Count() : std::min(Count(), maxTargets);
  for (int i = 0; i < count; ++i) {
    const int t = firstTarget + i;
    if (t >= kChannelCount) break;
    const auto& e = entries_[static_cast<std::size_t>(i)];
    if (e.record && ReceivesOutsideBand(store, *e.record)) {
      // Copied from an image of another band: this channel cannot work here.
      result.notPasted.push_back(t);
      continue;
    }
    StoreStatus s = StoreStatus::Ok;
    if (e.record) s = store.ReplaceChannel(t, *e.record, e.aux);
    else if (store.Exists(t)) s = store.DeleteChannel(t);
    if (s != StoreStatus::Ok) {
      result.status = s;
      return result;
    }
    // Step codes and split flags follow the band of this image.
    if (e.record && RestoreChannelForBand(store, t).txOutside) result.outsideBand.push_back(t);
    ++result.pasted;
  }
  return result;
}

}  // namespace zmp
