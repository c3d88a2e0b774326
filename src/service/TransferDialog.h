// The "Read Data from System" and "Write Data to System" dialogs: a status
// text and a progress bar over all blocks of all units. The transfer starts
// once the dialog is shown; while it runs the dialog cannot be closed. It
// closes by itself: accepted after a complete transfer, rejected after a
// failure (whose one message has been shown).
#pragma once

#include "service/BusyDialog.h"
#include <optional>

#include "data/ImageStore.h"
#include "data/ModelInfo.h"

class QLabel;
class QProgressBar;

namespace zmp {

class RepeaterLink;

class CTransferDlg : public CBusyDialog {
  Q_OBJECT
 public:
  enum class Direction { Read, Write };
  CTransferDlg(Direction d, RepeaterLink& link, ImageStore& image, QWidget* parent = nullptr);

  // Runs the transfer now (it runs by itself once the dialog is shown) and
  // returns its result (0 success).
  int Run();
  QProgressBar* Progress() const { return progress_; }
  QLabel* Status() const { return status_; }

 protected:
  void showEvent(QShowEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  Direction direction_;
  RepeaterLink& link_;
  ImageStore& image_;
  QLabel* status_;
  QProgressBar* progress_;
  bool started_ = false;
};

}  // namespace zmp
