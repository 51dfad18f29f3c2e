// Hands page text from memory to WebEngine under addresses of its own scheme, so that no page is
// ever written to a file.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

namespace skribo {

class TPageSchemeHandler : public QWebEngineUrlSchemeHandler {
 public:
  using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

  // A fresh address that serves Utf8 as an HTML page until it is withdrawn.
  QUrl Publish(QByteArray utf8);
  void Withdraw(const QUrl& url);

  void requestStarted(QWebEngineUrlRequestJob* job) override;

 private:
  QHash<QString, QByteArray> Pages;
  quint64 Serial = 0;
};

}  // namespace skribo
