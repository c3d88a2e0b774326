#include "editors/ui/ViewCommands.h"

#include <QAction>
#include <QWidget>

#include "ui/Messages.h"

namespace zmp {

QAction* ViewCommands::Add(int command, TextNo text, const QKeySequence& key, std::function<void()> run) {
  auto* a = new QAction(QTx(text), &view_);
  if (!key.isEmpty()) a->setShortcut(key);
  a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  view_.addAction(a);
  QObject::connect(a, &QAction::triggered, &view_, [run = std::move(run)] { run(); });
  actions_[command] = a;
  return a;
}

QAction* ViewCommands::Find(int command) const {
  const auto it = actions_.find(command);
  return it == actions_.end() ? nullptr : it->second;
}

}  // namespace zmp
