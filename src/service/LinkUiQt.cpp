#include "service/LinkUiQt.h"

#include <QApplication>
#include <QWidget>

#include "ui/Messages.h"

namespace zmp {

namespace {
int g_sessions = 0;
}  // namespace

void QtLinkUi::Pump() {
  // Paint and timers go on; keys and clicks wait until the exchange is over,
  // unless the owner takes them and no other window can get them.
  const bool ownerTakesInput =
      input_ == Input::OwnerTakesInput && owner_ && QApplication::activeModalWidget() == owner_;
  QCoreApplication::processEvents(ownerTakesInput ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
}

void QtLinkUi::ShowFailure(TextNo text) { ShowFailureText(QTx(text)); }

void QtLinkUi::ShowFailure(TextNo text, TextNo more) {
  ShowFailureText(QTx(text) + QStringLiteral("\n\n") + QTx(more));
}

void QtLinkUi::ShowFailureText(const QString& text) {
  Error(owner_, text);
  if (owner_) owner_->repaint();
  if (QWidget* main = owner_ ? owner_->window() : nullptr) main->repaint();
}

void QtLinkUi::SetBusy(bool busy) {
  if (busy)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

bool CommBusy() { return g_sessions > 0; }

CommSession::CommSession(RepeaterLink& link, QWidget* owner, Input input)
    : link_(link), previous_(link.Ui()), ui_(owner, input) {
  ++g_sessions;
  link_.SetUi(&ui_);
}

CommSession::~CommSession() {
  link_.SetUi(previous_);
  --g_sessions;
}

}  // namespace zmp
