// Shared pieces of the editor GUI tests: the document as the main frame keeps
// it (reduced to what a view uses) and keys sent to the real widgets.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <vector>

#include "data/ImageStore.h"
#include "data/ModelInfo.h"
#include "editors/ui/EditorDocument.h"

namespace zmp::testing {

// Every commit is one step that Undo takes back; opened and closed editors
// are recorded.
class TestDocument : public EditorDocument {
 public:
  ImageStore image;
  ModelInfo model{image};
  std::vector<ImageCopy> steps;
  std::vector<QString> labels;
  std::vector<EditorKind> opened, closed;

  ImageStore& Image() override { return image; }
  ModelInfo& Model() override { return model; }
  bool Commit(const QString& label, const std::function<void()>& change) override {
    const ImageCopy before = image.working();
    change();
    if (before == image.working()) return false;
    steps.push_back(before);
    labels.push_back(label);
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

}  // namespace zmp::testing
