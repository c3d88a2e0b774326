// A dialog that cannot be closed while it is busy with the repeater: the
// close box, Escape and other keys do nothing until the work is over.
#pragma once

#include <QDialog>

namespace zmp {

class CBusyDialog : public QDialog {
  Q_OBJECT
 public:
  using QDialog::QDialog;
  bool Busy() const { return busy_; }

 protected:
  void SetBusy(bool busy) { busy_ = busy; }
  void closeEvent(QCloseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  bool busy_ = false;
};

}  // namespace zmp
