#include "service/CommPortDialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>
#include <array>

#include "app/ControlTable.h"
#include "app/LanguageWidgets.h"
#include "app/Messages.h"
#include "comm/PortMap.h"
#include "comm/RepeaterLink.h"

namespace zmp {

namespace {

constexpr std::array<const char*, 5> kSpeeds{"9600", "19200", "38400", "57600", "115200"};
constexpr std::array<ControlRecord, 1> kControls{{{CCommPortDlg::kSpeedLabel, CCommPortDlg::kSpeedList, 0, 1300_txt,
                                                   ControlKind::Choice}}};
constexpr unsigned kPortSettleMs = 50;

}  // namespace

CCommPortDlg::CCommPortDlg(RepeaterLink& link, QWidget* parent) : QDialog(parent), link_(link) {
  setWindowTitle(QTx(493_txt));
  auto* group = new QGroupBox(QTx(494_txt), this);
  NameControl(group, 1012);
  auto* grid = new QGridLayout(group);
  auto* exclusive = new QButtonGroup(this);
  for (int i = 0; i < kPortCount; ++i) {
    const int port = i + 1;
    const QString device = QString::fromStdString(ProgramPortMap().DevicePath(port));
    auto* b = new QRadioButton(QStringLiteral("COM%1").arg(port), group);
    NameControl(b, kFirstPortId + i);
    b->setToolTip(device);
    b->setEnabled(false);
    exclusive->addButton(b, port);
    auto* path = new QLabel(device, group);
    path->setEnabled(false);
    // Four columns of five ports, each button with its device below-right.
    const int column = i / 5, row = i % 5;
    grid->addWidget(b, row, column * 2);
    grid->addWidget(path, row, column * 2 + 1);
    ports_[static_cast<std::size_t>(i)] = b;
  }
  auto* speedRow = new QHBoxLayout;
  auto* label = new QLabel(this);
  NameControl(label, kSpeedLabel);
  speed_ = new QComboBox(this);
  NameControl(speed_, kSpeedList);
  for (const char* s : kSpeeds) speed_->addItem(QString::fromLatin1(s));
  speed_->setCurrentIndex(speed_->findText(QString::number(link_.TargetBaud()), Qt::MatchExactly));
  label->setBuddy(speed_);
  speedRow->addWidget(label);
  speedRow->addWidget(speed_);
  speedRow->addStretch();
  ApplyCaptions(this, kControls);

  auto* buttons = new QDialogButtonBox(this);
  ok_ = buttons->addButton(QTx(26_txt), QDialogButtonBox::AcceptRole);
  cancel_ = buttons->addButton(QTx(27_txt), QDialogButtonBox::RejectRole);
  auto* help = buttons->addButton(QTx(29_txt), QDialogButtonBox::HelpRole);
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &CCommPortDlg::OnOk);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, &CCommPortDlg::HelpRequested);
  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(f1, &QShortcut::activated, this, &CCommPortDlg::HelpRequested);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addLayout(speedRow);
  layout->addWidget(buttons);
}

void CCommPortDlg::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (firstShow_) probeAfterPaint_ = true;
}

void CCommPortDlg::paintEvent(QPaintEvent* e) {
  QDialog::paintEvent(e);
  if (!probeAfterPaint_) return;
  probeAfterPaint_ = false;
  // The probe blocks for about a second: it starts once the dialog has been
  // drawn, so that the user sees it (with the wait cursor) meanwhile.
  QTimer::singleShot(0, this, [this] {
    if (firstShow_) Probe();
  });
}

void CCommPortDlg::Probe() {
  firstShow_ = false;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const int remembered = link_.Port();
  for (int port = 1; port <= kPortCount; ++port) {
    QRadioButton* b = PortButton(port);
    link_.SetPort(port);
    SerialPort::Delay(kPortSettleMs);
    link_.ResetAndClose();
    bool usable = link_.Open() && link_.IsRs232();
    b->setEnabled(usable);
    if (usable && port == remembered) b->setChecked(true);
    link_.ResetAndClose();
  }
  QApplication::restoreOverrideCursor();
  link_.SetPort(remembered);
  probed_ = true;
}

void CCommPortDlg::OnOk() {
  for (int port = 1; port <= kPortCount; ++port)
    if (PortButton(port)->isChecked()) link_.SetPort(port);
  emit PortChanged();
  const QString speed = speed_->currentIndex() >= 0 ? speed_->currentText() : QString();
  if (!speed.isEmpty()) link_.SetTargetBaud(speed.toInt());
  accept();
}

}  // namespace zmp
