// The file questions of the File and Program menus as the user sees them:
// message boxes and file dialogs, through the replaceable prompts and the
// message hook, so tests answer them without anything being shown.
#pragma once

#include "data/FileOperations.h"

class QWidget;

namespace zmp {

class QtFilePrompts : public FilePrompts {
 public:
  explicit QtFilePrompts(QWidget* owner) : owner_(owner) {}
  SaveChangesAnswer AskSaveChanges(const std::string& fileName) override;
  bool ConfirmOverwrite(const std::string& path) override;
  bool ConfirmNew() override;
  std::optional<std::string> ChooseOpenFile(const std::string& folder, bool tuning) override;
  std::optional<std::string> ChooseSaveFile(const std::string& folder, const std::string& name,
                                            bool tuning) override;
  std::optional<std::string> AskPassword() override;
  void ShowError(TextNo text, const std::vector<std::string>& args) override;

 private:
  QWidget* owner_;
};

}  // namespace zmp
