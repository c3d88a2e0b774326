#include "app/FilePromptsQt.h"

#include <QFileInfo>

#include "app/LanguageTexts.h"
#include "app/Messages.h"
#include "app/Prompts.h"

namespace zmp {

namespace {

QString Latin(const std::string& s) { return QString::fromLatin1(s.c_str()); }

// "FPU Data File (*.dat)" or "Tuning Data File (*.tun)".
QString FilterOf(bool tuning) {
  return Latin(FormatText(tuning ? "%s (*.tun)" : "%s (*.dat)",
                          {Texts().Text(tuning ? 154_txt : 153_txt)}));
}

}  // namespace

SaveChangesAnswer QtFilePrompts::AskSaveChanges(const std::string& fileName) {
  const std::string text = FormatText("%s \"%s\" ?", {Texts().Text(650_txt), fileName});
  switch (Confirm(owner_, Latin(text), Buttons::YesNoCancel)) {
    case Answer::Yes: return SaveChangesAnswer::Yes;
    case Answer::No: return SaveChangesAnswer::No;
    default: return SaveChangesAnswer::Cancel;
  }
}

bool QtFilePrompts::ConfirmOverwrite(const std::string& path) {
  const std::string text =
      FormatText("%s\n\n%s : %s", {Texts().Text(651_txt), Texts().Text(652_txt), path});
  return Confirm(owner_, QString::fromStdString(text), Buttons::OkCancel) == Answer::Ok;
}

bool QtFilePrompts::ConfirmNew() {
  return Confirm(owner_, 653_txt, Buttons::OkCancelDefaultCancel) == Answer::Ok;
}

std::optional<std::string> QtFilePrompts::ChooseOpenFile(const std::string& folder, bool tuning) {
  const QString path = CurrentPrompts().OpenFileName(owner_, QTx(tuning ? 154_txt : 153_txt),
                                                     QString::fromStdString(folder), FilterOf(tuning));
  if (path.isEmpty()) return std::nullopt;
  return path.toStdString();
}

std::optional<std::string> QtFilePrompts::ChooseSaveFile(const std::string& folder, const std::string& name,
                                                         bool tuning) {
  QString path = CurrentPrompts().SaveFileName(owner_, QTx(tuning ? 154_txt : 153_txt),
                                               QString::fromStdString(folder + name), FilterOf(tuning));
  if (path.isEmpty()) return std::nullopt;
  // A name typed without its extension gets the file type's own.
  if (QFileInfo(path).suffix().isEmpty()) path += tuning ? QStringLiteral(".tun") : QStringLiteral(".dat");
  return path.toStdString();
}

std::optional<std::string> QtFilePrompts::AskPassword() {
  const auto entry = CurrentPrompts().Password(owner_, QTx(158_txt), QTx(159_txt), 6);
  if (!entry) return std::nullopt;
  return entry->toStdString();
}

void QtFilePrompts::ShowError(TextNo text, const std::vector<std::string>& args) {
  if (text == TextNo{0}) return;
  Error(owner_, Latin(FormatText(Texts().Text(text), args)));
}

void QtFilePrompts::ShowSystemError(const std::string& text) { Error(owner_, QString::fromStdString(text)); }

}  // namespace zmp
