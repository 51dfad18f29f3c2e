#include "controls/RynImgBtn.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

namespace skribo {

namespace {

bool ScreenIsLowColor(const QWidget& widget) {
  const QScreen* screen = widget.screen();
  return screen != nullptr && screen->depth() < 16;
}

// Pixels of the key colour become fully transparent, all others fully opaque: the picture is a
// bitmap, so an alpha channel of its own does not count.
QImage MaskedOut(const QImage& image, QRgb key) {
  QImage result = image.convertToFormat(QImage::Format_ARGB32);
  const QRgb keyRgb = key & 0x00FFFFFFu;
  for (int y = 0; y < result.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
    for (int x = 0; x < result.width(); ++x)
      line[x] = (line[x] & 0x00FFFFFFu) == keyRgb ? 0u : (line[x] | 0xFF000000u);
  }
  return result;
}

QImage Opaque(const QImage& image) {
  return image.hasAlphaChannel() ? image.convertToFormat(QImage::Format_RGB32) : image;
}

QSize LogicalSize(const QImage& image) {
  return image.deviceIndependentSize().toSize();
}

}  // namespace

TRynImgBtn::TRynImgBtn(QWidget* parent) : TRynImgBtn(parent, false) {
  FLowColor = ScreenIsLowColor(*this);
}

TRynImgBtn::TRynImgBtn(QWidget* parent, bool lowColor) : QWidget(parent), FLowColor(lowColor) {
  // The button fills its whole area itself until it is made transparent.
  setAttribute(Qt::WA_OpaquePaintEvent, true);
  setFocusPolicy(Qt::NoFocus);
  // Moves are reported with no button held too.
  setMouseTracking(true);
}

TRynImgBtn::~TRynImgBtn() {
  disconnect(FDropDownWatch);
  disconnect(FPopupWatch);
}

void TRynImgBtn::SetAutoSize(bool value) {
  const bool changed = FAutoSize != value;
  FAutoSize = value;
  if (changed) update();
  ApplyAutoSize();
}

void TRynImgBtn::WatchMenu(QPointer<QMenu>& slot, QMetaObject::Connection& watch, QMenu* menu) {
  disconnect(watch);
  slot = menu;
  if (menu == nullptr) return;
  // The pointer clears itself; the repaint follows the removal.
  watch = connect(menu, &QObject::destroyed, this, [this] { update(); });
}

void TRynImgBtn::SetDropDownMenu(QMenu* menu) {
  WatchMenu(FDropDownMenu, FDropDownWatch, menu);
}

void TRynImgBtn::SetPopupMenu(QMenu* menu) {
  WatchMenu(FPopupMenu, FPopupWatch, menu);
}

void TRynImgBtn::SetEnabled(bool value) {
  if (FEnabled == value) return;
  FEnabled = value;
  FButtonState = value ? TButtonState::Up : TButtonState::Disabled;
  repaint();
  update();
}

void TRynImgBtn::SetImgIcon(const QImage& icon) {
  FImgIcon = icon;
  update();
}

void TRynImgBtn::SetImg1(const QImage& image) {
  FImg1 = image;
  CompleteImages();
  update();
}

void TRynImgBtn::SetImg2(const QImage& image) {
  FImg2 = image;
  // Only the hover state shows this image; outside it the next enter draws it.
  if (FHover) update();
}

void TRynImgBtn::SetImg3(const QImage& image) {
  FImg3 = image;
  update();
}

void TRynImgBtn::SetImg4(const QImage& image) {
  FImg4 = image;
  update();
}

void TRynImgBtn::SetLockPushed(bool value) {
  if (FLockPushed == value) return;
  FLockPushed = value;
  update();
  if (value) {
    FButtonState = TButtonState::Down;
  } else {
    FButtonState = TButtonState::Up;
    FHover = false;
  }
  repaint();
}

void TRynImgBtn::SetStretch(bool value) {
  if (FStretch == value) return;
  FStretch = value;
  update();
}

void TRynImgBtn::SetTransparent(bool value) {
  if (FTransparent == value) return;
  FTransparent = value;
  // From now on the parent paints the area under the button first; this is not undone when the
  // button turns opaque again, which then simply covers it.
  if (value) setAttribute(Qt::WA_OpaquePaintEvent, false);
  update();
}

void TRynImgBtn::SetTransparentColor(const QColor& value) {
  if (FTransparentColor == value) return;
  FTransparentColor = value;
  update();
}

void TRynImgBtn::CompleteImages() {
  if (FImg1.width() > 0) {
    if (FImg3.width() < 1) FImg3 = FImg1;
    if (FImg2.width() < 1) FImg2 = FImg1;
  }
  ApplyAutoSize();
}

void TRynImgBtn::ApplyAutoSize() {
  if (!FAutoSize || FImg1.isNull()) return;
  const QSize wanted = LogicalSize(FImg1);
  if (size() != wanted) resize(wanted);
}

void TRynImgBtn::DoMouseEnter() {
  if (FMouseInside) return;
  FMouseInside = true;
  FHover = true;
  repaint();
  if (IsActive()) emit MouseEnter();
}

void TRynImgBtn::DoMouseLeave() {
  if (!FMouseInside) return;
  FMouseInside = false;
  FHover = false;
  repaint();
  if (IsActive()) emit MouseLeave();
}

void TRynImgBtn::enterEvent(QEnterEvent* /*event*/) {
  DoMouseEnter();
}

void TRynImgBtn::leaveEvent(QEvent* /*event*/) {
  DoMouseLeave();
}

void TRynImgBtn::mousePressEvent(QMouseEvent* event) {
  // Every press is taken, so that the release of any button comes back here.
  event->accept();
  if (event->button() != Qt::LeftButton) return;
  FLeftHeld = true;
  if (!IsActive()) return;
  FClickArmed = true;
  emit MouseDown(event->button(), event->modifiers(), event->position().toPoint());
  FButtonState = TButtonState::Down;
  repaint();
}

void TRynImgBtn::mouseDoubleClickEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() != Qt::LeftButton) return;
  FLeftHeld = true;
  if (!IsActive()) return;
  QPointer<TRynImgBtn> self(this);
  emit DblClick();
  if (!self || !IsActive()) return;
  emit MouseDown(event->button(), event->modifiers(), event->position().toPoint());
  FButtonState = TButtonState::Down;
  repaint();
}

void TRynImgBtn::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  const Qt::MouseButton button = event->button();
  const QPoint pos = event->position().toPoint();
  const bool armed = FClickArmed && button == Qt::LeftButton;
  if (button == Qt::LeftButton) {
    FLeftHeld = false;
    FClickArmed = false;
  }
  if (!IsActive()) return;
  // Only the left button holds the pointer; the release of another one counts over the button.
  if (button != Qt::LeftButton && !rect().contains(pos)) return;

  QPointer<TRynImgBtn> self(this);
  if (armed && rect().contains(pos)) {
    emit Click();
    // The click handler may have removed, disabled or locked the button.
    if (!self || !IsActive()) return;
  }
  if (FMouseInside) {
    emit MouseUp(button, event->modifiers(), pos);
    if (!self || !IsActive()) return;
  }
  FButtonState = TButtonState::Up;
  repaint();
  if (button == Qt::LeftButton && FDropDownMenu)
    ShowMenu(FDropDownMenu, mapToGlobal(QPoint(0, height())));
  else if (button == Qt::RightButton && FPopupMenu)
    ShowMenu(FPopupMenu, event->globalPosition().toPoint());
}

void TRynImgBtn::ShowMenu(QMenu* menu, QPoint globalPos) {
  QPointer<TRynImgBtn> self(this);
  QPointer<QMenu> guard(menu);
  QCoreApplication::processEvents();
  if (!self || !guard) return;
  FButtonState = TButtonState::Down;
  repaint();
  guard->exec(globalPos);
  // A menu command may have closed the window that holds the button.
  if (!self) return;
  // A command that disabled or locked the button keeps the state that goes with it.
  FButtonState = !FEnabled     ? TButtonState::Disabled
                 : FLockPushed ? TButtonState::Down
                               : TButtonState::Up;
  FMouseInside = false;
  FHover = false;
  repaint();
}

void TRynImgBtn::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  // While the left button holds the pointer no leave or enter arrives; the moves tell instead.
  if (FLeftHeld) {
    const bool inside = rect().contains(pos);
    if (inside && !FMouseInside) DoMouseEnter();
    if (!inside && FMouseInside) DoMouseLeave();
  }
  if (IsActive()) emit MouseMove(event->buttons(), event->modifiers(), pos);
}

void TRynImgBtn::DrawImage(QPainter& target, const QImage& image) const {
  if (image.isNull()) return;
  const QRect area = FStretch ? rect() : QRect(QPoint(0, 0), LogicalSize(image));
  if (FTransparent && FTransparentColor.isValid())
    target.drawImage(area, MaskedOut(image, FTransparentColor.rgb()));
  else
    target.drawImage(area, Opaque(image));
}

void TRynImgBtn::paintEvent(QPaintEvent* /*event*/) {
  if (FImg2.isNull() || FImg3.isNull()) CompleteImages();

  const qreal ratio = devicePixelRatioF();
  QPixmap buffer(size() * ratio);
  buffer.setDevicePixelRatio(ratio);
  if (FTransparent) {
    // The parent has already painted the area under the button; what stays clear shows it.
    buffer.fill(Qt::transparent);
  } else {
    const QWidget* under = parentWidget();
    buffer.fill(under != nullptr ? under->palette().color(under->backgroundRole())
                                 : palette().color(QPalette::Window));
  }

  QPainter painter(&buffer);
  if (FLowColor && FImg1.width() > 0) {
    painter.fillRect(rect(), palette().color(QPalette::Button));
  } else {
    // Not alternatives: a disabled button that is also down gets both images, the last on top.
    if (FButtonState == TButtonState::Down) DrawImage(painter, FImg3);
    if (FButtonState == TButtonState::Up) DrawImage(painter, FHover ? FImg2 : FImg1);
    if (FButtonState == TButtonState::Disabled || !FEnabled)
      DrawImage(painter, FImg4.isNull() ? FImg1 : FImg4);
    if (!FTransparent && !FImgIcon.isNull()) {
      const QSize icon = LogicalSize(FImgIcon);
      painter.drawImage(QPoint((width() - icon.width()) / 2, (height() - icon.height()) / 2),
                        FImgIcon);
    }
  }
  painter.end();

  // The widget painter is already clipped to the region asked for.
  QPainter(this).drawPixmap(0, 0, buffer);
}

}  // namespace skribo
