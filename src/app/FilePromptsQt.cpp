#include "app/FilePromptsQt.h"

#include <QFileInfo>

#include "lang/LanguageTexts.h"
#include "ui/Messages.h"
#include "app/Prompts.h"

namespace zmp {

namespace {

QString Latin(const std::string& s) { return QString::fromLatin1(s.c_str()); }

// "FPU Data File (*.dat)" or "Tuning Data File (*.tun)".
QString FilterOf(bool tuning) {
  return Latin(FormatText(tuning ? "%s (*.tun)" : "%s (*.dat)",
                          {Texts().Text(tuning ? 154_txt : 153_txt)}));
}

// Language texts and file names joined in UTF-8, each decoded as it is stored.
QString Joined(const char* format, const std::vector<QString>& parts) {
  std::vector<std::string> utf8;
  for (const auto& p : parts) utf8.push_back(p.toStdString());
  return QString::fromStdString(FormatText(format, utf8));
}

}  // namespace

SaveChangesAnswer QtFilePrompts::AskSaveChanges(const std::string& fileName) {
  const QString text = Joined("%s \"%s\" ?", {QTx(650_txt), DisplayName(fileName)});
  switch (Confirm(owner_, text, Buttons::YesNoCancel)) {
    case Answer::Yes: return SaveChangesAnswer::Yes;
    case Answer::No: return SaveChangesAnswer::No;
    default: return SaveChangesAnswer::Cancel;
  }
}

bool QtFilePrompts::ConfirmOverwrite(const std::string& path) {
  const QString text = Joined("%s\n\n%s : %s", {QTx(651_txt), QTx(652_txt), DisplayName(path)});
  return Confirm(owner_, text, Buttons::OkCancel) == Answer::Ok;
}

bool QtFilePrompts::ConfirmNew() {
  return Confirm(owner_, 653_txt, Buttons::OkCancelDefaultCancel) == Answer::Ok;
}

std::optional<std::string> QtFilePrompts::ChooseOpenFile(const std::string& folder, bool tuning) {
  const QString path = CurrentPrompts().OpenFileName(owner_, QTx(tuning ? 154_txt : 153_txt),
                                                     DisplayName(folder), FilterOf(tuning));
  if (path.isEmpty()) return std::nullopt;
  return FileSystemName(path);
}

std::optional<std::string> QtFilePrompts::ChooseSaveFile(const std::string& folder, const std::string& name,
                                                         bool tuning) {
  QString path = CurrentPrompts().SaveFileName(owner_, QTx(tuning ? 154_txt : 153_txt),
                                               DisplayName(folder + name), FilterOf(tuning));
  if (path.isEmpty()) return std::nullopt;
  // A name typed without its extension gets the file type's own.
  if (QFileInfo(path).suffix().isEmpty()) path += tuning ? QStringLiteral(".tun") : QStringLiteral(".dat");
  return FileSystemName(path);
}

std::optional<std::string> QtFilePrompts::AskPassword() {
  const auto entry = CurrentPrompts().Password(owner_, QTx(158_txt), QTx(159_txt), 6);
  if (!entry) return std::nullopt;
  return entry->toStdString();
}

void QtFilePrompts::ShowError(TextNo text, const std::vector<std::string>& args) {
  if (text == TextNo{0}) return;
  Error(owner_, QTxFormat(text, args));
}

}  // namespace zmp
