// Helpers of the controls test: solid test pictures, synthetic mouse events, a paint counter
// and an answerer for the message dialogs.
#pragma once

#include <functional>

#include <QApplication>
#include <QColor>
#include <QEnterEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "controls/MyDialogs.h"

namespace skribo::test {

inline const QColor Grey(190, 190, 190);
inline const QColor Red(255, 0, 0);
inline const QColor Green(0, 255, 0);
inline const QColor Blue(0, 0, 255);
inline const QColor Yellow(255, 255, 0);
inline const QColor Magenta(255, 0, 255);
inline const QColor Teal(0, 128, 128);

inline QImage Solid(int width, int height, const QColor& colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

// Left half black, right half red.
inline QImage HalfBlack(int width, int height) {
  QImage image = Solid(width, height, Red);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width / 2; ++x)
      image.setPixelColor(x, y, Qt::black);
  return image;
}

inline void SendMouse(QWidget* widget, QEvent::Type type, Qt::MouseButton button,
                      Qt::MouseButtons held, QPoint pos) {
  QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, held, Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &event);
}
inline void Press(QWidget* w, Qt::MouseButton b, QPoint pos = {5, 5}) {
  SendMouse(w, QEvent::MouseButtonPress, b, b, pos);
}
inline void Release(QWidget* w, Qt::MouseButton b, QPoint pos = {5, 5}) {
  SendMouse(w, QEvent::MouseButtonRelease, b, Qt::NoButton, pos);
}
inline void DoubleClick(QWidget* w, QPoint pos = {5, 5}) {
  SendMouse(w, QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, pos);
}
inline void Move(QWidget* w, QPoint pos, Qt::MouseButtons held = Qt::NoButton) {
  SendMouse(w, QEvent::MouseMove, Qt::NoButton, held, pos);
}
inline void Enter(QWidget* w) {
  const QPointF at(2, 2);
  QEnterEvent event(at, w->mapTo(w->window(), at), w->mapToGlobal(at));
  QCoreApplication::sendEvent(w, &event);
}
inline void Leave(QWidget* w) {
  QEvent event(QEvent::Leave);
  QCoreApplication::sendEvent(w, &event);
}

class TPaintCounter : public QObject {
 public:
  explicit TPaintCounter(QWidget* watched) { watched->installEventFilter(this); }
  int Count = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++Count;
    return QObject::eventFilter(watched, event);
  }
};

// Runs Action on the next message dialog once it is up; a dialog the action leaves open is
// cancelled so that no test hangs, and counts as a failure.
class TDialogAnswerer : public QObject {
 public:
  explicit TDialogAnswerer(std::function<void(TMessageForm&)> action) : Action(std::move(action)) {
    connect(&Poll, &QTimer::timeout, this, [this] { Tick(); });
    Poll.start(10);
  }
  int Seen = 0;
  bool LeftOpen = false;

 private:
  void Tick() {
    auto* dialog = qobject_cast<TMessageForm*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible()) return;
    if (dialog == Answered) {
      LeftOpen = true;
      dialog->done(skribo::mrNone);
      return;
    }
    ++Seen;
    Answered = dialog;
    Action(*dialog);
  }
  std::function<void(TMessageForm&)> Action;
  QPointer<TMessageForm> Answered;
  QTimer Poll;
};

}  // namespace skribo::test
