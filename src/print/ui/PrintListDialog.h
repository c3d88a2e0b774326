// The "Print Out List" dialog: a check box per section (the model header and
// every editor of the module list), the channel range, and the page count of
// the current choice, updated as the choice changes. It ends with the action
// the user chose (print, preview or PDF); the caller carries it out. No
// section chosen disables the three actions.
#pragma once

#include <QDialog>
#include <map>
#include <string>

#include "print/Listing.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace zmp::print {

class CPrintListDlg : public QDialog {
  Q_OBJECT
 public:
  enum class Action { None, Print, Preview, Pdf };

  CPrintListDlg(ModuleList modules, const ImageStore& image, const ListingChoice& initial,
                QWidget* parent = nullptr);

  ListingChoice Choice() const;
  Action ChosenAction() const { return action_; }
  // The pages the current choice takes (what the dialog shows).
  int PageCount() const { return pages_; }

  QCheckBox* SectionBox(const std::string& key) const;
  QSpinBox* FirstChannel() const { return first_; }
  QSpinBox* LastChannel() const { return last_; }
  QLabel* PagesLabel() const { return pagesLabel_; }
  QPushButton* Button(Action a) const;

 private:
  void Recount();
  void Finish(Action a);

  ModuleList modules_;
  const ImageStore& image_;
  std::vector<std::pair<std::string, QCheckBox*>> sections_;
  QSpinBox* first_ = nullptr;
  QSpinBox* last_ = nullptr;
  QLabel* pagesLabel_ = nullptr;
  std::map<Action, QPushButton*> buttons_;
  Action action_ = Action::None;
  int pages_ = 0;
};

}  // namespace zmp::print
