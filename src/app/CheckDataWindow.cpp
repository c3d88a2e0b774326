#include "app/CheckDataWindow.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/MainFrame.h"
#include "ui/Messages.h"
#include "editors/EditorModules.h"
#include "fields/References.h"

namespace zmp {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

ProblemList::ProblemList(QWidget* parent) : QTreeWidget(parent) {
  setObjectName(QStringLiteral("ProblemList"));
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setHeaderLabels({QTx(339_txt), QTx(332_txt), QTx(333_txt), QTx(334_txt)});
  header()->setStretchLastSection(true);
  connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
    const int i = indexOfTopLevelItem(item);
    if (i >= 0 && static_cast<std::size_t>(i) < problems_.size()) emit Chosen(problems_[static_cast<std::size_t>(i)].field);
  });
}

void ProblemList::Show(std::vector<ImageProblem> problems, const ImageStore& image) {
  problems_ = std::move(problems);
  clear();
  QList<QTreeWidgetItem*> rows;
  for (const ImageProblem& p : problems_) {
    const FieldRef& ref = p.field.ref;
    auto* item = new QTreeWidgetItem(
        {QTx(p.field.module->title), Q(FieldCaption(*ref.table, *ref.decl, ref.row, image)), Q(p.shown), Q(p.reason)});
    item->setToolTip(1, Q(p.field.key));
    rows.push_back(item);
  }
  addTopLevelItems(rows);
  for (int c = 0; c < columnCount() - 1; ++c) resizeColumnToContents(c);
  if (!rows.isEmpty()) setCurrentItem(rows.front());
}

// --- the window --------------------------------------------------------------------

CCheckDataWnd::CCheckDataWnd(CMainFrame& frame, const ImageStore& image, QWidget* parent)
    : QWidget(parent, Qt::Window), frame_(frame), image_(image) {
  setObjectName(QStringLiteral("CCheckDataWnd"));
  setWindowTitle(QTx(331_txt).remove(QLatin1Char('&')));
  summary_ = new QLabel(this);
  summary_->setWordWrap(true);
  list_ = new ProblemList(this);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* close = buttons->addButton(QTx(28_txt), QDialogButtonBox::RejectRole);
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(summary_);
  layout->addWidget(list_, 1);
  layout->addWidget(buttons);
  connect(list_, &ProblemList::Chosen, this, [this](const FieldInstance& f) { frame_.OpenEditorAt(f); });
  resize(760, 420);
  Refresh();
}

void CCheckDataWnd::Refresh() {
  list_->Show(CheckImage(EditorModules(), image_), image_);
  summary_->setText(Summary());
}

QString CCheckDataWnd::Summary() const {
  const auto n = list_->Problems().size();
  return n == 0 ? QTx(335_txt) : QTxFormat(336_txt, {std::to_string(n)});
}

// --- the write's question ---------------------------------------------------------------

CWriteCheckDlg::CWriteCheckDlg(std::vector<ImageProblem> problems, const ImageStore& image, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("CWriteCheckDlg"));
  setWindowTitle(QTx(639_txt));
  auto* text = new QLabel(QTx(338_txt), this);
  text->setWordWrap(true);
  list_ = new ProblemList(this);
  list_->Show(std::move(problems), image);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* write = buttons->addButton(QTx(337_txt), QDialogButtonBox::AcceptRole);
  write->setObjectName(QStringLiteral("WriteAnyway"));
  write->setAutoDefault(false);
  QPushButton* cancel = buttons->addButton(QTx(27_txt), QDialogButtonBox::RejectRole);
  cancel->setObjectName(QStringLiteral("Cancel"));
  cancel->setDefault(true);
  connect(write, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(list_, &ProblemList::Chosen, this, [this](const FieldInstance& f) {
    chosen_ = f;
    reject();
  });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text);
  layout->addWidget(list_, 1);
  layout->addWidget(buttons);
  resize(720, 360);
  cancel->setFocus();
}

}  // namespace zmp
