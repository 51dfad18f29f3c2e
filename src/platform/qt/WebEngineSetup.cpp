#include "platform/qt/WebEngineSetup.h"

#include <unistd.h>

#include <QByteArray>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlScheme>

#include "platform/qt/PageSchemeHandler.h"
#include "platform/qt/ResourceSchemeHandler.h"

namespace skribo {

namespace {

// Only the program's own schemes load anything: no network, no local files.
class TLocalOnlyInterceptor : public QWebEngineUrlRequestInterceptor {
 public:
  using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
  void interceptRequest(QWebEngineUrlRequestInfo& info) override {
    const QString scheme = info.requestUrl().scheme();
    info.block(scheme != QLatin1String(PageScheme) && scheme != QLatin1String(ResourceScheme) &&
               scheme != QLatin1String("about") && scheme != QLatin1String("data"));
  }
};

struct TSharedProfile {
  QWebEngineProfile* Profile = nullptr;
  TPageSchemeHandler* Pages = nullptr;
  int Users = 0;
};

TSharedProfile& Shared() {
  static TSharedProfile shared;
  return shared;
}

void RegisterScheme(const char* name) {
  QWebEngineUrlScheme scheme(name);
  // Path syntax: "res://<anything>/GIF/<n>" must resolve whatever stands where a host would.
  scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
  scheme.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::LocalAccessAllowed);
  QWebEngineUrlScheme::registerScheme(scheme);
}

}  // namespace

void PrepareWebEngine() {
  static bool prepared = false;
  if (prepared) return;
  prepared = true;
  RegisterScheme(PageScheme);
  RegisterScheme(ResourceScheme);
  if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

QWebEngineProfile* AcquireLogViewProfile() {
  TSharedProfile& shared = Shared();
  if (shared.Users++ > 0) return shared.Profile;
  // No storage name: off the record, nothing is written to the user's folders.
  shared.Profile = new QWebEngineProfile();
  shared.Profile->setHttpCacheType(QWebEngineProfile::NoCache);
  shared.Profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
  shared.Profile->setSpellCheckEnabled(false);
  shared.Pages = new TPageSchemeHandler(shared.Profile);
  shared.Profile->installUrlSchemeHandler(PageScheme, shared.Pages);
  shared.Profile->installUrlSchemeHandler(ResourceScheme,
                                          new TResourceSchemeHandler(shared.Profile));
  shared.Profile->setUrlRequestInterceptor(new TLocalOnlyInterceptor(shared.Profile));
  return shared.Profile;
}

void ReleaseLogViewProfile() {
  TSharedProfile& shared = Shared();
  if (shared.Users == 0 || --shared.Users > 0) return;
  delete shared.Profile;
  shared = TSharedProfile{};
}

TPageSchemeHandler& LogViewPages() {
  return *Shared().Pages;
}

}  // namespace skribo
