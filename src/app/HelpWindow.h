// The help window: the user guide (HTML pages of one language) in a browser
// with Back, Forward, Contents and a search over every page of the guide.
#pragma once

#include <QStringList>
#include <QWidget>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace zmp {

class CHelpWindow : public QWidget {
  Q_OBJECT
 public:
  explicit CHelpWindow(QWidget* parent = nullptr);

  // The folder holding the guide's index.html.
  void SetGuideFolder(const QString& folder);
  const QString& GuideFolder() const { return folder_; }
  // Shows "page.html#anchor" of the guide; false (the contents are shown
  // instead) when the page does not exist.
  bool ShowTarget(const QString& target);
  // The page and anchor of a help context, or the contents with a note when
  // the number has no page.
  void ShowContext(int context);
  void ShowContents();

  // The guide's pages (relative paths) whose text holds every word of query,
  // listed with their titles in the result list.
  QStringList Search(const QString& query);

  QTextBrowser* Browser() const { return browser_; }
  QListWidget* Results() const { return results_; }
  QLineEdit* SearchEdit() const { return search_; }
  QLabel* Note() const { return note_; }
  QAction* BackAction() const { return back_; }
  QAction* ForwardAction() const { return forward_; }
  QAction* ContentsAction() const { return contents_; }

 private:
  void ShowNote(const QString& text);
  void OpenResult(int row);

  QString folder_;
  QTextBrowser* browser_;
  QLineEdit* search_;
  QListWidget* results_;
  QLabel* note_;
  QAction* back_;
  QAction* forward_;
  QAction* contents_;
  QStringList words_;  // of the last search, found again on the opened page
};

}  // namespace zmp
