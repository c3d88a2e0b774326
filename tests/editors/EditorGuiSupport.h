// Shared pieces of the editor GUI tests: the document as the main frame keeps
// it (reduced to what a view uses) and keys sent to the real widgets.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <vector>

#include "../support/QtTestApp.h"
#include "EditorTestSupport.h"
#include "ui/Messages.h"
#include "data/ImageStore.h"
#include "data/ModelInfo.h"
#include "data/NewImage.h"
#include "editors/ui/EditGrid.h"
#include "editors/ui/EditorDocument.h"
#include "editors/ui/FieldControls.h"

namespace zmp::testing {

// Every commit is one step that Undo takes back; opened and closed editors
// are recorded.
class TestDocument : public EditorDocument {
 public:
  ImageStore image;
  ModelInfo model{image};
  std::vector<ImageCopy> steps;
  std::vector<EditorKind> opened, closed;

  ImageStore& Image() override { return image; }
  ModelInfo& Model() override { return model; }
  bool Commit(const QString&, const std::function<void()>& change) override {
    const ImageCopy before = image.working();
    RunChange(change);
    if (before == image.working()) return false;
    steps.push_back(before);
    emit ImageChanged(nullptr);
    return true;
  }
  void Undo() {
    ASSERT_FALSE(steps.empty());
    image.working() = steps.back();
    steps.pop_back();
    emit ImageChanged(nullptr);
  }
  void OpenEditor(EditorKind k) override { opened.push_back(k); }
  void CloseEditor(EditorKind k) override { closed.push_back(k); }
};

inline void Activate(QWidget& w) {
  w.show();
  w.activateWindow();
  for (int i = 0; i < 200 && QApplication::activeWindow() != &w; ++i) QApplication::processEvents();
}

inline QWidget* Focus() { return QApplication::focusWidget(); }

inline void Key(QWidget* target, int key, const QString& text = {}, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  ASSERT_NE(target, nullptr);
  QKeyEvent press(QEvent::KeyPress, key, mods, text);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, mods, text);
  QApplication::sendEvent(target, &release);
}

// Types text into whatever has the focus, one key at a time.
inline void Type(const QString& text) {
  for (QChar c : text) Key(Focus(), 0, QString(c));
}

// The control a view names "ctl<id>", or nullptr.
template <class T = QWidget>
T* Control(QWidget& view, int id) {
  return view.findChild<T*>(QStringLiteral("ctl%1").arg(id));
}

// The text edit of an edit, a numeric field or an editable list, or nullptr.
inline QLineEdit* EditOf(QWidget* control) {
  if (auto* spin = qobject_cast<FieldSpin*>(control)) return spin->Edit();
  if (auto* box = qobject_cast<QComboBox*>(control)) return box->lineEdit();
  return qobject_cast<QLineEdit*>(control);
}

// Replaces the text of an edit, a numeric field or an editable list as a
// user does (select all, Backspace, the keys) and leaves it with Tab.
inline void TypeInto(QWidget* control, const QString& text) {
  ASSERT_NE(control, nullptr);
  QLineEdit* edit = EditOf(control);
  control->setFocus();
  if (edit) {
    edit->setFocus();
    edit->selectAll();
  } else if (auto* spin = qobject_cast<QAbstractSpinBox*>(control)) {
    spin->selectAll();
  }
  Key(Focus(), Qt::Key_Backspace);
  Type(text);
  Key(Focus(), Qt::Key_Tab);
}

// Chooses the list entry that carries this value, as a click on it does.
inline void Pick(QComboBox* box, long value) {
  ASSERT_NE(box, nullptr);
  const int i = box->findData(QVariant::fromValue<qlonglong>(value));
  ASSERT_GE(i, 0) << value;
  box->setCurrentIndex(i);
  emit box->activated(i);
}

inline QString Cell(EditGrid* grid, int row, int col) {
  return grid->Model()->data(grid->Model()->index(row, col), Qt::DisplayRole).toString();
}

// Opens a grid cell's list and chooses the entry with this text.
inline void Choose(EditGrid* grid, int row, int col, const QString& text) {
  grid->setFocus();
  ASSERT_TRUE(grid->BeginCellEdit(row, col));
  QComboBox* list = grid->ListEditor();
  const int i = list->findText(text);
  ASSERT_GE(i, 0) << text.toStdString();
  list->setCurrentIndex(i);
  emit list->activated(i);
}

// An editor GUI test: the program's texts, a document over a blank image of
// a WAV-300 E (newImage: with a new image's defaults), message boxes answered
// Ok and recorded.
class EditorGui : public ::testing::Test {
 protected:
  // The application, the texts and the message hook; the image untouched.
  void StartGui() {
    TestApp();
    UseProgramTexts();
    SetMessageHook([this](const MessageRequest& r) {
      messages.push_back(r.text);
      if (onMessage) onMessage();
      return Answer::Ok;
    });
  }
  void SetUpDocument(bool newImage) {
    StartGui();
    doc.image.MakeBlank();
    SetModel(doc.image, Vhf146E());
    if (newImage) ApplyNewImageDefaults(doc.image, false, false);
  }
  void SetUp() override { SetUpDocument(true); }
  void TearDown() override { SetMessageHook({}); }

  TestDocument doc;
  std::vector<QString> messages;
  std::function<void()> onMessage;  // runs while a message is up
};

}  // namespace zmp::testing
