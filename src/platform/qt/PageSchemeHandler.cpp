#include "platform/qt/PageSchemeHandler.h"

#include <QBuffer>
#include <QWebEngineUrlRequestJob>

#include "platform/qt/WebEngineSetup.h"

namespace skribo {

QUrl TPageSchemeHandler::Publish(QByteArray utf8) {
  const QUrl url(QStringLiteral("%1:log-%2").arg(QLatin1String(PageScheme)).arg(++Serial));
  Pages.insert(url.toString(), std::move(utf8));
  return url;
}

void TPageSchemeHandler::Withdraw(const QUrl& url) {
  Pages.remove(url.toString());
}

void TPageSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
  const auto page = Pages.constFind(job->requestUrl().toString());
  if (page == Pages.constEnd()) {
    job->fail(QWebEngineUrlRequestJob::UrlNotFound);
    return;
  }
  // The buffer shares the bytes (no copy); WebEngine reads it on its own thread, which is safe
  // because nobody writes to them any more.
  auto* device = new QBuffer(job);
  device->setData(*page);
  device->open(QIODevice::ReadOnly);
  job->reply(QByteArrayLiteral("text/html; charset=utf-8"), device);
}

}  // namespace skribo
