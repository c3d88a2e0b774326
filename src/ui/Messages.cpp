#include "ui/Messages.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>

#include "lang/LanguageTexts.h"

namespace zmp {

namespace {
MessageHook& Hook() {
  static MessageHook hook;
  return hook;
}
bool g_messageOpen = false;

struct OpenFlag {
  OpenFlag() { g_messageOpen = true; }
  ~OpenFlag() { g_messageOpen = false; }
};

QMessageBox::Icon ToQt(Icon i) {
  switch (i) {
    case Icon::Exclamation: return QMessageBox::Warning;
    case Icon::Stop: return QMessageBox::Critical;
    case Icon::Information: return QMessageBox::Information;
    case Icon::Question: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

Answer Show(QWidget* owner, const MessageRequest& r) {
  OpenFlag flag;
  if (Hook()) return Hook()(r);
  if (!owner) owner = QApplication::activeWindow();
  QMessageBox box(ToQt(r.icon), r.caption, r.text, QMessageBox::NoButton, owner);
  switch (r.buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::OkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::Ok);
      break;
    case Buttons::OkCancelDefaultCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::Cancel);
      break;
    case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case Buttons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
  }
  // Button captions from the language file where it has them.
  if (auto* b = box.button(QMessageBox::Ok); b && !QTx(26_txt).isEmpty()) b->setText(QTx(26_txt));
  if (auto* b = box.button(QMessageBox::Cancel); b && !QTx(27_txt).isEmpty()) b->setText(QTx(27_txt));
  switch (box.exec()) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
  }
}

QString CaptionOr(TextNo caption) {
  if (caption.n == 0) return QString::fromLatin1(kProductName);
  const QString c = QTx(caption);
  return c.isEmpty() ? QString::fromLatin1(kProductName) : c;
}
}  // namespace

void SetMessageHook(MessageHook hook) { Hook() = std::move(hook); }
bool IsMessageOpen() { return g_messageOpen; }

QString QTx(TextNo t) { return QString::fromLatin1(Texts().Text(t)); }

std::string FileSystemName(const QString& name) { return QFile::encodeName(name).toStdString(); }

QString DisplayName(const std::string& fileSystemName) {
  return QFile::decodeName(QByteArray::fromStdString(fileSystemName));
}

QString QTxFormat(TextNo t, const std::vector<std::string>& systemArgs) {
  // Filled in UTF-8: the language text as read, the arguments as decoded.
  std::vector<std::string> args;
  for (const auto& a : systemArgs) args.push_back(DisplayName(a).toStdString());
  return QString::fromStdString(FormatText(QTx(t).toStdString(), args));
}

Answer Notice(QWidget* owner, const QString& text, Buttons b) {
  return Show(owner, {CaptionOr(640_txt), text, b, Icon::Exclamation});
}
Answer Notice(QWidget* owner, TextNo text, Buttons b) { return Notice(owner, QTx(text), b); }
Answer Confirm(QWidget* owner, const QString& text, Buttons b) {
  return Show(owner, {CaptionOr(639_txt), text, b, Icon::Exclamation});
}
Answer Confirm(QWidget* owner, TextNo text, Buttons b) { return Confirm(owner, QTx(text), b); }
Answer Error(QWidget* owner, const QString& text, Buttons b) {
  return Show(owner, {CaptionOr(638_txt), text, b, Icon::Stop});
}
Answer Error(QWidget* owner, TextNo text, Buttons b) { return Error(owner, QTx(text), b); }
Answer MessageByNumber(QWidget* owner, const QString& text, TextNo caption, Icon icon, Buttons b) {
  return Show(owner, {CaptionOr(caption), text, b, icon});
}

}  // namespace zmp
