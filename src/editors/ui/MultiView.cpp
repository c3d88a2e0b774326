#include "editors/ui/MultiView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/Messages.h"
#include "editors/MultiTableFields.h"
#include "editors/ui/EditGrid.h"
#include "editors/ui/GridBinding.h"
#include "editors/ui/EditorButtons.h"
#include "editors/ui/SpinEditWidget.h"

namespace zmp {

CMultiView::CMultiView(EditorDocument& doc, QWidget* parent)
    : QWidget(parent), doc_(doc), spin_(new SpinEdit(this, {1, kMultiTableCount, 1})) {
  setObjectName(QStringLiteral("CMultiView"));
  setWindowTitle(QTx(708_txt));
  spin_->setObjectName(QStringLiteral("tableNumber"));
  auto* caption = new QLabel(QTx(708_txt), this);
  caption->setBuddy(spin_);
  tones_ = MakeGrid("toneGrid");
  numbers_ = MakeGrid("numberGrid");

  auto* top = new QHBoxLayout;
  top->addWidget(caption);
  top->addWidget(spin_);
  top->addStretch(1);
  auto* grids = new QHBoxLayout;
  grids->addWidget(tones_);
  grids->addWidget(numbers_);
  auto* buttons = new EditorButtons(*this, doc_, EditorKind::Multi, 0,
                                    [this](const QString& target) { emit HelpRequested(target); });
  buttons_ = buttons;
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(grids, 1);
  layout->addLayout(buttons);

  connect(spin_, &SpinEdit::UserChanged, this, [this](int v) { SetTableNumber(v); });
  connect(&doc_, &EditorDocument::ImageChanged, this, [this](QObject*) { Reload(); });
  Attach();
}

CMultiView::~CMultiView() {
  tones_->SetSource(nullptr);
  numbers_->SetSource(nullptr);
}

EditGrid* CMultiView::MakeGrid(const char* name) {
  auto* grid = new EditGrid(this);
  grid->setObjectName(QString::fromLatin1(name));
  BindGridToDocument(*grid, doc_);
  connect(grid, &EditGrid::HelpRequested, this, [this](const QString& target) { buttons_->RequestHelp(target); });
  return grid;
}

void CMultiView::Attach() {
  spin_->SetShownValue(table_);
  auto tones = std::make_unique<FieldGridSource>(doc_.Image(), MultiToneTable(table_));
  auto numbers = std::make_unique<FieldGridSource>(doc_.Image(), MultiNumberTable(table_));
  const int toneRow = tones_->CurrentRow(), toneCol = std::max(1, tones_->CurrentColumn());
  const int numberRow = numbers_->CurrentRow(), numberCol = std::max(1, numbers_->CurrentColumn());
  tones_->SetSource(tones.get());
  numbers_->SetSource(numbers.get());
  toneSource_ = std::move(tones);
  numberSource_ = std::move(numbers);
  tones_->SetCurrentCell(toneRow, toneCol);
  numbers_->SetCurrentCell(numberRow, numberCol);
  for (EditGrid* g : {tones_, numbers_}) g->setMinimumWidth(g->sizeHint().width());
}

void CMultiView::SetTableNumber(long n) {
  const int limited = LimitMultiTableNumber(n);
  if (limited == table_) {
    spin_->SetShownValue(table_);
    return;
  }
  table_ = limited;
  Attach();
}

bool CMultiView::FocusField(const FieldRef& field) {
  for (int n = 1; n <= kMultiTableCount; ++n) {
    const bool tones = SameTable(*field.table, MultiToneTable(n));
    if (!tones && !SameTable(*field.table, MultiNumberTable(n))) continue;
    SetTableNumber(n);
    EditGrid* grid = tones ? tones_ : numbers_;
    if (field.row < 0 || field.row >= grid->Source()->RowCount()) return false;
    grid->SetCurrentCell(field.row, static_cast<int>(field.decl - field.table->fields.data()) + 1);
    grid->setFocus(Qt::OtherFocusReason);
    return true;
  }
  return false;
}

void CMultiView::Reload() {
  tones_->Reload();
  numbers_->Reload();
}

}  // namespace zmp
