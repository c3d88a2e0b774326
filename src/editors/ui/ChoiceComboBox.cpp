#include "editors/ui/ChoiceComboBox.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "fields/FilterRules.h"

namespace zmp {

ChoiceComboBox::ChoiceComboBox(QWidget* parent, std::uint8_t filterMode, int maxLength)
    : QComboBox(parent), mode_(filterMode), maxLength_(maxLength) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  setMaxVisibleItems(20);
  lineEdit()->installEventFilter(this);
}

void ChoiceComboBox::SetChoices(const std::vector<ShownChoice>& choices, const QString& text) {
  clear();
  for (const ShownChoice& c : choices)
    addItem(QString::fromStdString(c.text), QVariant::fromValue<qlonglong>(c.value));
  const int i = text.isEmpty() ? -1 : findText(text, Qt::MatchExactly);
  setCurrentIndex(i);
  if (i < 0) setEditText(text);
}

// The edit shows an entry's text that cannot be typed ("Off"): typing replaces it.
bool ChoiceComboBox::ShowsEntryText() const {
  const std::string t = lineEdit()->text().toStdString();
  return !t.empty() && !FilterInsert(mode_, t, FilterContext{});
}

void ChoiceComboBox::keyPressEvent(QKeyEvent* e) {
  // Keys reach the edit field through the combo as well as directly.
  if (eventFilter(lineEdit(), e)) return;
  QComboBox::keyPressEvent(e);
}

bool ChoiceComboBox::eventFilter(QObject* watched, QEvent* e) {
  if (watched != lineEdit() || e->type() != QEvent::KeyPress) return QComboBox::eventFilter(watched, e);
  auto* k = static_cast<QKeyEvent*>(e);
  const QString t = k->text();
  if (t.size() != 1 || !t[0].isPrint() || (k->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
    return QComboBox::eventFilter(watched, e);  // navigation, Enter, Tab, Backspace, function keys
  if (t[0].unicode() >= 128) return true;
  QLineEdit* edit = lineEdit();
  const auto accepted = FilterChar(mode_, static_cast<char>(t[0].unicode()), FilterContext{});
  if (!accepted) return true;
  if (ShowsEntryText()) edit->clear();
  if (maxLength_ > 0 && edit->text().size() - edit->selectedText().size() >= maxLength_) return true;
  edit->insert(QString(QChar::fromLatin1(*accepted)));
  return true;
}

}  // namespace zmp
