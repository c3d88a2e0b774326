#include "service/TransferDialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

#include "app/LanguageTexts.h"
#include "app/Messages.h"
#include "comm/ImageTransfer.h"
#include "service/LinkUiQt.h"

namespace zmp {

CTransferDlg::CTransferDlg(Direction d, RepeaterLink& link, ImageStore& image, QWidget* parent)
    : CBusyDialog(parent), direction_(d), link_(link), image_(image) {
  setWindowTitle(QTx(d == Direction::Read ? 441_txt : 442_txt));
  // No close box: the transfer cannot be broken off half-way.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  status_ = new QLabel(QTx(443_txt), this);
  status_->setMinimumWidth(360);
  progress_ = new QProgressBar(this);
  progress_->setRange(0, kTransferBlocks);
  progress_->setValue(0);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(status_);
  layout->addWidget(progress_);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CTransferDlg::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (started_) return;
  started_ = true;
  QTimer::singleShot(0, this, [this] { done(Run() == 0 ? Accepted : Rejected); });
}

int CTransferDlg::Run() {
  started_ = true;
  SetBusy(true);
  CommSession session(link_, this);
  TransferProgress p;
  p.status = [this](TextNo t) {
    status_->setText(QTx(t));
    status_->repaint();
  };
  p.step = [this](int done, int total) {
    progress_->setMaximum(total);
    progress_->setValue(done);
  };
  ImageTransfer transfer(link_, p);
  transfer.showError = [this](TextNo text, const std::vector<std::string>& args) {
    Error(this, QString::fromLatin1(FormatText(Texts().Text(text), args).c_str()));
  };
  int r;
  if (direction_ == Direction::Read)
    r = transfer.ReadFromRepeater(image_, ModelInfo(image_).Record());
  else
    r = transfer.WriteToRepeater(image_);
  if (r == 0) progress_->setValue(progress_->maximum());
  SetBusy(false);
  return r;
}

void CTransferDlg::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape) return;  // Escape would close it
  CBusyDialog::keyPressEvent(e);
}

}  // namespace zmp
