#include "editors/ui/SettingsForm.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QHeaderView>
#include <QListWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "lang/LanguageTexts.h"
#include "ui/Messages.h"
#include "editors/HelpLinks.h"
#include "editors/ui/FieldControls.h"
#include "editors/ui/ChoiceComboBox.h"
#include "editors/ui/EditGrid.h"
#include "editors/ui/GridBinding.h"
#include "editors/ui/FieldFocus.h"
#include "editors/ui/FilterEdit.h"
#include "editors/ui/NumberComboBox.h"
#include "editors/ui/SpinEditWidget.h"
#include "editors/ui/ToneComboBox.h"
#include "editors/ui/TypeAheadComboBox.h"
#include "editors/ui/UndoKeys.h"
#include "fields/FieldWalk.h"

namespace zmp {

namespace {

QString CtlName(int id) { return QStringLiteral("ctl%1").arg(id); }
QString Q(const std::string& s) { return QString::fromStdString(s); }

// The row selector of a per-row form (the channel number): a spin over the
// rows that holds no value of its own.
bool IsRowSelector(const FieldDecl& d) { return d.storage == Storage::None && d.kind == ControlKind::EditSpin; }

// Sets a flag for as long as it lives, whichever way the scope is left (the
// message box it guards runs the event loop).
class FlagGuard {
 public:
  explicit FlagGuard(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagGuard() { flag_ = false; }
  FlagGuard(const FlagGuard&) = delete;
  FlagGuard& operator=(const FlagGuard&) = delete;

 private:
  bool& flag_;
};

QString TextOf(QWidget* w) {
  if (auto* spin = qobject_cast<FieldSpin*>(w)) return spin->Edit()->text();
  if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text();
  if (auto* box = qobject_cast<QComboBox*>(w)) return box->currentText();
  return {};
}

}  // namespace

SettingsForm::SettingsForm(EditorDocument& doc, std::vector<const FieldTable*> tables, QWidget* parent,
                           int rowsPerColumn)
    : QWidget(parent), doc_(doc), tables_(std::move(tables)), rowsPerColumn_(rowsPerColumn) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  std::vector<std::size_t> shown;
  for (std::size_t t = 0; t < tables_.size(); ++t)
    if (TableShown(*tables_[t], doc_.Image())) shown.push_back(t);
  byTable_.resize(tables_.size());
  grids_.resize(tables_.size(), nullptr);
  pages_.resize(tables_.size(), nullptr);
  // Controls are made first and never move, so the pages may keep pointers.
  std::size_t count = 0;
  for (std::size_t t : shown) count += tables_[t]->fields.size();
  // A grid table's rows live in its grid, not in controls.
  controls_.reserve(count);
  if (shown.size() > 1) {
    tabs_ = new QTabWidget(this);
    for (std::size_t t : shown) {
      pages_[t] = BuildPage(*tables_[t], t);
      tabs_->addTab(pages_[t], QTx(tables_[t]->title));
    }
    layout->addWidget(tabs_);
  } else if (shown.size() == 1) {
    pages_[shown.front()] = BuildPage(*tables_[shown.front()], shown.front());
    layout->addWidget(pages_[shown.front()]);
  }
  connect(&doc_, &EditorDocument::Changed, this, [this](const ImageChange& change) {
    bool touched = false;
    for (const FieldTable* t : tables_) touched = touched || TouchesRow(change, *t, doc_.Image(), row_);
    skipReload_ = !touched;
  });
  connect(&doc_, &EditorDocument::ImageChanged, this, [this](QObject*) {
    if (skipReload_) {
      skipReload_ = false;
      return;
    }
    Reload();
  });
  NormaliseFields();
  Reload();
}

void SettingsForm::NormaliseFields() {
  const Control* first = nullptr;
  for (const Control& c : controls_)
    if (c.decl->hooks && c.decl->hooks->normalise) {
      first = &c;
      break;
    }
  if (!first) return;
  doc_.Commit(Q(FieldLabel(*first->decl)), [this] {
    for (const Control& c : controls_) NormaliseField(RefOf(c), doc_.Image());
  });
}

SettingsForm::~SettingsForm() {
  // The grids are children, destroyed after the sources they show.
  for (EditGrid* g : grids_)
    if (g) g->SetSource(nullptr);
}

QWidget* SettingsForm::BuildGrid(const FieldTable& table, std::size_t tableIndex) {
  sources_.push_back(std::make_unique<FieldGridSource>(doc_.Image(), table));
  FieldGridSource* source = sources_.back().get();
  auto* grid = new EditGrid(this);
  grid->setObjectName(QStringLiteral("grid%1").arg(tableIndex));
  grid->SetSource(source);
  // A page that is a grid (remote codes, port functions, keys) is filled in
  // cell by cell.
  grid->SetTabMovesBetweenCells(true);
  BindGridToDocument(*grid, doc_);
  connect(grid, &EditGrid::HelpRequested, this, &SettingsForm::HelpRequested);
  grids_[tableIndex] = grid;
  return grid;
}

EditGrid* SettingsForm::GridOf(std::size_t table) const { return table < grids_.size() ? grids_[table] : nullptr; }

bool SettingsForm::FocusField(const FieldRef& field) {
  if (!field.table || !field.decl) return false;
  const auto found = std::find_if(tables_.begin(), tables_.end(),
                                  [&field](const FieldTable* t) { return SameTable(*t, *field.table); });
  if (found == tables_.end()) return false;
  const auto t = static_cast<std::size_t>(found - tables_.begin());
  if (!pages_[t]) return false;
  if (tabs_) tabs_->setCurrentWidget(pages_[t]);
  if (EditGrid* grid = grids_[t]) {
    if (field.row < 0 || field.row >= grid->Source()->RowCount()) return false;
    grid->SetCurrentCell(field.row, static_cast<int>(field.decl - field.table->fields.data()) + 1);
    grid->setFocus(Qt::OtherFocusReason);
    return true;
  }
  if (field.table->rows > 1 && field.row != row_) {
    SetRow(field.row);
    emit RowChanged(row_);
  }
  for (const Control& c : controls_) {
    if (c.table != *found || c.decl != field.decl || !c.widget) continue;
    QWidget* target = c.widget;
    if (auto* spin = qobject_cast<FieldSpin*>(target)) target = spin->Edit();
    else if (auto* list = qobject_cast<OrderedListSpin*>(target)) target = list->List();
    else if (auto* button = qobject_cast<ValueButton*>(target)) target = button->Button();
    target->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(target)) edit->selectAll();
    return true;
  }
  return false;
}

QWidget* SettingsForm::BuildPage(const FieldTable& table, std::size_t tableIndex) {
  if (table.kind == TableKind::Grid) return BuildGrid(table, tableIndex);
  auto* page = new QWidget(this);
  auto* grid = new QGridLayout(page);
  grid->setHorizontalSpacing(10);
  int row = 0;
  int col = 0;
  for (const FieldDecl& decl : table.fields) {
    if (row >= rowsPerColumn_) {
      row = 0;
      col += 2;
    }
    controls_.push_back(Control{&table, &decl, nullptr, nullptr, {}});
    const std::size_t index = controls_.size() - 1;
    byTable_[tableIndex].push_back(index);
    Control& c = controls_.back();
    if (decl.kind == ControlKind::Grid && !decl.HasValue()) {
      // A grid that names no field of the image: its heading over an empty,
      // read-only grid.
      auto* heading = new QLabel(QTx(decl.label), page);
      QFont bold = heading->font();
      bold.setBold(true);
      heading->setFont(bold);
      heading->setObjectName(CtlName(decl.labelId));
      auto* empty = new QTableWidget(0, 0, page);
      empty->setObjectName(CtlName(decl.valueId));
      empty->setEditTriggers(QAbstractItemView::NoEditTriggers);
      empty->setMinimumHeight(90);
      grid->addWidget(heading, row++, col, 1, 2);
      grid->addWidget(empty, row++, col, 1, 2);
      c.label = heading;
      c.widget = empty;
      continue;
    }
    if (decl.kind == ControlKind::GroupLabel || decl.kind == ControlKind::Static) {
      auto* heading = new QLabel(Q(FieldLabel(decl)), page);
      if (decl.kind == ControlKind::GroupLabel) {
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
      }
      heading->setObjectName(CtlName(decl.labelId));
      grid->addWidget(heading, row++, col, 1, 2);
      c.label = heading;
      continue;
    }
    QWidget* w = MakeControl(c);
    w->setParent(page);
    w->setObjectName(CtlName(decl.valueId));
    w->installEventFilter(this);
    if (auto* box = qobject_cast<QComboBox*>(w); box && box->lineEdit()) box->lineEdit()->installEventFilter(this);
    if (auto* spin = qobject_cast<FieldSpin*>(w)) spin->Edit()->installEventFilter(this);
    if (auto* list = qobject_cast<OrderedListSpin*>(w)) list->List()->installEventFilter(this);
    if (auto* button = qobject_cast<ValueButton*>(w)) button->Button()->installEventFilter(this);
    const bool ownCaption = decl.kind == ControlKind::CheckBox || decl.kind == ControlKind::Button ||
                            decl.kind == ControlKind::ListSpin;
    if (ownCaption) {
      grid->addWidget(w, row, col, 1, 2);
    } else {
      c.label = new QLabel(Q(FieldLabel(decl)), page);
      c.label->setObjectName(CtlName(decl.labelId));
      c.label->setBuddy(w);
      grid->addWidget(c.label, row, col);
      grid->addWidget(w, row, col + 1);
    }
    c.widget = w;
    ++row;
  }
  grid->setRowStretch(rowsPerColumn_, 1);
  return page;
}

QWidget* SettingsForm::MakeControl(Control& c) {
  const FieldDecl& d = *c.decl;
  const std::size_t index = static_cast<std::size_t>(&c - controls_.data());
  if (IsRowSelector(d)) {
    auto* spin = new SpinEdit(this, d.range);
    connect(spin, &SpinEdit::UserChanged, this, [this](int v) {
      SetRow(v - 1);
      emit RowChanged(row_);
    });
    return spin;
  }
  switch (d.kind) {
    case ControlKind::Edit: {
      auto* edit = new FilterEdit(this, d.filter);
      if (d.maxLength) edit->setMaxLength(d.maxLength);
      // Long texts (CW messages, message lines) show whole.
      if (d.maxLength > 16) edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString(d.maxLength, 'A')));
      connect(edit, &QLineEdit::editingFinished, this, [this, index, edit] { CommitText(index, edit->text()); });
      return edit;
    }
    case ControlKind::EditSpin: {
      auto* spin = new FieldSpin(this, d.filter, d.maxLength);
      connect(spin, &FieldSpin::TextCommitted, this, [this, index](const QString& t) { CommitText(index, t); });
      connect(spin, &FieldSpin::Stepped, this, [this, index](bool up) {
        const Control& ctl = controls_[index];
        Commit(ctl, [&] { return SpinField(RefOf(ctl), doc_.Image(), up); });
      });
      return spin;
    }
    case ControlKind::DropList: {
      auto* box = new TypeAheadComboBox(this);
      connect(box, &QComboBox::activated, this, [this, index, box](int i) {
        if (i < 0) return;
        const long value = box->itemData(i).toLongLong();
        const Control& ctl = controls_[index];
        Commit(ctl, [&] { return CommitFieldChoice(RefOf(ctl), doc_.Image(), value); });
      });
      return box;
    }
    case ControlKind::EditCombo: {
      QComboBox* box = nullptr;
      if (d.hooks && d.hooks->choices) box = new ChoiceComboBox(this, d.filter, d.maxLength);
      else if (d.storage == Storage::Tone) box = new ToneComboBox(this);
      else box = new NumberComboBox(this, static_cast<int>(std::max(1L, d.range.minimum)),
                                    static_cast<int>(d.range.maximum));
      connect(box, &QComboBox::activated, this, [this, index, box](int) { CommitText(index, box->currentText()); });
      connect(box->lineEdit(), &QLineEdit::editingFinished, this,
              [this, index, box] { CommitText(index, box->currentText()); });
      return box;
    }
    case ControlKind::CheckBox: {
      auto* check = new QCheckBox(Q(FieldLabel(d)), this);
      connect(check, &QCheckBox::clicked, this, [this, index](bool on) {
        const Control& ctl = controls_[index];
        Commit(ctl, [&] { return CommitFieldCheck(RefOf(ctl), doc_.Image(), on); });
      });
      return check;
    }
    case ControlKind::ListSpin: {
      auto* list = new OrderedListSpin(this);
      connect(list, &OrderedListSpin::MoveRequested, this, [this, index, list](int entry, bool up) {
        const Control& ctl = controls_[index];
        Commit(ctl, [&] { return MoveFieldEntry(RefOf(ctl), doc_.Image(), entry, up); });
        list->Select(up ? entry - 1 : entry + 1);  // the moved entry stays selected
      });
      return list;
    }
    default: {
      const QString key = QString::fromUtf8(d.key.data(), static_cast<qsizetype>(d.key.size()));
      if (d.HasValue()) {
        // A button whose field's value is shown beside it.
        auto* vb = new ValueButton(Q(FieldLabel(d)), this);
        connect(vb->Button(), &QPushButton::clicked, this, [this, key] { emit ButtonClicked(key); });
        return vb;
      }
      auto* button = new QPushButton(Q(FieldLabel(d)), this);
      connect(button, &QPushButton::clicked, this, [this, key] { emit ButtonClicked(key); });
      return button;
    }
  }
}

void SettingsForm::SetRow(int row) {
  row_ = row;
  NormaliseFields();
  Reload();
}

void SettingsForm::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  Reload();
}

void SettingsForm::Reload() {
  loading_ = true;
  for (Control& c : controls_) Fill(c);
  for (EditGrid* g : grids_)
    if (g) g->Reload();
  loading_ = false;
}

void SettingsForm::Fill(Control& c) {
  if (!c.widget || (!c.decl->HasValue() && c.decl->kind == ControlKind::Grid)) return;
  const FieldDecl& d = *c.decl;
  QWidget* w = c.widget;
  const bool was = w->blockSignals(true);
  if (IsRowSelector(d)) {
    static_cast<SpinEdit*>(w)->SetShownValue(row_ + 1);
    w->blockSignals(was);
    c.shown = TextOf(w);
    return;
  }
  const FieldRef ref = RefOf(c);
  const ImageStore& image = doc_.Image();
  FieldView v = ShowField(ref, image);
  if (!v.applicable) {
    // A field that does not apply shows (disabled) what it holds.
    FieldDecl bare = d;
    bare.hooks = nullptr;
    v = ShowField(FieldRef{c.table, &bare, row_}, image);
    v.applicable = false;
  }
  const QString text = Q(v.text);
  switch (d.kind) {
    case ControlKind::Edit: {
      // A text with escaped bytes may be longer than what can be typed: it shows whole.
      auto* edit = static_cast<QLineEdit*>(w);
      if (d.maxLength) edit->setMaxLength(std::max(d.maxLength, static_cast<int>(text.size())));
      edit->setText(text);
      break;
    }
    case ControlKind::EditSpin: static_cast<FieldSpin*>(w)->SetShownText(text); break;
    case ControlKind::DropList: {
      auto* box = static_cast<TypeAheadComboBox*>(w);
      box->ForgetTyping();
      box->clear();
      for (const ShownChoice& choice : FieldChoices(ref, image))
        box->addItem(Q(choice.text), QVariant::fromValue<qlonglong>(choice.value));
      box->setCurrentIndex(v.exists ? v.choice : -1);
      break;
    }
    case ControlKind::EditCombo: {
      auto* box = static_cast<QComboBox*>(w);
      if (auto* choice = qobject_cast<ChoiceComboBox*>(box)) {
        choice->SetChoices(v.exists ? FieldChoices(ref, image) : std::vector<ShownChoice>{}, text);
      } else if (!v.exists || !v.raw) {
        box->setCurrentIndex(-1);
        box->setEditText(QString());
      } else if (auto* tone = qobject_cast<ToneComboBox*>(box)) {
        tone->SetCode(static_cast<ToneCode>(*v.raw));
      } else if (auto* number = qobject_cast<NumberComboBox*>(box)) {
        number->SetValue(*v.raw);
      }
      break;
    }
    case ControlKind::CheckBox: static_cast<QCheckBox*>(w)->setChecked(v.checked); break;
    case ControlKind::ListSpin: {
      QStringList entries;
      for (const std::string& e : FieldEntries(ref, image)) entries << Q(e);
      static_cast<OrderedListSpin*>(w)->SetEntries(entries);
      break;
    }
    case ControlKind::Button:
      if (auto* vb = qobject_cast<ValueButton*>(w)) vb->Value()->setText(text);
      break;
    default: break;
  }
  w->blockSignals(was);
  c.shown = TextOf(w);
  const bool enabled =
      (enabledRule ? enabledRule(d, v) : (v.exists && v.applicable)) && FieldDisabledReason(ref, image).n == 0;
  w->setEnabled(enabled);
  if (c.label) c.label->setEnabled(enabled);
}

void SettingsForm::Commit(const Control& c, const std::function<CommitResult()>& change) {
  if (loading_ || warningOpen_) return;
  CommitResult result;
  const bool changed = doc_.Commit(Q(FieldLabel(*c.decl)), [&] { result = change(); });
  if (!changed) Reload();  // a refused or unchanged entry shows the stored value again
  if (!result.ok() && result.message.n) {
    emit Refused(result.message);
    Error(this, result.message);
  }
  if (result.ok() && !result.warning.empty()) {
    {
      const FlagGuard open(warningOpen_);
      Notice(this, Q(result.warning));
    }
    Reload();  // text typed while the warning was up was not stored
  }
}

void SettingsForm::CommitText(std::size_t index, const QString& text) {
  if (loading_ || warningOpen_) return;
  Control& c = controls_[index];
  // Only what the user changed is stored: leaving a field as shown writes nothing.
  if (text == c.shown) return;
  c.shown = text;
  const std::string t = text.toStdString();
  Commit(c, [&] { return CommitFieldText(RefOf(c), doc_.Image(), t); });
}

QWidget* SettingsForm::ValueControl(const FieldDecl& decl) const {
  for (const Control& c : controls_)
    if (c.decl == &decl || (c.decl->key == decl.key && c.decl->offset == decl.offset)) return c.widget;
  return nullptr;
}

QWidget* SettingsForm::ValueControl(std::size_t table, std::size_t field) const {
  if (table >= byTable_.size() || field >= byTable_[table].size()) return nullptr;
  const Control& c = controls_[byTable_[table][field]];
  return c.widget ? c.widget : c.label;
}

QLabel* SettingsForm::LabelOf(std::size_t table, std::size_t field) const {
  if (table >= byTable_.size() || field >= byTable_[table].size()) return nullptr;
  return controls_[byTable_[table][field]].label;
}

void SettingsForm::AddOwnButton(QPushButton* b) {
  ownButtons_.push_back(b);
  b->installEventFilter(this);
}

bool SettingsForm::AnyListOpen() const {
  for (const Control& c : controls_)
    if (auto* box = qobject_cast<QComboBox*>(c.widget); box && box->view()->isVisible()) return true;
  return false;
}

SettingsForm::Control* SettingsForm::ControlOf(QObject* watched) {
  for (Control& c : controls_) {
    if (!c.widget) continue;
    if (c.widget == watched) return &c;
    if (auto* box = qobject_cast<QComboBox*>(c.widget); box && box->lineEdit() == watched) return &c;
    if (auto* spin = qobject_cast<FieldSpin*>(c.widget); spin && spin->Edit() == watched) return &c;
    if (auto* list = qobject_cast<OrderedListSpin*>(c.widget); list && list->List() == watched) return &c;
    if (auto* vb = qobject_cast<ValueButton*>(c.widget); vb && vb->Button() == watched) return &c;
  }
  return nullptr;
}

void SettingsForm::RestoreShown(Control& c) {
  const bool was = c.widget->blockSignals(true);
  if (auto* spin = qobject_cast<FieldSpin*>(c.widget)) spin->Edit()->setText(c.shown);
  else if (auto* edit = qobject_cast<QLineEdit*>(c.widget)) edit->setText(c.shown);
  else if (auto* box = qobject_cast<QComboBox*>(c.widget); box && box->isEditable()) box->setEditText(c.shown);
  c.widget->blockSignals(was);
  // A list chosen from by typing puts back the entry it showed.
  if (auto* list = qobject_cast<TypeAheadComboBox*>(c.widget)) list->CancelTyping();
}

bool SettingsForm::UndoKey(QObject* watched, QKeyEvent* k) {
  const zmp::UndoKey key = UndoKeyOf(k);
  if (key == zmp::UndoKey::None) return false;
  // Ctrl+Z in a field with text not yet stored puts back the text it showed,
  // as Escape does; otherwise the keys are the document's Undo and Redo (the
  // override is left for the Edit menu's shortcuts), never the edit's own.
  Control* c = ControlOf(watched);
  if (key == zmp::UndoKey::Undo && c && TextOf(c->widget) != c->shown) {
    if (k->type() == QEvent::ShortcutOverride) k->accept();
    else RestoreShown(*c);
  }
  return true;
}

bool SettingsForm::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::ShortcutOverride && UndoKey(watched, static_cast<QKeyEvent*>(e))) return true;
  if (e->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, e);
  auto* k = static_cast<QKeyEvent*>(e);
  if (UndoKey(watched, k)) return true;
  switch (k->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
      if (AnyListOpen()) break;
      if (auto* button = qobject_cast<QPushButton*>(QApplication::focusWidget())) {
        button->click();
        return true;
      }
      // Enter acts as Tab: the field is committed as the focus leaves it.
      focusNextChild();
      return true;
    }
    case Qt::Key_Escape: {
      if (AnyListOpen()) break;
      if (Control* c = ControlOf(watched); c && TextOf(c->widget) != c->shown) {
        RestoreShown(*c);
        return true;
      }
      emit CloseRequested();
      return true;
    }
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
      // Per-row forms: the row steps as its spin does (committing the field
      // that had the focus as it leaves).
      if (AnyListOpen()) break;
      for (Control& c : controls_) {
        if (!IsRowSelector(*c.decl) || !c.widget) continue;
        c.widget->setFocus(Qt::OtherFocusReason);
        static_cast<SpinEdit*>(c.widget)->stepBy(k->key() == Qt::Key_PageUp ? 1 : -1);
        return true;
      }
      break;
    }
    case Qt::Key_F1: {
      const Control* c = ControlOf(watched);
      emit HelpRequested(c ? QString::fromStdString(FieldHelpTarget(*c->decl)) : QString());
      return true;
    }
    default:
      break;
  }
  return QWidget::eventFilter(watched, e);
}

}  // namespace zmp
