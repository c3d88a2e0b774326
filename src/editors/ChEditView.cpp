#include "editors/ChEditView.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <vector>

#include "app/Messages.h"
#include "editors/FilterEdit.h"
#include "editors/NumberComboBox.h"
#include "editors/SpinEditWidget.h"
#include "editors/ToneComboBox.h"

namespace zmp {

using namespace chfield;

namespace {

int& RequestedChannel() {
  static int channel = 0;
  return channel;
}

std::vector<CChEditView*>& OpenForms() {
  static std::vector<CChEditView*> forms;
  return forms;
}

QString CtlName(int id) { return QStringLiteral("ctl%1").arg(id); }

bool IsToneField(int f) { return f == kToneDecode || f == kToneEncode; }
bool IsRanField(int f) { return f == kRanDecode || f == kRanEncode; }

}  // namespace

void CChEditView::ShowChannel(int channel) {
  RequestedChannel() = std::clamp(channel, 0, kChannelCount - 1);
  for (CChEditView* v : OpenForms()) v->SetChannel(RequestedChannel());
}

CChEditView::CChEditView(EditorDocument& doc, QWidget* parent)
    : QWidget(parent), doc_(doc), store_(doc.Image()), channel_(RequestedChannel()) {
  setObjectName(QStringLiteral("CChEditView"));
  setWindowTitle(QTx(766_txt));
  Build();
  OpenForms().push_back(this);
  connect(&doc_, &EditorDocument::ImageChanged, this, [this](QObject*) { Load(); });
  Load();
}

CChEditView::~CChEditView() { std::erase(OpenForms(), this); }

void CChEditView::Build() {
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(10);
  int row = 0;
  int col = 0;  // fields 0..14 on the left, 15..25 on the right
  for (int f = 0; f < kCount; ++f) {
    const FieldRow& fr = ChannelFieldTable[static_cast<std::size_t>(f)];
    if (f == kBeatShift) {
      row = 0;
      col = 2;
    }
    QWidget* control = nullptr;
    QLabel* label = nullptr;
    auto makeLabel = [&] {
      label = new QLabel(QTx(fr.text), this);
      label->setObjectName(CtlName(fr.labelId));
      grid->addWidget(label, row, col);
    };
    switch (fr.kind) {
      case ControlKind::EditSpin: {
        makeLabel();
        auto* spin = new SpinEdit(this, fr.range);
        control = spin;
        if (f == kChannel) {
          connect(spin, &SpinEdit::UserChanged, this, [this](int v) { SetChannel(v - 1); });
        } else {
          connect(spin, &SpinEdit::UserChanged, this,
                  [this, f](int v) { CommitText(f, QString::number(v)); });
        }
        break;
      }
      case ControlKind::Edit: {
        makeLabel();
        auto* edit = new FilterEdit(this, fr.filterMode);
        if (fr.maxLength) edit->setMaxLength(fr.maxLength);
        control = edit;
        connect(edit, &QLineEdit::editingFinished, this, [this, f, edit] { CommitText(f, edit->text()); });
        break;
      }
      case ControlKind::DropList: {
        makeLabel();
        auto* box = new QComboBox(this);
        control = box;
        connect(box, &QComboBox::activated, this, [this, f, box](int i) {
          if (i >= 0) CommitValue(f, box->itemData(i).toInt());
        });
        break;
      }
      case ControlKind::EditCombo: {
        makeLabel();
        QComboBox* box = nullptr;
        if (IsToneField(f)) box = new ToneComboBox(this);
        else box = new NumberComboBox(this, static_cast<int>(fr.range.minimum) + 1,
                                      static_cast<int>(fr.range.maximum));
        control = box;
        connect(box, &QComboBox::activated, this, [this, f, box](int) { CommitText(f, box->currentText()); });
        connect(box->lineEdit(), &QLineEdit::editingFinished, this,
                [this, f, box] { CommitText(f, box->currentText()); });
        break;
      }
      case ControlKind::CheckBox: {
        auto* check = new QCheckBox(QTx(fr.text), this);
        control = check;
        connect(check, &QCheckBox::clicked, this, [this, f](bool on) { CommitValue(f, on ? 1 : 0); });
        break;
      }
      case ControlKind::Button: {
        auto* button = new QPushButton(QTx(fr.text), this);
        control = button;
        const EditorKind target = f == kBeatShiftButton ? EditorKind::BeatShift : EditorKind::CWID;
        connect(button, &QPushButton::clicked, this, [this, target] { doc_.OpenEditor(target); });
        break;
      }
      case ControlKind::GroupLabel: {
        auto* group = new QLabel(QTx(fr.text), this);
        QFont bold = group->font();
        bold.setBold(true);
        group->setFont(bold);
        group->setObjectName(CtlName(fr.labelId));
        grid->addWidget(group, row, col, 1, 2);
        labels_[static_cast<std::size_t>(f)] = group;
        ++row;
        continue;
      }
    }
    control->setObjectName(CtlName(fr.valueId));
    control->installEventFilter(this);
    if (auto* box = qobject_cast<QComboBox*>(control); box && box->lineEdit())
      box->lineEdit()->installEventFilter(this);
    if (label) {
      grid->addWidget(control, row, col + 1);
    } else {
      grid->addWidget(control, row, col, 1, 2);
    }
    controls_[static_cast<std::size_t>(f)] = control;
    labels_[static_cast<std::size_t>(f)] = label;
    ++row;
  }
  close_ = new QPushButton(QTx(28_txt), this);
  close_->setObjectName(CtlName(kCloseId));
  help_ = new QPushButton(QTx(29_txt), this);
  help_->setObjectName(CtlName(kHelpId));
  for (QPushButton* b : {close_, help_}) b->installEventFilter(this);
  connect(close_, &QPushButton::clicked, this, [this] { doc_.CloseEditor(EditorKind::ChEdit); });
  connect(help_, &QPushButton::clicked, this, [this] { emit HelpRequested(kHelpContext); });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(close_);
  buttons->addWidget(help_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addStretch(1);
  layout->addLayout(buttons);
}

void CChEditView::SetChannel(int channel) {
  channel = std::clamp(channel, 0, kChannelCount - 1);
  RequestedChannel() = channel;
  if (channel == channel_) {
    Load();
    return;
  }
  channel_ = channel;
  Load();
}

void CChEditView::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  Load();
}

QString CChEditView::ShownText(int field) const {
  QWidget* c = controls_[static_cast<std::size_t>(field)];
  if (auto* edit = qobject_cast<QLineEdit*>(c)) return edit->text();
  if (auto* box = qobject_cast<QComboBox*>(c)) return box->currentText();
  if (auto* spin = qobject_cast<SpinEdit*>(c)) return spin->text();
  return {};
}

void CChEditView::Load() {
  loading_ = true;
  const bool exists = store_.Exists(channel_);
  for (int f = 0; f < kCount; ++f) {
    QWidget* c = controls_[static_cast<std::size_t>(f)];
    if (!c) continue;
    const bool was = c->blockSignals(true);
    const FieldText ft = store_.GetFieldText(channel_, f);
    const QString text = QString::fromStdString(ft.text);
    const FieldRow& fr = ChannelFieldTable[static_cast<std::size_t>(f)];
    switch (fr.kind) {
      case ControlKind::EditSpin: {
        auto* spin = static_cast<SpinEdit*>(c);
        if (f == kChannel) spin->SetShownValue(channel_ + 1);
        else spin->SetShownValue(ft.raw >= fr.range.minimum && ft.raw <= fr.range.maximum
                                     ? static_cast<int>(ft.raw)
                                     : static_cast<int>(fr.range.minimum));
        break;
      }
      case ControlKind::Edit:
        static_cast<QLineEdit*>(c)->setText(text);
        break;
      case ControlKind::DropList: {
        auto* box = static_cast<QComboBox*>(c);
        box->clear();
        for (const auto& it : store_.OptionList(f, channel_)) box->addItem(QString::fromStdString(it.text), it.value);
        box->setCurrentIndex(box->findText(text, Qt::MatchExactly));
        break;
      }
      case ControlKind::EditCombo: {
        auto* box = static_cast<QComboBox*>(c);
        if (IsToneField(f)) {
          if (exists) static_cast<ToneComboBox*>(box)->SetCode(static_cast<ToneCode>(ft.raw));
          else { box->setCurrentIndex(-1); box->setEditText(QString()); }
        } else if (IsRanField(f)) {
          if (exists) static_cast<NumberComboBox*>(box)->SetValue(ft.raw);
          else { box->setCurrentIndex(-1); box->setEditText(QString()); }
        }
        break;
      }
      case ControlKind::CheckBox:
        static_cast<QCheckBox*>(c)->setChecked(ft.checked);
        break;
      default:
        break;
    }
    c->blockSignals(was);
    loaded_[static_cast<std::size_t>(f)] = ShownText(f);
    // Only the number and the frequencies apply to a channel that does not exist.
    const bool enabled = f == kChannel || f == kRxFrequency || f == kTxFrequency ||
                         (exists && store_.IsApplicable(channel_, f));
    c->setEnabled(enabled);
    if (QLabel* l = labels_[static_cast<std::size_t>(f)]) l->setEnabled(enabled);
  }
  loading_ = false;
}

void CChEditView::Finish(StoreStatus s) {
  Load();
  if (s != StoreStatus::Ok)
    if (const TextNo t = MessageOf(s); t.n) Error(this, t);
}

void CChEditView::CommitText(int field, const QString& text) {
  if (loading_) return;
  // Only what the user changed is stored: leaving a field unchanged writes nothing.
  if (text == loaded_[static_cast<std::size_t>(field)]) return;
  loaded_[static_cast<std::size_t>(field)] = text;
  StoreStatus s = StoreStatus::Ok;
  const std::string t = text.toStdString();
  doc_.Commit(QTx(ChannelFieldTable[static_cast<std::size_t>(field)].text),
              [&] { s = store_.SetFieldText(channel_, field, t); });
  Finish(s);
}

void CChEditView::CommitValue(int field, long value) {
  if (loading_) return;
  StoreStatus s = StoreStatus::Ok;
  doc_.Commit(QTx(ChannelFieldTable[static_cast<std::size_t>(field)].text),
              [&] { s = store_.SetFieldValue(channel_, field, value); });
  Finish(s);
}

bool CChEditView::AnyListOpen() const {
  for (QWidget* c : controls_)
    if (auto* box = qobject_cast<QComboBox*>(c); box && box->view()->isVisible()) return true;
  return false;
}

void CChEditView::StepChannel(bool up) {
  auto* spin = static_cast<SpinEdit*>(controls_[kChannel]);
  spin->setFocus(Qt::OtherFocusReason);  // commits the field that had the focus
  spin->stepBy(up ? 1 : -1);
}

bool CChEditView::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, e);
  auto* k = static_cast<QKeyEvent*>(e);
  QWidget* focus = QApplication::focusWidget();
  switch (k->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
      if (AnyListOpen()) break;
      const bool ownButton = focus == close_ || focus == help_ || focus == controls_[kBeatShiftButton] ||
                             focus == controls_[kCwIdButton];
      if (ownButton) {
        static_cast<QPushButton*>(focus)->click();
        return true;
      }
      // Enter acts as Tab: the field is committed as the focus leaves it.
      focusNextChild();
      return true;
    }
    case Qt::Key_Escape:
      if (AnyListOpen()) break;
      doc_.CloseEditor(EditorKind::ChEdit);
      return true;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      if (AnyListOpen()) break;
      StepChannel(k->key() == Qt::Key_PageUp);
      return true;
    case Qt::Key_F1:
      emit HelpRequested(kHelpContext);
      return true;
    default:
      break;
  }
  return QWidget::eventFilter(watched, e);
}

}  // namespace zmp
