// The "Read Data from System" and "Write Data to System" dialogs: a status
// text, a progress bar over all blocks of all units and Cancel. The transfer
// starts once the dialog is shown. Cancel, Escape and the close box stop a
// read at once and a write until its first data block goes out; from then on
// the button says that the write must finish, and a note says why. The dialog
// closes by itself: accepted after a complete transfer, rejected after a
// failure (whose one message has been shown) or a cancel.
//
// A repeater of another model than the data: the read asks whether to read it
// as its own model (the image then takes the repeater's model, band and data),
// or refuses it with a message of the caller's (a read to compare with).
#pragma once

#include "service/BusyDialog.h"
#include <optional>

#include "data/ImageStore.h"
#include "data/ModelInfo.h"
#include "lang/TextNo.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace zmp {

class ImageTransfer;
class RepeaterLink;
struct TransferProgress;

class CTransferDlg : public CBusyDialog {
  Q_OBJECT
 public:
  enum class Direction { Read, Write };
  CTransferDlg(Direction d, RepeaterLink& link, ImageStore& image, QWidget* parent = nullptr);

  // Runs the transfer now (it runs by itself once the dialog is shown) and
  // returns its result (0 success, kTransferCancelled, else a failure).
  int Run();
  int TransferResult() const { return result_; }
  // A repeater of another model fails the read with this text (arguments: the
  // repeater's model, the data's) instead of the question.
  void RefuseOtherModel(TextNo refusal) { refusal_ = refusal; }
  // The read took a repeater of another model, as the user agreed.
  bool ReadAsOtherModel() const { return otherModel_; }
  // The write failed after the repeater had stored a part of it.
  bool LeftPartialWrite() const { return partialWrite_; }

  QProgressBar* Progress() const { return progress_; }
  QLabel* Status() const { return status_; }
  QPushButton* CancelButton() const { return cancel_; }
  QLabel* Note() const { return note_; }

 public slots:
  void reject() override;

 protected:
  void showEvent(QShowEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  TransferProgress Reporting();
  int Read(ImageTransfer& transfer);
  // Cancel, Escape or the close box while the transfer runs.
  void RequestCancel();
  void MustFinish();

  Direction direction_;
  RepeaterLink& link_;
  ImageStore& image_;
  QLabel* status_;
  QProgressBar* progress_;
  QLabel* note_;
  QPushButton* cancel_;
  bool started_ = false;
  bool cancelRequested_ = false;
  bool mustFinish_ = false;
  bool otherModel_ = false;
  bool partialWrite_ = false;
  int result_ = -1;
  std::optional<TextNo> refusal_;
};

}  // namespace zmp
