#include "service/CommPortDialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <filesystem>

#include "ui/ControlTable.h"
#include "lang/LanguageTexts.h"
#include "ui/LanguageWidgets.h"
#include "ui/Messages.h"
#include "comm/PortMap.h"
#include "comm/RepeaterLink.h"
#include "comm/SerialAdapters.h"
#include "comm/Wire.h"

namespace zmp {

namespace {

constexpr std::array<ControlRecord, 1> kControls{{{CCommPortDlg::kSpeedLabel, CCommPortDlg::kSpeedList, 0, 1300_txt,
                                                   ControlKind::DropList}}};
constexpr unsigned kPortSettleMs = 50;

}  // namespace

CCommPortDlg::CCommPortDlg(RepeaterLink& link, QWidget* parent) : QDialog(parent), link_(link) {
  setWindowTitle(QTx(493_txt));
  auto* group = new QGroupBox(QTx(494_txt), this);
  NameControl(group, 1012);
  auto* grid = new QGridLayout(group);
  grid->setVerticalSpacing(2);
  grid->setHorizontalSpacing(14);
  grid->setColumnStretch(2, 1);
  auto* exclusive = new QButtonGroup(this);
  for (int i = 0; i < kPortCount; ++i) {
    const int port = i + 1;
    auto* b = new QRadioButton(QStringLiteral("COM%1").arg(port), group);
    NameControl(b, kFirstPortId + i);
    b->setEnabled(false);
    exclusive->addButton(b, port);
    // One row per port: the button, its device, the adapter behind it.
    auto* device = new QLabel(group);
    device->setEnabled(false);
    auto* adapter = new QLabel(group);
    adapter->setObjectName(QStringLiteral("Adapter%1").arg(port));
    grid->addWidget(b, i, 0);
    grid->addWidget(device, i, 1);
    grid->addWidget(adapter, i, 2);
    ports_[static_cast<std::size_t>(i)] = b;
    devices_[static_cast<std::size_t>(i)] = device;
    adapters_[static_cast<std::size_t>(i)] = adapter;
  }

  // The adapters that no port leads to, and mapping one to a port.
  auto* unmappedGroup = new QGroupBox(QTx(937_txt), this);
  unmappedGroup->setObjectName(QStringLiteral("UnmappedAdapters"));
  unmapped_ = new QListWidget(unmappedGroup);
  unmapped_->setObjectName(QStringLiteral("UnmappedList"));
  unmapped_->setMaximumHeight(90);
  noneUnmapped_ = new QLabel(QTx(941_txt), unmappedGroup);
  noneUnmapped_->setEnabled(false);
  auto* mapLabel = new QLabel(QTx(938_txt), unmappedGroup);
  mapPort_ = new QComboBox(unmappedGroup);
  mapPort_->setObjectName(QStringLiteral("MapPort"));
  for (int port = 1; port <= kPortCount; ++port) mapPort_->addItem(QStringLiteral("COM%1").arg(port), port);
  mapLabel->setBuddy(mapPort_);
  map_ = new QPushButton(QTx(939_txt), unmappedGroup);
  map_->setObjectName(QStringLiteral("Map"));
  map_->setAutoDefault(false);
  auto* mapRow = new QHBoxLayout;
  mapRow->addWidget(mapLabel);
  mapRow->addWidget(mapPort_);
  mapRow->addWidget(map_);
  mapRow->addStretch();
  auto* unmappedLayout = new QVBoxLayout(unmappedGroup);
  unmappedLayout->addWidget(unmapped_);
  unmappedLayout->addWidget(noneUnmapped_);
  unmappedLayout->addLayout(mapRow);

  auto* speedRow = new QHBoxLayout;
  auto* label = new QLabel(this);
  NameControl(label, kSpeedLabel);
  speed_ = new QComboBox(this);
  NameControl(speed_, kSpeedList);
  for (int rate : wire::kBaudRates) speed_->addItem(QString::number(rate));
  speed_->setCurrentIndex(speed_->findText(QString::number(link_.TargetBaud()), Qt::MatchExactly));
  label->setBuddy(speed_);
  speedRow->addWidget(label);
  speedRow->addWidget(speed_);
  speedRow->addStretch();
  ApplyCaptions(this, kControls);

  auto* buttons = new QDialogButtonBox(this);
  ok_ = buttons->addButton(QTx(26_txt), QDialogButtonBox::AcceptRole);
  cancel_ = buttons->addButton(QTx(27_txt), QDialogButtonBox::RejectRole);
  refresh_ = buttons->addButton(QTx(940_txt), QDialogButtonBox::ResetRole);
  refresh_->setObjectName(QStringLiteral("Refresh"));
  auto* help = buttons->addButton(QTx(29_txt), QDialogButtonBox::HelpRole);
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &CCommPortDlg::OnOk);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, &CCommPortDlg::HelpRequested);
  connect(refresh_, &QPushButton::clicked, this, [this] {
    ShowAdapters();
    Probe();
  });
  connect(map_, &QPushButton::clicked, this, [this] {
    if (MapSelectedAdapter()) Probe();
  });
  connect(unmapped_, &QListWidget::currentRowChanged, this, [this](int row) { map_->setEnabled(row >= 0); });
  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(f1, &QShortcut::activated, this, &CCommPortDlg::HelpRequested);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(unmappedGroup);
  layout->addLayout(speedRow);
  layout->addWidget(buttons);
  ShowAdapters();
}

namespace {

QString AdapterText(const SerialAdapter& a) {
  return QString::fromStdString(FormatText(Tx(943_txt), {a.Name(), a.vendorId, a.productId, a.serial}));
}

}  // namespace

void CCommPortDlg::ShowAdapters() {
  const auto root = SystemRoot();
  const auto adapters = ListSerialAdapters(root);
  const auto ports = DescribePorts(ProgramPortMap(), adapters, root, kPortCount);
  int firstFree = -1;
  for (const PortDescription& p : ports) {
    const auto i = static_cast<std::size_t>(p.port - 1);
    const QString device = QString::fromStdString(p.device);
    ports_[i]->setToolTip(device);
    devices_[i]->setText(device);
    QString text;
    QString tip;
    if (p.adapter) {
      text = AdapterText(*p.adapter);
      tip = QString::fromStdString(p.adapter->StableName());
    } else if (p.unplugged) {
      text = QString::fromStdString(
          FormatText(Tx(942_txt), {std::filesystem::path(p.device).filename().string()}));
    } else if (!p.mapped && firstFree < 0) {
      firstFree = p.port - 1;
    }
    adapters_[i]->setText(text);
    adapters_[i]->setToolTip(tip);
  }
  unmapped_->clear();
  for (const SerialAdapter& a : UnmappedAdapters(ports, adapters)) {
    auto* item = new QListWidgetItem(AdapterText(a) + QStringLiteral("   ") + QString::fromStdString(a.StableName()),
                                     unmapped_);
    item->setData(Qt::UserRole, QString::fromStdString(a.device));
    item->setData(Qt::UserRole + 1, QString::fromStdString(a.StableName()));
    item->setData(Qt::UserRole + 2, QString::fromStdString(a.Name()));
  }
  const bool any = unmapped_->count() > 0;
  unmapped_->setVisible(any);
  noneUnmapped_->setVisible(!any);
  mapPort_->setEnabled(any);
  if (any) unmapped_->setCurrentRow(0);
  map_->setEnabled(any && unmapped_->currentRow() >= 0);
  if (firstFree >= 0) mapPort_->setCurrentIndex(firstFree);
}

bool CCommPortDlg::MapSelectedAdapter() {
  const QListWidgetItem* item = unmapped_->currentItem();
  if (!item) return false;
  const std::string device = item->data(Qt::UserRole).toString().toStdString();
  const std::string stable = item->data(Qt::UserRole + 1).toString().toStdString();
  const std::string name = item->data(Qt::UserRole + 2).toString().toStdString();
  const int port = mapPort_->currentData().toInt();
  // The adapter may have been pulled out since the list was read.
  const auto adapters = ListSerialAdapters(SystemRoot());
  const bool present = std::any_of(adapters.begin(), adapters.end(), [&](const SerialAdapter& a) {
    return a.device == device && a.StableName() == stable;
  });
  if (!present) {
    Error(this, QString::fromStdString(FormatText(Tx(944_txt), {name})));
    ShowAdapters();
    return false;
  }
  ProgramPortMap().SetOverride(port, stable);
  emit PortMapped(port, QString::fromStdString(stable));
  ShowAdapters();
  return true;
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
