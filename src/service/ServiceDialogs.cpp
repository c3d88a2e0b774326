#include "service/ServiceDialogs.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>
#include <chrono>

#include "comm/ImageTransfer.h"

#include "lang/LanguageTexts.h"
#include "ui/LanguageWidgets.h"
#include "ui/Messages.h"
#include "comm/RepeaterLink.h"
#include "comm/ServiceCommands.h"
#include "service/LinkUiQt.h"

namespace zmp {

namespace {
constexpr unsigned kPortSettleMs = 50;
constexpr unsigned kStoringPollMs = 100;
constexpr int kStoringWaitMs = 15000;
}  // namespace

int OpenServiceConnection(RepeaterLink& link, ServiceCommands& svc, const ModelRecord& expected, QWidget* owner) {
  link.ResetAndClose();
  if (link.Reconnect() != 0) {
    link.ReportPortUnavailable();
    return 1;
  }
  SerialPort::Delay(kPortSettleMs);
  if (link.OpenConnection() != 0) {
    link.ReportFailure();
    return 1;
  }
  wire::VersionInfo version;
  if (svc.DoQueryVersion(version) != 0) return 1;
  if (!RepeaterMatches(version, expected)) {
    // Another repeater than the data is for: nothing more is sent to it.
    const bool known = IsKnownRepeater(version);
    const std::vector<std::string> args =
        known ? ModelMismatchArgs(version, expected) : std::vector<std::string>{wire::VersionText(version)};
    Error(owner, QString::fromLatin1(FormatText(Texts().Text(known ? 470_txt : 602_txt), args).c_str()));
    link.CloseConnection();
    link.ResetAndClose();
    return 1;
  }
  if (svc.DoPresentAccessCode() != 0) return 1;
  return svc.DoChangeBaud() != 0 ? 1 : 0;
}

// ---- Network information ---------------------------------------------------------

CNetworkInfoDlg::CNetworkInfoDlg(RepeaterLink& link, const ModelRecord& expected, bool demo, QWidget* parent)
    : QDialog(parent), link_(link), expected_(expected), demo_(demo) {
  setWindowTitle(QTx(506_txt));
  auto* label = new QLabel(QTx(507_txt), this);
  NameControl(label, 1308);
  address_ = new QLabel(this);
  NameControl(address_, 1307);
  address_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  address_->setMinimumWidth(220);
  QFont mono = address_->font();
  mono.setFamily(QStringLiteral("Monospace"));
  mono.setStyleHint(QFont::TypeWriter);
  address_->setFont(mono);
  auto* row = new QHBoxLayout;
  row->addWidget(label);
  row->addWidget(address_, 1);
  auto* buttons = new QDialogButtonBox(this);
  auto* close = buttons->addButton(QTx(28_txt), QDialogButtonBox::RejectRole);
  auto* help = buttons->addButton(QTx(29_txt), QDialogButtonBox::HelpRole);
  close->setDefault(true);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  connect(help, &QPushButton::clicked, this, &CNetworkInfoDlg::HelpRequested);
  connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this, &CNetworkInfoDlg::HelpRequested);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(buttons);
}

std::string CNetworkInfoDlg::Address() const { return std::string(buffer_); }

int CNetworkInfoDlg::ReadAddress() {
  std::fill(std::begin(buffer_), std::end(buffer_), '\0');
  int result = 0;
  if (!demo_) {
    CommSession session(link_, parentWidget());
    ServiceCommands svc(link_);
    if (OpenServiceConnection(link_, svc, expected_, parentWidget()) != 0) return 1;
    std::uint8_t mac[wire::kMacInfoSize] = {};
    if (svc.DoReadMacInfo(mac, wire::kMacInfoSize) != 0) return 1;
    std::copy(std::begin(mac), std::end(mac), buffer_);
    buffer_[kAddressSize - 1] = '\0';
    if (link_.CloseConnection() != 0) {
      link_.ResetAndClose();
      return 1;
    }
    link_.ResetAndClose();
  }
  const std::string text = Address();
  address_->setText(text.empty() ? QString() : QStringLiteral("  ") + QString::fromLatin1(text.c_str()));
  return result;
}

// ---- Factory reset ------------------------------------------------------------------

CFactoryResetDlg::CFactoryResetDlg(RepeaterLink& link, const ModelRecord& expected, bool demo, QWidget* parent)
    : CBusyDialog(parent), link_(link), expected_(expected), demo_(demo) {
  setWindowTitle(QTx(509_txt));
  progress_ = new QProgressBar(this);
  NameControl(progress_, 2043);
  progress_->setRange(0, static_cast<int>((link_.LongTimeout() + 15000) / 1000 + 9));
  progress_->setValue(0);
  progress_->setMinimumWidth(320);
  auto* buttons = new QDialogButtonBox(this);
  ok_ = buttons->addButton(QTx(56_txt), QDialogButtonBox::AcceptRole);
  cancel_ = buttons->addButton(QTx(27_txt), QDialogButtonBox::RejectRole);
  cancel_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &CFactoryResetDlg::OnOk);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  tick_ = new QTimer(this);
  tick_->setInterval(1000);
  connect(tick_, &QTimer::timeout, this, &CFactoryResetDlg::Advance);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(progress_);
  layout->addWidget(buttons);
}

void CFactoryResetDlg::Advance() { progress_->setValue(std::min(progress_->value() + 1, progress_->maximum())); }

void CFactoryResetDlg::OnOk() {
  if (Confirm(this, 699_txt, Buttons::OkCancelDefaultCancel) != Answer::Ok) {
    reject();
    return;
  }
  ok_->setEnabled(false);
  cancel_->setEnabled(false);
  // Busy: no close box, and the close and Escape keys do nothing.
  const Qt::WindowFlags flags = windowFlags();
  setWindowFlags((flags | Qt::CustomizeWindowHint | Qt::WindowTitleHint) & ~Qt::WindowCloseButtonHint);
  show();
  SetBusy(true);
  const int r = RunReset();
  SetBusy(false);
  setWindowFlags(flags);
  if (r == 0) {
    MessageByNumber(this, QTx(510_txt), 509_txt, Icon::Information);
    accept();
    return;
  }
  if (r == 2) Error(this, 477_txt);
  setWindowTitle(QTx(509_txt));
  reject();
}

int CFactoryResetDlg::RunReset() {
  using Clock = std::chrono::steady_clock;
  progress_->setValue(0);
  if (demo_) {
    Notice(this, 474_txt);  // nothing is sent in demonstration mode
    return 1;
  }
  CommSession session(link_, this);
  link_.PumpMessages();
  ServiceCommands svc(link_);
  if (OpenServiceConnection(link_, svc, expected_, this) != 0) return 1;
  for (int i = 0; i < 4; ++i) Advance();  // connection, version, access code, speed
  if (svc.DoQueryMode() != 0) return 1;
  Advance();
  tick_->start();
  const int reset = svc.ServiceReset();
  tick_->stop();
  if (reset != 0) {
    link_.ReportFailure();
    return 1;
  }
  Advance();
  link_.PumpMessages();
  // The storing notice, polled while the timer goes on.
  bool stored = false;
  {
    ScopedReadTimeout poll(link_, kStoringPollMs);
    tick_->start();
    const auto until = Clock::now() + std::chrono::milliseconds(kStoringWaitMs);
    while (Clock::now() < until && !link_.ResetReceived()) {
      link_.PumpMessages();
      wire::Bytes msg;
      if (!link_.ReceiveMessage(msg)) continue;
      if (wire::IsStoringNotice(wire::AsText(msg))) {
        stored = true;
        break;
      }
      if (wire::ControlWordOf(wire::AsText(msg)) == wire::kRst) break;
    }
    tick_->stop();
  }
  if (!stored) {
    link_.ReportFailure();
    return 1;
  }
  Advance();
  if (link_.AwaitToken(wire::kCompInd) != 0) {
    link_.ReportFailure();
    return 1;
  }
  Advance();
  int result = link_.CloseConnection() != 0 ? 2 : 0;
  progress_->setValue(progress_->maximum());
  link_.ResetAndClose();
  return result;
}

}  // namespace zmp
