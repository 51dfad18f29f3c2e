#include "app/FormGeometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace skribo {

bool TQtFormGeometry::IsMaximized() const {
  return Form->isMaximized();
}

TRect TQtFormGeometry::NormalRect() const {
  // The rectangle the window returns to from maximised, as the placement record holds it.
  const QRect r = Form->isMaximized() || Form->isMinimized() || Form->isFullScreen()
                      ? Form->normalGeometry()
                      : Form->geometry();
  return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

void TQtFormGeometry::SetNormalRect(const TRect& rect) {
  const QSize minimum = Form->minimumSize();
  const int width = std::max(rect.Right - rect.Left, minimum.width());
  const int height = std::max(rect.Bottom - rect.Top, minimum.height());
  Form->setGeometry(rect.Left, rect.Top, width, height);
}

void TQtFormGeometry::SetMaximized(bool maximized) {
  Form->setWindowState(maximized ? (Form->windowState() | Qt::WindowMaximized)
                                 : (Form->windowState() & ~Qt::WindowMaximized));
}

TSize TQtFormGeometry::PrimaryScreenSize() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return {};
  return {screen->size().width(), screen->size().height()};
}

std::u16string TQtFormGeometry::ActiveControlName() const {
  const QWidget* focus = Form->focusWidget();
  return focus ? focus->objectName().toStdU16String() : std::u16string();
}

void TQtFormGeometry::SetActiveControl(const std::u16string& name) {
  if (name.empty()) return;
  if (auto* control = Form->findChild<QWidget*>(QString::fromStdU16String(name)))
    if (control->focusPolicy() != Qt::NoFocus && control->isEnabled()) control->setFocus();
}

}  // namespace skribo
