// Everything this program looks up in the host add-on's installation, and the check that keeps
// the host add-on from truncating contact names in its logs.
#pragma once

#include <string>

#include "host/TQuestionDialog.h"
#include "prefs/uPreferences.h"

namespace skribo {

// The lookups never throw and never show anything. What is missing gives an empty result. A
// setting that is there but cannot be used (a value of the wrong type, a hive file that cannot be
// read) gives an empty result as well, and when problem is given it receives a sentence that says
// what is wrong, for the caller's message; problem is cleared otherwise.

// The folder the host add-on writes its logs into, as stored; else GetPersonalFolder().
std::u16string GetHostLogDirectory(std::u16string* problem = nullptr);
// The user's documents folder with a trailing "/", or empty.
std::u16string GetPersonalFolder(std::u16string* problem = nullptr);
// The full path of the host add-on's current language file when that file exists, else empty.
std::u16string GetHostLanguageFile(std::u16string* problem = nullptr);
// "Title" and "DecyptFileSuffix" of section "Dialog.BasicSkribo" of a language file.
std::u16string GetHostDialogTitle(const std::u16string& languageFile);
std::u16string GetHostDecryptSuffix(const std::u16string& languageFile);
// The host add-on's executable as the registry gives it; whether it exists is the caller's test.
std::u16string GetHostExecutable(std::u16string* problem = nullptr);
// $TMPDIR, else /tmp, with a trailing "/".
std::u16string GetTempFolder();
// The temporary file the host add-on decrypts logPath into: "<name without extension> {S}.txt".
std::u16string GetDecryptedFileName(const std::u16string& logPath,
                                    std::u16string* problem = nullptr);

// Looks whether any user of the host add-on has long contact names truncated and, as
// options.DontShowWarning says or the user answers, switches that off for every user. The answer,
// when the user asks for it to be remembered, goes to options and to the INI file iniFileName.
// Returns an empty text, or a message for the user when something could not be done (a user's
// switch that could not be written, an answer that could not be stored); the check then has done
// everything else it could.
std::u16string CheckHostNameTruncation(TRecOptions& options, const std::u16string& iniFileName,
                                       TQuestionDialog& dialog);

// The question the check asks.
TCheckQuestion HostNameTruncationQuestion();

}  // namespace skribo
