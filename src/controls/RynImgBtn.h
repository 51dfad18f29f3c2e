// A button drawn entirely from pictures: normal, hover, pressed and disabled images, optional
// transparent colour, stretching, a centred icon, a drop-down menu and a context menu.
#pragma once

#include <QColor>
#include <QImage>
#include <QMenu>
#include <QMetaObject>
#include <QPointer>
#include <QWidget>

namespace skribo {

class TRynImgBtn : public QWidget {
  Q_OBJECT

 public:
  enum class TButtonState { Up, Disabled, Down };

  // LowColor is taken from the screen's depth (below 16 bits per pixel) at construction.
  explicit TRynImgBtn(QWidget* parent = nullptr);
  // LowColor as given, for tests and for callers that know the depth better than the screen does.
  TRynImgBtn(QWidget* parent, bool lowColor);
  ~TRynImgBtn() override;

  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);

  // Menus are referenced, not owned; a menu that is destroyed clears its reference.
  QMenu* DropDownMenu() const { return FDropDownMenu; }
  void SetDropDownMenu(QMenu* menu);
  QMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(QMenu* menu);

  // The button's own enabled flag; QWidget's enabled state is left alone.
  bool IsEnabled() const { return FEnabled; }
  void SetEnabled(bool value);

  // The icon is a picture with its own alpha channel, drawn centred in its own size.
  const QImage& ImgIcon() const { return FImgIcon; }
  void SetImgIcon(const QImage& icon);
  const QImage& Img1() const { return FImg1; }
  void SetImg1(const QImage& image);
  const QImage& Img2() const { return FImg2; }
  void SetImg2(const QImage& image);
  const QImage& Img3() const { return FImg3; }
  void SetImg3(const QImage& image);
  const QImage& Img4() const { return FImg4; }
  void SetImg4(const QImage& image);

  bool LockPushed() const { return FLockPushed; }
  void SetLockPushed(bool value);
  bool Stretch() const { return FStretch; }
  void SetStretch(bool value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);
  // An invalid colour means no transparent colour: images are then drawn opaque.
  QColor TransparentColor() const { return FTransparentColor; }
  void SetTransparentColor(const QColor& value);

  int Tag() const { return FTag; }
  void SetTag(int value) { FTag = value; }

  TButtonState ButtonState() const { return FButtonState; }
  bool IsHover() const { return FHover; }
  bool IsMouseInside() const { return FMouseInside; }
  bool IsLowColor() const { return FLowColor; }

 signals:
  void Click();
  void DblClick();
  void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
  void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
  void MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint pos);
  void MouseEnter();
  void MouseLeave();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  // Mouse input changes nothing and raises nothing while this is false.
  bool IsActive() const { return FEnabled && !FLockPushed; }
  void CompleteImages();
  void ApplyAutoSize();
  void DoMouseEnter();
  void DoMouseLeave();
  void ShowMenu(QMenu* menu, QPoint globalPos);
  void WatchMenu(QPointer<QMenu>& slot, QMetaObject::Connection& watch, QMenu* menu);
  void DrawImage(QPainter& target, const QImage& image) const;

  bool FAutoSize = true;
  QPointer<QMenu> FDropDownMenu;
  QPointer<QMenu> FPopupMenu;
  QMetaObject::Connection FDropDownWatch;
  QMetaObject::Connection FPopupWatch;
  bool FEnabled = true;
  QImage FImgIcon;
  QImage FImg1;
  QImage FImg2;
  QImage FImg3;
  QImage FImg4;
  bool FLockPushed = false;
  bool FStretch = false;
  bool FTransparent = false;
  QColor FTransparentColor = Qt::black;
  int FTag = 0;

  TButtonState FButtonState = TButtonState::Up;
  bool FMouseInside = false;
  bool FHover = false;
  bool FLowColor = false;
  // Set by a left press that may become a click; a double click does not arm it.
  bool FClickArmed = false;
  // A left press holds the pointer: crossings are then seen through the moves.
  bool FLeftHeld = false;
};

}  // namespace skribo
