#include "service/TransferDialog.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "lang/LanguageTexts.h"
#include "ui/Messages.h"
#include "comm/ImageTransfer.h"
#include "service/LinkUiQt.h"

namespace zmp {

namespace {

QString Formatted(TextNo text, const std::vector<std::string>& args) {
  return QString::fromLatin1(FormatText(Texts().Text(text), args).c_str());
}

}  // namespace

CTransferDlg::CTransferDlg(Direction d, RepeaterLink& link, ImageStore& image, QWidget* parent)
    : CBusyDialog(parent), direction_(d), link_(link), image_(image) {
  setWindowTitle(QTx(d == Direction::Read ? 441_txt : 442_txt));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  status_ = new QLabel(QTx(443_txt), this);
  status_->setMinimumWidth(360);
  progress_ = new QProgressBar(this);
  progress_->setRange(0, kTransferBlocks);
  progress_->setValue(0);
  note_ = new QLabel(this);
  note_->setWordWrap(true);
  note_->hide();
  cancel_ = new QPushButton(QTx(27_txt), this);
  cancel_->setAutoDefault(false);
  connect(cancel_, &QPushButton::clicked, this, &CTransferDlg::RequestCancel);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(status_);
  layout->addWidget(progress_);
  layout->addWidget(note_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CTransferDlg::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (started_) return;
  started_ = true;
  QTimer::singleShot(0, this, [this] { done(Run() == 0 ? Accepted : Rejected); });
}

TransferProgress CTransferDlg::Reporting() {
  TransferProgress p;
  p.status = [this](TextNo t) {
    if (cancelRequested_) return;  // "Cancelling..." stays
    status_->setText(QTx(t));
    status_->repaint();
  };
  p.step = [this](int done, int total) {
    progress_->setMaximum(total);
    progress_->setValue(done);
  };
  p.cancelRequested = [this] { return cancelRequested_; };
  p.mustFinish = [this] { MustFinish(); };
  return p;
}

int CTransferDlg::Run() {
  started_ = true;
  SetBusy(true);
  CommSession session(link_, this, Input::OwnerTakesInput);
  ImageTransfer transfer(link_, Reporting());
  transfer.showError = [this](TextNo text, const std::vector<std::string>& args) {
    Error(this, Formatted(text, args));
  };
  const int r = direction_ == Direction::Read ? Read(transfer) : transfer.WriteToRepeater(image_);
  if (r == 0) progress_->setValue(progress_->maximum());
  partialWrite_ = direction_ == Direction::Write && r != 0 && transfer.UnitsStored() > 0;
  SetBusy(false);
  result_ = r;
  return r;
}

int CTransferDlg::Read(ImageTransfer& transfer) {
  const ModelRecord ours = ModelInfo(image_).Record();
  const int r = transfer.ReadFromRepeater(image_, ours, OtherModel::Return);
  if (r != kRepeaterOfOtherModel) return r;
  if (cancelRequested_) return kTransferCancelled;
  // Asked with the connection closed; "No" changes nothing, as a cancel.
  const wire::VersionInfo repeater = transfer.RepeaterVersion();
  const auto models = ModelMismatchArgs(repeater, ours);
  if (refusal_) {
    Error(this, Formatted(*refusal_, {models[0], models[1]}));
    return 1;
  }
  if (Confirm(this, Formatted(406_txt, {models[0], models[1], models[0]}), Buttons::YesNo) != Answer::Yes)
    return kTransferCancelled;
  if (cancelRequested_) return kTransferCancelled;
  otherModel_ = true;
  status_->setText(QTx(443_txt));
  progress_->setValue(0);
  return transfer.ReadFromRepeater(image_, RecordOfVersion(repeater), OtherModel::Refuse);
}

void CTransferDlg::RequestCancel() {
  if (mustFinish_ || cancelRequested_) return;
  cancelRequested_ = true;
  cancel_->setEnabled(false);
  status_->setText(QTx(401_txt));
}

void CTransferDlg::MustFinish() {
  mustFinish_ = true;
  cancel_->setText(QTx(402_txt));
  cancel_->setEnabled(false);
  note_->setText(QTx(403_txt));
  note_->show();
}

void CTransferDlg::reject() {
  // Escape and the close box: a running transfer is asked to stop.
  if (Busy()) {
    RequestCancel();
    return;
  }
  CBusyDialog::reject();
}

void CTransferDlg::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape && Busy()) {
    RequestCancel();
    return;
  }
  CBusyDialog::keyPressEvent(e);
}

void CTransferDlg::closeEvent(QCloseEvent* e) {
  if (Busy()) {
    e->ignore();
    RequestCancel();
    return;
  }
  CBusyDialog::closeEvent(e);
}

}  // namespace zmp
