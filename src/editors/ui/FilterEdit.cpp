#include "editors/ui/FilterEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>

namespace zmp {

FilterEdit::FilterEdit(QWidget* parent, std::uint8_t mode) : QLineEdit(parent), mode_(mode) {
  // The menu's Paste would pass text by the filter.
  setContextMenuPolicy(Qt::NoContextMenu);
}

FilterContext FilterEdit::Context() const {
  FilterContext ctx;
  ctxText_ = text().toStdString();
  ctx.text = ctxText_;
  if (hasSelectedText()) {
    ctx.selectionStart = static_cast<std::size_t>(selectionStart());
    ctx.selectionLength = static_cast<std::size_t>(selectedText().size());
  } else {
    ctx.selectionStart = static_cast<std::size_t>(cursorPosition());
  }
  ctx.ownerList = ownerList_;
  ctx.maxLength = maxLength() < 32767 ? static_cast<std::size_t>(maxLength()) : 0;
  ctx.ownerRule = ownerRule_;
  return ctx;
}

bool FilterEdit::TypeChar(char c) {
  const auto accepted = FilterChar(mode_, c, Context());
  if (!accepted) return false;
  if (*accepted == '\b') {
    backspace();
    return true;
  }
  insert(QString(QChar::fromLatin1(*accepted)));
  return true;
}

void FilterEdit::insertFromClipboard() {
  const std::string pasted = QApplication::clipboard()->text().toStdString();
  const FilterContext ctx = Context();
  if (const auto whole = FilterInsert(mode_, pasted, ctx)) {
    if (maxLength() < static_cast<int>(whole->size())) return;
    const std::size_t cursor = ctx.selectionStart + pasted.size();
    setText(QString::fromStdString(*whole));
    setCursorPosition(static_cast<int>(cursor));
  }
}

void FilterEdit::keyPressEvent(QKeyEvent* e) {
  if (e->matches(QKeySequence::Paste)) {
    insertFromClipboard();
    return;
  }
  if (e->key() == Qt::Key_Backspace) {
    if (mode_ != filter::kNone) QLineEdit::keyPressEvent(e);
    return;
  }
  const QString t = e->text();
  const bool control = (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) != 0;
  if (t.size() == 1 && t[0].isPrint() && !control) {
    const QChar ch = t[0];
    // One byte a character (ISO 8859-1): what the input mode takes of it.
    if (ch.unicode() < 256) TypeChar(static_cast<char>(ch.unicode()));
    return;  // a refused character is dropped
  }
  QLineEdit::keyPressEvent(e);
}

}  // namespace zmp
