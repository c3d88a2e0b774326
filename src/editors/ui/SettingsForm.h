// A settings form built from field tables: one page per table (tabs when an
// editor has more than one shown), a caption and a control per declared
// field, the shared keyboard rules, and commits through the document's undo,
// one step per commit. The form holds no copy of a setting: every control is
// filled from the image and each user action is stored at once.
//
// Keyboard: Enter moves like Tab except on the form's buttons, which it
// presses; Escape puts back the text the control showed (and, when nothing
// was being edited, asks to close); F1 asks for help; Ctrl+Z and Ctrl+Y are
// the document's Undo and Redo (Ctrl+Z first puts back text not yet stored).
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

#include "editors/ui/EditorDocument.h"
#include "fields/FieldCodec.h"

#include <memory>

#include "editors/FieldGridSource.h"

class QKeyEvent;
class QLabel;
class QPushButton;
class QTabWidget;

namespace zmp {

class EditGrid;

class SettingsForm : public QWidget {
  Q_OBJECT
 public:
  // The tables' fields are laid out in columns of at most rowsPerColumn rows.
  SettingsForm(EditorDocument& doc, std::vector<const FieldTable*> tables, QWidget* parent = nullptr,
               int rowsPerColumn = 15);
  ~SettingsForm() override;

  // The row of per-row tables (a channel), 0-based.
  int Row() const { return row_; }
  void SetRow(int row);
  // Fills every control from the working image.
  void Reload();

  // The value control of a field (object name "ctl<value id>").
  QWidget* ValueControl(const FieldDecl& decl) const;
  QWidget* ValueControl(std::size_t table, std::size_t field) const;
  QLabel* LabelOf(std::size_t table, std::size_t field) const;
  QTabWidget* Tabs() const { return tabs_; }
  // The grid of a grid table (nullptr for form tables).
  EditGrid* GridOf(std::size_t table) const;
  // Shows a field of one of the form's tables (its tab, its row: a per-row
  // form steps to it and says so with RowChanged) and gives its control, or
  // its grid cell, the focus. False when the form does not show the field.
  bool FocusField(const FieldRef& field);
  // Controls that are not fields (buttons of the form) take part in the
  // keyboard rules: Enter presses them.
  void AddOwnButton(QPushButton* b);
  bool AnyListOpen() const;
  // While a commit's warning is shown, further commits of the form return at
  // once (the focus change the message box causes stores nothing).
  bool WarningOpen() const { return warningOpen_; }
  // Called for every field's enabled state after a reload (the channel form
  // enables only the frequencies of a channel that does not exist).
  std::function<bool(const FieldDecl&, const FieldView&)> enabledRule;

 signals:
  void ButtonClicked(const QString& key);
  // The user stepped or typed the row of a per-row form.
  void RowChanged(int row);
  void CloseRequested();
  void HelpRequested(const QString& target);
  // A committed change was refused: the message is shown by the form.
  void Refused(TextNo message);

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  struct Control {
    const FieldTable* table;
    const FieldDecl* decl;
    QWidget* widget = nullptr;
    QLabel* label = nullptr;
    QString shown;   // the text the control showed when filled
  };

  QWidget* BuildPage(const FieldTable& table, std::size_t tableIndex);
  QWidget* BuildGrid(const FieldTable& table, std::size_t tableIndex);
  QWidget* MakeControl(Control& c);
  void Fill(Control& c);
  FieldRef RefOf(const Control& c) const { return FieldRef{c.table, c.decl, row_}; }
  void Commit(const Control& c, const std::function<CommitResult()>& change);
  void CommitText(std::size_t index, const QString& text);
  Control* ControlOf(QObject* watched);
  void RestoreShown(Control& c);
  // Ctrl+Z and Ctrl+Y on a control (override or press); true when taken.
  bool UndoKey(QObject* watched, QKeyEvent* k);
  // The fields' one-time rewrite as the form opens or shows another row,
  // as its own undo step (none when no byte changes).
  void NormaliseFields();

  EditorDocument& doc_;
  std::vector<const FieldTable*> tables_;
  std::vector<Control> controls_;
  std::vector<std::vector<std::size_t>> byTable_;
  std::vector<QPushButton*> ownButtons_;
  std::vector<std::unique_ptr<FieldGridSource>> sources_;
  std::vector<EditGrid*> grids_;
  std::vector<QWidget*> pages_;  // by table; nullptr for tables not shown
  QTabWidget* tabs_ = nullptr;
  int rowsPerColumn_;
  int row_ = 0;
  bool loading_ = false;
  bool skipReload_ = false;
  bool warningOpen_ = false;
};

}  // namespace zmp
