#include "app/CompareWindow.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <cstdio>

#include "editors/HelpTopics.h"
#include "app/MainFrame.h"
#include "ui/Messages.h"
#include "app/Prompts.h"
#include "comm/ImageTransfer.h"
#include "comm/RepeaterLink.h"
#include "editors/EditorModules.h"
#include "fields/References.h"
#include "service/TransferDialog.h"

namespace zmp {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// The bytes of a range as hex pairs; a long range shows its first bytes.
QString HexBytes(const ImageCopy& image, const ByteRange& r) {
  constexpr std::size_t kShown = 16;
  const auto bytes = image.Block(r.block).span();
  QString out;
  for (std::size_t i = r.first; i <= r.last && i < r.first + kShown; ++i) {
    char pair[4];
    std::snprintf(pair, sizeof pair, "%02X ", bytes[i]);
    out += QLatin1String(pair);
  }
  if (r.last + 1 - r.first > kShown) out += QStringLiteral("…");
  return out.trimmed();
}

// Item data of a setting's row: its index in the differences.
constexpr int kFieldIndexRole = Qt::UserRole;

}  // namespace

CCompareWnd::CCompareWnd(CMainFrame& frame, const ImageStore& image, QWidget* parent)
    : QWidget(parent, Qt::Window), frame_(frame), image_(image) {
  setObjectName(QStringLiteral("CCompareWnd"));
  setWindowTitle(QTx(355_txt).remove(QLatin1Char('&')));
  summary_ = new QLabel(this);
  summary_->setWordWrap(true);
  list_ = new QTreeWidget(this);
  list_->setObjectName(QStringLiteral("CompareList"));
  list_->setUniformRowHeights(true);
  list_->setAllColumnsShowFocus(true);
  list_->setHeaderLabels({QTx(339_txt), QTx(332_txt), QTx(356_txt), QTx(357_txt)});
  list_->header()->setStretchLastSection(true);
  connect(list_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
    const QVariant index = item->data(0, kFieldIndexRole);
    if (!index.isValid()) return;
    const auto i = static_cast<std::size_t>(index.toULongLong());
    if (i < diff_.fields.size()) frame_.OpenEditorAt(diff_.fields[i].field);
  });

  auto* buttons = new QDialogButtonBox(this);
  write_ = buttons->addButton(QTx(361_txt), QDialogButtonBox::ActionRole);
  write_->setObjectName(QStringLiteral("WriteFileToRepeater"));
  again_ = buttons->addButton(QTx(363_txt), QDialogButtonBox::ActionRole);
  again_->setObjectName(QStringLiteral("CompareAgain"));
  QPushButton* close = buttons->addButton(QTx(28_txt), QDialogButtonBox::RejectRole);
  connect(write_, &QPushButton::clicked, this, &CCompareWnd::WriteFileToRepeater);
  connect(again_, &QPushButton::clicked, this, &CCompareWnd::Compare);
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this,
          [this] { frame_.ShowHelp(help::kCompareWithRepeater); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(summary_);
  layout->addWidget(list_, 1);
  layout->addWidget(buttons);
  resize(860, 440);
  Refresh();
}

bool CCompareWnd::Compare() {
  // The read starts from the data's model and takes the repeater's image
  // into its own store; the data are not touched.
  ImageStore read;
  read.working() = image_.working();
  read.CopyWorkingToTransfer();
  // Before the window is first shown the dialog belongs to the main window.
  CTransferDlg dlg(CTransferDlg::Direction::Read, TheLink(), read, isVisible() ? this : parentWidget());
  dlg.RefuseOtherModel(362_txt);
  CurrentPrompts().RunDialog(dlg);
  if (dlg.TransferResult() == 0) {
    read.CopyTransferToWorking();
    repeater_ = std::move(read);
  } else {
    repeater_.reset();
  }
  Refresh();
  return repeater_.has_value();
}

void CCompareWnd::Refresh() {
  diff_ = repeater_ ? DiffImages(EditorModules(), *repeater_, image_) : ImageDiff{};
  ShowDifferences();
  summary_->setText(Summary());
  write_->setEnabled(repeater_.has_value());
}

void CCompareWnd::ShowDifferences() {
  list_->clear();
  QList<QTreeWidgetItem*> groups;
  QTreeWidgetItem* group = nullptr;
  const EditorModule* groupModule = nullptr;
  for (std::size_t i = 0; i < diff_.fields.size(); ++i) {
    const FieldDifference& d = diff_.fields[i];
    if (!group || d.field.module != groupModule) {
      groupModule = d.field.module;
      group = new QTreeWidgetItem({QTx(groupModule->title)});
      groups.push_back(group);
    }
    const FieldRef& ref = d.field.ref;
    auto* item = new QTreeWidgetItem(
        group, {QString(), Q(FieldCaption(*ref.table, *ref.decl, ref.row, image_)), Q(d.textA), Q(d.textB)});
    item->setData(0, kFieldIndexRole, QVariant::fromValue<qulonglong>(i));
    item->setToolTip(1, Q(d.field.key));
  }
  if (!diff_.outside.empty()) {
    group = new QTreeWidgetItem({QTx(360_txt)});
    groups.push_back(group);
    for (const ByteRange& r : diff_.outside)
      new QTreeWidgetItem(group, {QString(), Q(ByteRangeText(r)), HexBytes(repeater_->working(), r),
                                  HexBytes(image_.working(), r)});
  }
  list_->addTopLevelItems(groups);
  for (QTreeWidgetItem* g : groups) g->setFirstColumnSpanned(true);
  list_->expandAll();
  // Room between the texts of the two sides.
  constexpr int kGap = 24;
  for (int c = 0; c < list_->columnCount() - 1; ++c) {
    list_->resizeColumnToContents(c);
    list_->setColumnWidth(c, list_->columnWidth(c) + kGap);
  }
  if (!groups.isEmpty() && groups.front()->childCount() > 0) list_->setCurrentItem(groups.front()->child(0));
}

QString CCompareWnd::Summary() const {
  if (!repeater_) return QTx(364_txt);
  if (repeater_->working() == image_.working()) return QTx(358_txt);
  if (diff_.Empty()) return QTx(365_txt);
  return QTxFormat(359_txt, {std::to_string(diff_.fields.size() + diff_.outside.size())});
}

void CCompareWnd::WriteFileToRepeater() {
  // The write of Program > Write Data to Radio, with its check; then the
  // repeater is read again to show what it holds now.
  if (!frame_.DecideToWrite()) return;
  if (frame_.RunWrite()) Compare();
}

}  // namespace zmp
