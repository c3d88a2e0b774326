// The channel store itself: the outcome texts of its operations and what
// every program that keeps channels needs first. The index is in
// ChannelIndex.cpp, the records in ChannelRecords.cpp, the frequencies in
// ChannelFrequencies.cpp.
#include "editors/ChannelStore.h"

#include "editors/EditorModules.h"

namespace zmp {

TextNo MessageOf(StoreStatus s) {
  switch (s) {
    case StoreStatus::Ok: return 0_txt;
    case StoreStatus::NotAFrequency: return 749_txt;
    case StoreStatus::OutOfBand: return 656_txt;
    case StoreStatus::BadText: return 752_txt;
    case StoreStatus::NoChannel: return 783_txt;
    case StoreStatus::IndexDamaged: return 748_txt;
    case StoreStatus::NoRoom: return 788_txt;
    case StoreStatus::NotEditable: return 0_txt;
    case StoreStatus::SameChannel: return 795_txt;
  }
  return 0_txt;
}

ChannelStore::ChannelStore(ImageStore& image) : image_(image), model_(image) {
  // Every program that keeps channels makes new images with the editors'
  // defaults: this links the module list, which attaches them.
  static const bool installed = (InstallEditorModules(), true);
  (void)installed;
}

}  // namespace zmp
