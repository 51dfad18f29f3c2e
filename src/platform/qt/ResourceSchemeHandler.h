// Serves the emoticon images "res://<anything>/GIF/<n>" from the bytes compiled into the program.
#pragma once

#include <QWebEngineUrlSchemeHandler>

namespace skribo {

class TResourceSchemeHandler : public QWebEngineUrlSchemeHandler {
 public:
  using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
  void requestStarted(QWebEngineUrlRequestJob* job) override;
};

// The image number of a "res:" address, or 0 when the address names no emoticon image.
int EmoticonNumberOfUrl(const QString& url);

}  // namespace skribo
