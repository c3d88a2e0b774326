#include "app/Frames.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QStyleOptionTitleBar>

#include "editors/ui/EditorButtons.h"

namespace zmp {

namespace {
bool IsHelpKey(const QKeyEvent* e) { return e->key() == Qt::Key_F1 && e->modifiers() == Qt::NoModifier; }
}  // namespace

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

bool CEditorFrame::event(QEvent* e) {
  // The key goes to the control in focus instead of the shortcut of Help Topics.
  if (e->type() == QEvent::ShortcutOverride && IsHelpKey(static_cast<QKeyEvent*>(e))) {
    e->accept();
    return true;
  }
  return QMdiSubWindow::event(e);
}

void CEditorFrame::keyPressEvent(QKeyEvent* e) {
  if (!IsHelpKey(e)) return QMdiSubWindow::keyPressEvent(e);
  // No control of the view answered: the help of the window.
  const QString help = QStringLiteral("ctl%1").arg(EditorButtons::kHelpId);
  if (auto* button = View() ? View()->findChild<QPushButton*>(help) : nullptr) button->click();
}

void CEditorFrame::SetView(QWidget* view) {
  setWidget(view);
  if (!view->windowTitle().isEmpty()) setWindowTitle(view->windowTitle());
}

QRect CEditorFrame::TitleLabelRect() const {
  QStyleOptionTitleBar opt;
  opt.initFrom(this);
  opt.text = windowTitle();
  opt.titleBarFlags = windowFlags();
  opt.titleBarState = windowState();
  opt.subControls = QStyle::SC_All;
  const int height = style()->pixelMetric(QStyle::PM_TitleBarHeight, &opt, this);
  opt.rect = QRect(0, 0, width(), height);
  return style()->subControlRect(QStyle::CC_TitleBar, &opt, QStyle::SC_TitleBarLabel, this);
}

int CEditorFrame::TitleTextWidth() const {
  // Drawn in the title bar's font, bold while the window is active.
  QFont f = QApplication::font("QMdiSubWindowTitleBar");
  f.setBold(true);
  return QFontMetrics(f).horizontalAdvance(windowTitle()) + 8;
}

QSize CEditorFrame::OpeningSize() const {
  // Wide enough for the whole title beside the buttons of the title bar.
  const int forTitle = width() - TitleLabelRect().width() + TitleTextWidth();
  return sizeHint().expandedTo(QSize(forTitle, 0));
}

void CEditorFrame::showEvent(QShowEvent* e) {
  QMdiSubWindow::showEvent(e);
  if (sized_) return;
  sized_ = true;
  // Only inside the MDI area does the size hint hold the title bar and the
  // border: sized before, the view would open squeezed.
  FitToView();
}

void CEditorFrame::FitToView() { resize(OpeningSize()); }

void CChInfoFrm::FitToView() {
  // Once its layout is live the frame takes the height the view asks for
  // (every channel row); the main frame then keeps it inside the MDI area.
  resize(OpeningSize().expandedTo(QSize(640, 420)));
}

CSpecialFrame::CSpecialFrame(EditorKind kind, QWidget* parent) : CEditorFrame(kind, parent) {
  setWindowFlags(windowFlags() & ~Qt::WindowMaximizeButtonHint);
}

void CSpecialFrame::FitToView() { setFixedSize(OpeningSize()); }

CEditorFrame* MakeEditorFrame(EditorKind kind, QWidget* parent) {
  switch (TemplateOf(kind).frame) {
    case FrameClass::ChInfoFrm: return new CChInfoFrm(kind, parent);
    case FrameClass::SpecialFrame: return new CSpecialFrame(kind, parent);
    case FrameClass::ChildFrame: break;
  }
  return new CChildFrame(kind, parent);
}

}  // namespace zmp
