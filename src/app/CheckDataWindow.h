// What a write would send to the repeater that the editors would not store
// (Program > Check Data): every setting whose value is outside its range,
// names something that is gone, or cannot be typed, from the image check.
// The window follows the image live; a double-click opens the setting in its
// editor. The same list asks before Write Data to Radio sends such values.
#pragma once

#include <QDialog>
#include <QTreeWidget>
#include <QWidget>
#include <functional>
#include <vector>

#include "fields/ImageCheck.h"

class QLabel;

namespace zmp {

class CMainFrame;

// The problems as rows: editor, setting, the text it shows, the problem.
class ProblemList : public QTreeWidget {
  Q_OBJECT
 public:
  explicit ProblemList(QWidget* parent = nullptr);
  void Show(std::vector<ImageProblem> problems, const ImageStore& image);
  const std::vector<ImageProblem>& Problems() const { return problems_; }

 signals:
  // A row was double-clicked (or Enter pressed on it).
  void Chosen(const zmp::FieldInstance& field);

 private:
  std::vector<ImageProblem> problems_;
};

class CCheckDataWnd : public QWidget {
  Q_OBJECT
 public:
  CCheckDataWnd(CMainFrame& frame, const ImageStore& image, QWidget* parent = nullptr);
  // Checks the image again (the window does so after every change).
  void Refresh();
  ProblemList* List() const { return list_; }
  QString Summary() const;

 private:
  CMainFrame& frame_;
  const ImageStore& image_;
  QLabel* summary_;
  ProblemList* list_;
};

// Asks before a write sends values the editors would not store: the list,
// "Write Anyway" and Cancel (the default). A double-click closes it without
// writing and opens that setting.
class CWriteCheckDlg : public QDialog {
  Q_OBJECT
 public:
  CWriteCheckDlg(std::vector<ImageProblem> problems, const ImageStore& image, QWidget* parent = nullptr);
  ProblemList* List() const { return list_; }
  // The setting double-clicked, when the dialog closed for it.
  const FieldInstance* Chosen() const { return chosen_ ? &*chosen_ : nullptr; }

 private:
  ProblemList* list_;
  std::optional<FieldInstance> chosen_;
};

}  // namespace zmp
