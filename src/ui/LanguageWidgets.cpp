#include "ui/LanguageWidgets.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>

#include "ui/Messages.h"

namespace zmp {

QString ControlName(int id) { return QStringLiteral("ctl%1").arg(id); }

void NameControl(QWidget* widget, int id) { widget->setObjectName(ControlName(id)); }

QWidget* FindControl(const QWidget* form, int id) {
  if (!form || id == 0) return nullptr;
  return form->findChild<QWidget*>(ControlName(id));
}

namespace {
bool SetWindowText(QWidget* w, const QString& text) {
  if (auto* l = qobject_cast<QLabel*>(w)) {
    l->setText(text);
  } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
    b->setText(text);
  } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
    g->setTitle(text);
  } else {
    w->setWindowTitle(text);
    return false;
  }
  return true;
}
}  // namespace

int ApplyCaptions(QWidget* form, std::span<const ControlRecord> rows) {
  int set = 0;
  for (const ControlRecord& r : rows) {
    if (r.text == TextNo{0}) continue;
    if (QWidget* label = FindControl(form, r.labelId); label && SetWindowText(label, QTx(r.text))) ++set;
  }
  return set;
}

}  // namespace zmp
