// Answers the modal windows that the code under test opens: each one is recorded and then
// handled by the test's function, or closed, so that no test hangs on a box.
#pragma once

#include <functional>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QStringList>
#include <QTimer>

namespace skribo::test {

class TModalAnswerer : public QObject {
 public:
  using THandler = std::function<void(QWidget*)>;

  explicit TModalAnswerer(THandler handler = {}) : Handler(std::move(handler)) {
    connect(&Timer, &QTimer::timeout, this, [this] { Poll(); });
    Timer.start(20);
  }

  // "objectName: the texts of its labels" for every modal window met, in order.
  QStringList Seen;

  static QString Texts(QWidget* window) {
    QStringList texts;
    for (QLabel* label : window->findChildren<QLabel*>())
      if (!label->text().isEmpty() && label->isVisibleTo(window)) texts << label->text();
    return texts.join(u'|');
  }

 private:
  void Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == Last) return;
    Last = modal;
    Seen << modal->objectName() + QStringLiteral(": ") + Texts(modal);
    if (Handler) {
      Handler(modal);
    } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
      dialog->reject();
    } else {
      modal->close();
    }
  }

  THandler Handler;
  QTimer Timer;
  QPointer<QWidget> Last;
};

}  // namespace skribo::test
