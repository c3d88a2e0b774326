// The link's user interface on Qt: the window keeps repainting between
// protocol steps while user input waits, the one failure message box, the
// wait cursor. While a transfer runs the program is busy: no command, no
// second transfer and no closing of the main window starts (CommBusy).
#pragma once

#include "comm/RepeaterLink.h"

class QWidget;

namespace zmp {

class QtLinkUi : public LinkUi {
 public:
  explicit QtLinkUi(QWidget* owner) : owner_(owner) {}
  void Pump() override;
  void ShowFailure(TextNo text) override;
  void SetBusy(bool busy) override;

 private:
  QWidget* owner_;
};

// True while the repeater link is in use by a transfer or service dialog.
bool CommBusy();

// Marks the link in use for its lifetime and hands the link this UI.
class CommSession {
 public:
  CommSession(RepeaterLink& link, QWidget* owner);
  ~CommSession();
  CommSession(const CommSession&) = delete;
  CommSession& operator=(const CommSession&) = delete;

 private:
  RepeaterLink& link_;
  LinkUi* previous_;
  QtLinkUi ui_;
};

}  // namespace zmp
