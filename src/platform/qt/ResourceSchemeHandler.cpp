#include "platform/qt/ResourceSchemeHandler.h"

#include <QBuffer>
#include <QUrl>
#include <QWebEngineUrlRequestJob>

#include "resources/EmbeddedResources.h"

namespace skribo {

int EmoticonNumberOfUrl(const QString& url) {
  // The address names the program file, the resource type and the resource name; the program
  // file does not matter here (a page made for "Skribo.exe" shows the same images).
  const qsizetype slash = url.lastIndexOf(u'/');
  if (slash < 4 || url.mid(slash - 4, 5).compare(u"/GIF/", Qt::CaseInsensitive) != 0) return 0;
  const QStringView digits = QStringView(url).mid(slash + 1);
  if (digits.isEmpty() || digits.size() > 3) return 0;
  int n = 0;
  for (QChar c : digits) {
    if (c < u'0' || c > u'9') return 0;
    n = n * 10 + (c.unicode() - u'0');
  }
  return EmoticonGif(n).empty() ? 0 : n;
}

void TResourceSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
  const int n = EmoticonNumberOfUrl(job->requestUrl().toString(QUrl::FullyEncoded));
  if (n == 0) {
    job->fail(QWebEngineUrlRequestJob::UrlNotFound);
    return;
  }
  const std::string_view gif = EmoticonGif(n);
  auto* device = new QBuffer(job);
  device->setData(QByteArray::fromRawData(gif.data(), static_cast<qsizetype>(gif.size())));
  device->open(QIODevice::ReadOnly);
  job->reply(QByteArrayLiteral("image/gif"), device);
}

}  // namespace skribo
