// Every editor the program opens, as real widgets on the offscreen platform:
// nothing cut off as it opens; tabbing through writes nothing; every control
// shows, commits and refuses as the field engine does. A new editor is
// covered here by being registered.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QScrollBar>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QTabWidget>
#include <memory>

#include "EditorGuiSupport.h"
#include "app/Frames.h"
#include "editors/ui/EditorViews.h"
#include "editors/ui/SettingsForm.h"
#include "editors/PortModel.h"

using namespace zmp;
using namespace zmp::testing;

namespace {

// Puts the focus on the first control of the page that takes it.
void FocusFirstControl(QWidget& page) {
  for (QWidget* w : page.findChildren<QWidget*>()) {
    if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisible()) {
      w->setFocus(Qt::TabFocusReason);
      return;
    }
  }
  page.setFocus(Qt::TabFocusReason);
}

void TabThrough(QWidget& page) {
  FocusFirstControl(page);
  for (int i = 0; i < 60; ++i) Key(Focus(), Qt::Key_Tab);
  for (int i = 0; i < 60; ++i) Key(Focus(), Qt::Key_Backtab, {}, Qt::ShiftModifier);
}

// Every page of the view in turn: each tab of each tab control, or the view itself.
template <class Check>
void OnEveryPage(QWidget& view, Check check) {
  const auto tabControls = view.findChildren<QTabWidget*>();
  if (tabControls.isEmpty()) return check(view);
  for (QTabWidget* tabs : tabControls) {
    for (int t = 0; t < tabs->count(); ++t) {
      tabs->setCurrentIndex(t);
      QApplication::processEvents();
      check(*tabs->currentWidget());
    }
    tabs->setCurrentIndex(0);
  }
}

// What a technician would find cut off in a window as it opens: a caption,
// a title or a row title that does not show whole, a row of a grid of fixed
// size that needs scrolling, an edit lower than its text.
class CutOff {
 public:
  explicit CutOff(std::string where) : where_(std::move(where)) {}
  const std::vector<std::string>& Faults() const { return faults_; }

  void CheckFrame(CEditorFrame& frame) {
    if (frame.TitleLabelRect().width() < frame.TitleTextWidth()) Fault("title", frame.windowTitle());
    for (QWidget* w : frame.View()->findChildren<QWidget*>()) {
      if (!w->isVisibleTo(&frame)) continue;
      if (auto* label = qobject_cast<QLabel*>(w)) CheckLabel(*label);
      else if (auto* button = qobject_cast<QAbstractButton*>(w)) CheckButton(*button);
      else if (auto* edit = qobject_cast<QLineEdit*>(w)) CheckEdit(*edit);
      else if (auto* box = qobject_cast<QComboBox*>(w)) CheckList(*box);
      else if (auto* bar = qobject_cast<QTabBar*>(w)) CheckTabs(*bar);
      else if (auto* grid = qobject_cast<EditGrid*>(w)) CheckGrid(*grid);
    }
  }

 private:
  void Fault(const char* what, const QString& text) {
    faults_.push_back(where_ + ": " + what + " \"" + text.toStdString() + "\"");
  }
  static int TextWidth(const QWidget& w, const QString& text) { return w.fontMetrics().horizontalAdvance(text); }

  void CheckLabel(const QLabel& label) {
    if (label.text().isEmpty() || label.wordWrap()) return;
    if (label.width() < label.minimumSizeHint().width() || label.height() < label.fontMetrics().height())
      Fault("label", label.text());
  }
  void CheckButton(const QAbstractButton& button) {
    if (button.text().isEmpty() || qobject_cast<const QTabBar*>(button.parentWidget())) return;
    if (button.width() < button.minimumSizeHint().width()) Fault("caption", button.text());
  }
  void CheckEdit(const QLineEdit& edit) {
    // The edit of a spin box or an editable list: the box around it is the control.
    const QWidget* control = &edit;
    if (qobject_cast<const QAbstractSpinBox*>(edit.parentWidget()) || qobject_cast<const QComboBox*>(edit.parentWidget()))
      control = edit.parentWidget();
    if (control->height() < control->minimumSizeHint().height()) Fault("edit height", edit.text());
    if (!edit.text().isEmpty() && TextWidth(edit, edit.text()) > edit.width() - 4) Fault("edit width", edit.text());
  }
  void CheckList(const QComboBox& box) {
    if (box.isEditable() || box.currentText().isEmpty()) return;
    QStyleOptionComboBox opt;
    opt.initFrom(&box);
    const QRect field = box.style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, &box);
    if (TextWidth(box, box.currentText()) > field.width()) Fault("list", box.currentText());
    if (box.height() < box.minimumSizeHint().height()) Fault("list height", box.currentText());
  }
  void CheckTabs(const QTabBar& bar) {
    const int space = bar.style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, &bar);
    for (int i = 0; i < bar.count(); ++i)
      if (bar.tabRect(i).width() < TextWidth(bar, bar.tabText(i)) + space || bar.tabRect(i).right() >= bar.width())
        Fault("tab", bar.tabText(i));
  }
  void CheckGrid(EditGrid& grid) {
    GridModel* model = grid.Model();
    const int margin = 2 * (grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &grid) + 1);
    for (int c = 0; c < model->columnCount(); ++c) {
      const QString title = model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
      if (TextWidth(*grid.horizontalHeader(), title) + margin > grid.columnWidth(c)) Fault("column title", title);
      for (int r = 0; r < model->rowCount(); ++r) {
        const QString text = model->data(model->index(r, c), Qt::DisplayRole).toString();
        if (TextWidth(grid, text) + margin > grid.columnWidth(c)) Fault(c == 0 ? "row title" : "cell", text);
      }
    }
    if (grid.horizontalScrollBar()->value() != 0 || grid.horizontalScrollBar()->maximum() != 0)
      Fault("grid width", grid.objectName());
    // The channel grid grows with its frame; every other grid has its rows.
    if (model->rowCount() <= 16 && grid.verticalScrollBar()->maximum() != 0) Fault("grid rows", grid.objectName());
  }

  std::string where_;
  std::vector<std::string> faults_;
};

}  // namespace

// Every editor as the main frame opens it, in the MDI area of a window on a
// 1440 x 900 screen, on a new image with channels, option ports both ways and
// a full CW ID: nothing cut off on any page.
TEST(EveryEditorGui, EveryEditorOpensWithNothingCutOff) {
  TestApp();
  UseProgramTexts();
  TestDocument doc;
  doc.image = FilledImage(Vhf146E());
  for (int k = 0; k < kOptionPortCount; ++k)
    doc.image.Main().SetByte(kOptionPortDirections + static_cast<std::size_t>(k), k < 3 ? 0 : 1);
  doc.SetCurrentChannel(22);  // a two-digit channel in the titles
  QMdiArea area;
  area.resize(1180, 780);
  area.show();
  std::vector<std::string> faults;
  for (const auto& [kind, open] : BuiltEditors()) {
    CEditorFrame* frame = MakeEditorFrame(kind);
    frame->SetView(open(doc, nullptr));
    area.addSubWindow(frame);
    frame->show();
    // As the main frame keeps it: never larger than the area.
    frame->resize(frame->size().boundedTo(area.viewport()->size()));
    QApplication::processEvents();
    CutOff check(std::string(TemplateOf(kind).viewClass));
    OnEveryPage(*frame->View(), [&](QWidget&) { check.CheckFrame(*frame); });
    faults.insert(faults.end(), check.Faults().begin(), check.Faults().end());
    delete frame;
  }
  for (const std::string& f : faults) ADD_FAILURE() << f;
}

// The GUI twin of the every-field suite: every value control of every form of
// every editor shows the engine's text, is enabled exactly when its field can
// be changed, and a commit through the widget does what the engine does on a
// copy of the image: the same bytes in one undo step that undo takes back, or
// for a refusal one message, no byte changed and the stored text shown again.
namespace {

QString ShownText(QWidget* w) {
  if (QLineEdit* edit = EditOf(w)) return edit->text();
  if (auto* box = qobject_cast<QComboBox*>(w)) return box->currentText();
  return {};
}

// Texts a user might type into a field: a value at each end of its range, a
// choice it offers, letters, and a number far out of range.
std::vector<QString> TextsToType(const FieldRef& ref, const ImageStore& image) {
  const FieldDecl& d = *ref.decl;
  std::vector<QString> texts;
  if (d.range.minimum <= d.range.maximum) {
    texts.push_back(QString::fromStdString(FormatUnits(d.range.minimum, d.decimals)));
    texts.push_back(QString::fromStdString(FormatUnits(d.range.maximum, d.decimals)));
  }
  const auto choices = FieldChoices(ref, image);
  if (choices.size() > 1) texts.push_back(QString::fromStdString(choices[1].text));
  texts.push_back("AB1");
  texts.push_back("99999999");
  return texts;
}

class ControlTwin {
 public:
  ControlTwin(TestDocument& doc, std::vector<QString>& messages, std::string where)
      : doc_(doc), messages_(messages), where_(std::move(where)) {}

  void Check(SettingsForm& form, const FieldTable& table, const FieldDecl& decl) {
    QWidget* w = form.ValueControl(decl);
    if (!w || !w->isVisibleTo(&form)) return;
    const FieldRef ref{&table, &decl, table.rows > 1 ? form.Row() : 0};
    const std::string at = where_ + " " + std::string(decl.key);
    const FieldView v = ShowField(ref, doc_.image);
    if (!form.enabledRule) {
      EXPECT_EQ(w->isEnabled(), v.exists && v.applicable && FieldDisabledReason(ref, doc_.image).n == 0) << at;
    }
    if (!v.applicable) return;
    if (auto* check = qobject_cast<QCheckBox*>(w)) {
      EXPECT_EQ(check->isChecked(), v.checked) << at;
      if (w->isEnabled()) Commits(at, [&] { check->click(); },
                                  [&](ImageStore& copy) { return CommitFieldCheck(ref, copy, !v.checked); });
      return;
    }
    if (decl.kind == ControlKind::DropList) {
      auto* box = qobject_cast<QComboBox*>(w);
      ASSERT_NE(box, nullptr) << at;
      EXPECT_EQ(box->currentIndex(), v.exists ? v.choice : -1) << at;
      if (!w->isEnabled()) return;
      const auto choices = FieldChoices(ref, doc_.image);
      for (int i = 0; i < static_cast<int>(choices.size()); ++i) {
        if (i == v.choice) continue;
        const long value = choices[static_cast<std::size_t>(i)].value;
        Commits(at, [&] { Pick(box, value); },
                [&](ImageStore& copy) { return CommitFieldChoice(ref, copy, value); });
        break;
      }
      return;
    }
    QLineEdit* edit = EditOf(w);
    if (!edit) return;
    EXPECT_EQ(ShownText(w).toStdString(), v.text) << at;
    if (!w->isEnabled()) return;
    // Escape puts back the shown text and stores nothing.
    edit->setFocus();
    edit->selectAll();
    Type("12");
    if (edit->text().toStdString() != v.text) {
      Key(Focus(), Qt::Key_Escape);
      EXPECT_EQ(ShownText(w).toStdString(), v.text) << at << ": Escape";
    }
    if (auto* spin = qobject_cast<FieldSpin*>(w))
      Commits(at + " spun", [&] { spin->stepBy(1); }, [&](ImageStore& copy) { return SpinField(ref, copy, true); });
    for (const QString& text : TextsToType(ref, doc_.image)) {
      QString typed;
      const QString shown = ShownText(w);
      Commits(at + " \"" + text.toStdString() + "\"",
              [&] {
                w->setFocus();
                edit->setFocus();
                edit->selectAll();
                Key(Focus(), Qt::Key_Backspace);
                Type(text);
                typed = edit->text();  // what the control's filter let through
                Key(Focus(), Qt::Key_Tab);
              },
              [&](ImageStore& copy) {
                if (typed == shown) return CommitResult{};  // leaving a field as shown stores nothing
                return CommitFieldText(ref, copy, typed.toStdString());
              });
      const FieldView after = ShowField(ref, doc_.image);
      if (after.applicable) {
        EXPECT_EQ(ShownText(w).toStdString(), after.text) << at << " after \"" << text.toStdString() << "\"";
      }
    }
  }

 private:
  template <class Act, class Engine>
  void Commits(const std::string& at, Act act, Engine engine) {
    const std::vector<std::uint8_t> before = AllBytes(doc_.image);
    const std::size_t steps = doc_.steps.size();
    const std::size_t messages = messages_.size();
    ImageStore copy = doc_.image;
    act();
    CommitResult expected;
    ChangeAndRelease(EditorModules(), copy, [&] { expected = engine(copy); });
    ASSERT_EQ(AllBytes(doc_.image), AllBytes(copy)) << at;
    const bool changed = AllBytes(copy) != before;
    EXPECT_EQ(doc_.steps.size(), steps + (changed ? 1 : 0)) << at;
    const bool told = (!expected.ok() && expected.message.n) || (expected.ok() && !expected.warning.empty());
    ASSERT_EQ(messages_.size(), messages + (told ? 1 : 0)) << at;
    if (told) {
      EXPECT_EQ(messages_.back().toStdString(), expected.ok() ? expected.warning : Tx(expected.message)) << at;
    }
    if (changed) {
      doc_.Undo();  // the form follows: the next control's check sees its shown text
      EXPECT_EQ(AllBytes(doc_.image), before) << at << ": undo";
    }
  }

  TestDocument& doc_;
  std::vector<QString>& messages_;
  std::string where_;
};

}  // namespace

// Every editor on a blank image, on new images with channels of every type
// and on images full of random bytes: opening it rewrites at most one stored
// value (as one step), moving through every control of every page with Tab
// and Shift+Tab writes nothing and raises no message; then every control
// meets its twin rule above, and closing the editor writes nothing.
TEST(EveryEditorGui, EveryControlShowsCommitsAndRefusesAsTheEngineDoes) {
  TestApp();
  UseProgramTexts();
  SetDecimalSeparator('.');
  std::vector<QString> messages;
  SetMessageHook([&](const MessageRequest& r) {
    messages.push_back(r.text);
    return Answer::Ok;
  });
  std::vector<std::pair<const char*, ImageStore>> images;
  ImageStore blank;
  blank.MakeBlank();
  SetModel(blank, Vhf146E());
  images.emplace_back("blank", blank);
  images.emplace_back("new with channels", FilledImage(Uhf450K()));
  images.emplace_back("option board", FilledImage(MakeRecord("RWAV0300", 2, 1, 0xFB)));
  images.emplace_back("random 1", RandomImage(1, true));
  images.emplace_back("random 2", RandomImage(2, true));
  ASSERT_GE(BuiltEditors().size(), 12u);
  for (auto& [name, image] : images) {
    for (const auto& [kind, open] : BuiltEditors()) {
      const std::string where = std::string(name) + ", " + std::string(TemplateOf(kind).viewClass);
      TestDocument doc;
      doc.image = image;
      doc.SetCurrentChannel(0);
      std::vector<std::uint8_t> opened;
      {
        std::unique_ptr<QWidget> view(open(doc, nullptr));
        view->resize(900, 700);
        Activate(*view);
        ASSERT_LE(doc.steps.size(), 1u) << where;
        opened = AllBytes(doc.image);
        doc.steps.clear();
        const std::size_t told = messages.size();
        OnEveryPage(*view, TabThrough);
        EXPECT_TRUE(doc.steps.empty()) << where << ": tabbing stored";
        ASSERT_EQ(messages.size(), told) << where << ": tabbing raised " << messages.back().toStdString();
        ControlTwin twin(doc, messages, where);
        for (SettingsForm* form : view->findChildren<SettingsForm*>()) {
          for (const EditorModule* module : EditorModules()) {
            if (module->kind != static_cast<int>(kind)) continue;
            for (const FieldTable& table : module->tables) {
              if (table.kind != TableKind::Form) continue;
              for (const FieldDecl& decl : table.fields) {
                if (!decl.HasValue()) continue;
                if (QTabWidget* tabs = form->Tabs()) {
                  // The control's page in front, as a user sees it.
                  if (QWidget* w = form->ValueControl(decl))
                    for (int t = 0; t < tabs->count(); ++t)
                      if (tabs->widget(t)->isAncestorOf(w)) tabs->setCurrentIndex(t);
                }
                twin.Check(*form, table, decl);
              }
            }
          }
        }
      }
      EXPECT_EQ(AllBytes(doc.image), opened) << where;
    }
  }
  SetMessageHook({});
}
