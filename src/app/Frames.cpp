#include "app/Frames.h"

#include <QCloseEvent>
#include <QShowEvent>

namespace zmp {

CEditorFrame::CEditorFrame(EditorKind kind, QWidget* parent) : QMdiSubWindow(parent), kind_(kind) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName(QString::fromLatin1(TemplateOf(kind).viewClass.data(),
                                    static_cast<int>(TemplateOf(kind).viewClass.size())));
}

void CEditorFrame::closeEvent(QCloseEvent* e) {
  QMdiSubWindow::closeEvent(e);
  if (e->isAccepted() && !closed_) {
    closed_ = true;
    emit Closed();
  }
}

void CEditorFrame::SetView(QWidget* view) {
  setWidget(view);
  if (!view->windowTitle().isEmpty()) setWindowTitle(view->windowTitle());
  adjustSize();
}

void CChInfoFrm::SetView(QWidget* view) {
  CEditorFrame::SetView(view);
  resize(size().expandedTo(QSize(640, 420)));
}

void CChInfoFrm::showEvent(QShowEvent* e) {
  CEditorFrame::showEvent(e);
  if (sized_) return;
  sized_ = true;
  // Once its layout is live the frame takes the height the view asks for
  // (every channel row); the main frame then keeps it inside the MDI area.
  // adjustSize alone stops at two thirds of the screen.
  resize(size().expandedTo(sizeHint()));
}

CSpecialFrame::CSpecialFrame(EditorKind kind, QWidget* parent) : CEditorFrame(kind, parent) {
  setWindowFlags(windowFlags() & ~Qt::WindowMaximizeButtonHint);
}

void CSpecialFrame::SetView(QWidget* view) {
  CEditorFrame::SetView(view);
  setFixedSize(sizeHint().expandedTo(size()));
}

CEditorFrame* MakeEditorFrame(EditorKind kind, QWidget* parent) {
  switch (TemplateOf(kind).frame) {
    case FrameClass::ChInfoFrm: return new CChInfoFrm(kind, parent);
    case FrameClass::SpecialFrame: return new CSpecialFrame(kind, parent);
    case FrameClass::ChildFrame: break;
  }
  return new CChildFrame(kind, parent);
}

}  // namespace zmp
