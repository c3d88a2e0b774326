// The commands of an editor view (Copy, Paste, Delete ...): actions with
// their text and shortcut that work while the focus is inside the view, found
// again by command number for the popup menu and the main frame.
#pragma once

#include <QKeySequence>
#include <functional>
#include <map>

#include "lang/TextNo.h"

class QAction;
class QWidget;

namespace zmp {

class ViewCommands {
 public:
  explicit ViewCommands(QWidget& view) : view_(view) {}
  QAction* Add(int command, TextNo text, const QKeySequence& key, std::function<void()> run);
  // The command's action, or nullptr.
  QAction* Find(int command) const;

 private:
  QWidget& view_;
  std::map<int, QAction*> actions_;
};

}  // namespace zmp
