// The link's user interface on Qt: the window keeps repainting between
// protocol steps while user input waits (a transfer dialog takes its own), the
// one failure message box, the wait cursor. While a transfer runs the program is busy: no command, no
// second transfer and no closing of the main window starts (CommBusy).
#pragma once

#include "comm/RepeaterLink.h"

class QString;
class QWidget;

namespace zmp {

// What reaches the window while the link works: paint and timers always;
// keys and clicks only with Input::OwnerTakesInput, and then only while the
// owner is the modal window (a transfer dialog's Cancel).
enum class Input { Held, OwnerTakesInput };

class QtLinkUi : public LinkUi {
 public:
  explicit QtLinkUi(QWidget* owner, Input input = Input::Held) : owner_(owner), input_(input) {}
  void Pump() override;
  void ShowFailure(TextNo text) override;
  void ShowFailure(TextNo text, TextNo more) override;
  void SetBusy(bool busy) override;

 private:
  void ShowFailureText(const QString& text);
  QWidget* owner_;
  Input input_;
};

// True while the repeater link is in use by a transfer or service dialog.
bool CommBusy();

// Marks the link in use for its lifetime and hands the link this UI.
class CommSession {
 public:
  CommSession(RepeaterLink& link, QWidget* owner, Input input = Input::Held);
  ~CommSession();
  CommSession(const CommSession&) = delete;
  CommSession& operator=(const CommSession&) = delete;

 private:
  RepeaterLink& link_;
  LinkUi* previous_;
  QtLinkUi ui_;
};

}  // namespace zmp
