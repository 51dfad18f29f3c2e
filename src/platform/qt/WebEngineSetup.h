// Process-wide set-up of Qt WebEngine for the log views: URL schemes, sandbox, the shared profile.
#pragma once

class QWebEngineProfile;

namespace skribo {

class TPageSchemeHandler;

// The scheme that serves page text from memory, and the one of the emoticon images.
inline constexpr char PageScheme[] = "skribo-page";
inline constexpr char ResourceScheme[] = "res";

// Call in main() before the QApplication exists: WebEngine reads both the scheme registrations and
// its sandbox switch at start-up only. As root the renderer sandbox cannot start, so it is turned
// off (the pages shown are the program's own, made from entity-encoded log text, with scripts off).
void PrepareWebEngine();

// The off-the-record profile that every log view shares, with the two scheme handlers and the
// filter that keeps remote loads out. Each view holds a reference for its lifetime; the profile
// goes when the last view does, before the application object is torn down.
QWebEngineProfile* AcquireLogViewProfile();
void ReleaseLogViewProfile();
TPageSchemeHandler& LogViewPages();

}  // namespace skribo
