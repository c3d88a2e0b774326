// The optional memory-map debug library ("MemDebug", libMemDebug.so on this
// system), loaded by name only when asked for. When it or one of its entry
// points is missing, nothing happens and nothing is said.
#pragma once

#include <QLibrary>
#include <cstddef>

class QWidget;

namespace zmp {

// Window messages the library posts to the main window.
inline constexpr int kMemMapChangedMessage = 1124;
inline constexpr int kUpdateAllViewsMessage = 1125;

class DebugLibrary {
 public:
  // Tries to load the library; true when it and all three entry points exist.
  bool Load(const QString& name = QStringLiteral("MemDebug"));
  bool IsLoaded() const { return open_ != nullptr; }
  // Sets the message numbers, then opens the window on the two blocks.
  bool OpenWindow(QWidget* mainWindow, unsigned char* mainBlock, std::size_t mainSize,
                  unsigned char* secondBlock, std::size_t secondSize);

 private:
  using OpenFn = void (*)(void* window, unsigned char* block1, unsigned long size1,
                          unsigned char* block2, unsigned long size2);
  using SetMsgFn = void (*)(unsigned int message);
  QLibrary lib_;
  OpenFn open_ = nullptr;
  SetMsgFn setMemMap_ = nullptr;
  SetMsgFn setAllUpdate_ = nullptr;
};

}  // namespace zmp
