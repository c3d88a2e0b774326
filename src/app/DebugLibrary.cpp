#include "app/DebugLibrary.h"

#include <QWidget>

namespace zmp {

bool DebugLibrary::Load(const QString& name) {
  lib_.setFileName(name);
  if (!lib_.load()) return false;
  auto open = reinterpret_cast<OpenFn>(lib_.resolve("OpenMemMapDebugWindow"));
  auto memMap = reinterpret_cast<SetMsgFn>(lib_.resolve("SetMemMapMsg"));
  auto allUpdate = reinterpret_cast<SetMsgFn>(lib_.resolve("SetAllUpdateMsg"));
  if (!open || !memMap || !allUpdate) {
    lib_.unload();
    return false;
  }
  open_ = open;
  setMemMap_ = memMap;
  setAllUpdate_ = allUpdate;
  return true;
}

bool DebugLibrary::OpenWindow(QWidget* mainWindow, unsigned char* mainBlock, std::size_t mainSize,
                              unsigned char* secondBlock, std::size_t secondSize) {
  if (!IsLoaded()) return false;
  setMemMap_(kMemMapChangedMessage);
  setAllUpdate_(kUpdateAllViewsMessage);
  open_(mainWindow, mainBlock, static_cast<unsigned long>(mainSize), secondBlock,
        static_cast<unsigned long>(secondSize));
  return true;
}

}  // namespace zmp
