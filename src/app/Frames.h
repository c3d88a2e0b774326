// The child windows in which the editors open. Every editor kind names its
// frame class; a frame holds exactly one editor view and opens, once it is
// shown in the MDI area, at the size the view asks for with its whole title.
// F1 in a frame is the help of the control in focus (its view answers it)
// or, where no control answers, of the window (its Help button); Help > Help
// Topics keeps F1 only outside the editors. F1 in a frame is the
// help of the control in focus (its view answers it) or, where no control
// answers, of the window (its Help button); Help > Help Topics keeps F1 only
// outside the editors.
#pragma once

#include <QMdiSubWindow>

#include "editors/EditorKinds.h"

namespace zmp {

class CEditorFrame : public QMdiSubWindow {
  Q_OBJECT
 public:
  CEditorFrame(EditorKind kind, QWidget* parent = nullptr);
  EditorKind Kind() const { return kind_; }
  // Puts the view into the frame (sized to it when first shown).
  void SetView(QWidget* view);
  QWidget* View() const { return widget(); }
  // True once the frame has been closed (it is deleted soon after).
  bool IsClosed() const { return closed_; }
  // Where the title bar draws the title, and the width the title needs there.
  QRect TitleLabelRect() const;
  int TitleTextWidth() const;

 signals:
  void Closed();

 protected:
  void closeEvent(QCloseEvent* e) override;
  bool event(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void showEvent(QShowEvent* e) override;
  // The size the view asks for, with the title bar, the border and room for
  // the whole title.
  QSize OpeningSize() const;
  // Sizes the frame as it is first shown.
  virtual void FitToView();

 private:
  EditorKind kind_;
  bool closed_ = false;
  bool sized_ = false;
};

// The usual editor frame: resizable, sized to the view at first.
class CChildFrame : public CEditorFrame {
  Q_OBJECT
 public:
  using CEditorFrame::CEditorFrame;
};

// The channel information editor's frame: resizable and opened large, since
// its grid grows with the channels.
class CChInfoFrm : public CEditorFrame {
  Q_OBJECT
 public:
  using CEditorFrame::CEditorFrame;

 protected:
  void FitToView() override;
};

// Frames of form editors with a fixed layout: the frame keeps the view's size
// and cannot be maximised.
class CSpecialFrame : public CEditorFrame {
  Q_OBJECT
 public:
  CSpecialFrame(EditorKind kind, QWidget* parent = nullptr);

 protected:
  void FitToView() override;
};

CEditorFrame* MakeEditorFrame(EditorKind kind, QWidget* parent = nullptr);

}  // namespace zmp
