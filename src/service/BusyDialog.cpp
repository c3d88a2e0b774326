#include "service/BusyDialog.h"

#include <QCloseEvent>
#include <QKeyEvent>

namespace zmp {

void CBusyDialog::closeEvent(QCloseEvent* e) {
  if (busy_) {
    e->ignore();
    return;
  }
  QDialog::closeEvent(e);
}

void CBusyDialog::keyPressEvent(QKeyEvent* e) {
  if (busy_) return;
  QDialog::keyPressEvent(e);
}

}  // namespace zmp
