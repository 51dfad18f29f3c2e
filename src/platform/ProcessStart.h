// Starting programs and opening documents the way the Windows shell does: command-line splitting
// and quoting by the C runtime's rules, and ExecuteFile with shell-style result codes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace skribo {

// Result codes of ExecuteFile. Anything above 32 means success; 32 or less is one of these.
inline constexpr int kExecOutOfResources = 0;
inline constexpr int kExecFileNotFound = 2;
inline constexpr int kExecPathNotFound = 3;
inline constexpr int kExecAccessDenied = 5;
inline constexpr int kExecOutOfMemory = 8;
inline constexpr int kExecBadFormat = 11;
inline constexpr int kExecSharingViolation = 26;
inline constexpr int kExecNoAssociation = 31;
// What ExecuteFile returns on success (a fixed value, not a process id).
inline constexpr int kExecSuccess = 42;

// Splits a parameter string into arguments the way a Windows program's C runtime splits its
// command line (the rules for every argument after the program name):
// - Blanks and tabs outside double quotes separate arguments; runs of them count as one and
//   leading or trailing ones give no argument.
// - A double quote outside quotes starts a quoted part, inside quotes it ends it; quoted parts
//   and unquoted text join into one argument ("a"b gives ab). A quoted part, even an empty
//   one, makes an argument: "" alone gives the empty argument.
// - Inside quotes, two double quotes in a row give one literal double quote and the quoted part
//   goes on ("a""b" gives a"b).
// - 2n backslashes followed by a double quote give n backslashes, and the quote then acts as
//   above; 2n+1 backslashes followed by a double quote give n backslashes and a literal quote.
// - Backslashes not followed by a double quote are literal.
// - The string ends at its first U+0000, as a C string would.
std::vector<std::u16string> SplitCommandLine(std::u16string_view parameters);

// The argument in double quotes so that SplitCommandLine gives it back unchanged, whatever it
// holds: a double quote inside becomes two, and backslashes that stand before a double quote or
// before the closing quote are doubled. Doubling only the quotes is not enough: a path ending in
// "\" would escape the closing quote and swallow what follows it. The empty string gives "".
// U+0000 cannot be passed on a command line at all.
std::u16string QuoteCommandLineArgument(std::u16string_view argument);

// Performs the shell operation on fileName and returns a result code (above 32: success).
// Only "open" is known (any case; an empty operation means "open"); any other gives
// kExecNoAssociation.
// - fileName is a path, or a URL ("scheme:..." that names no existing file). A relative path is
//   taken in directory when that is given, else in the current folder; a bare name found in
//   neither is searched on PATH as a program.
// - An executable regular file is started detached: in a session of its own, never waited
//   for, never left as a child of the caller, with argv[1..] = SplitCommandLine(parameters),
//   in directory when that is not empty, with the caller's environment and no descriptors
//   beyond standard input, output and error.
// - Anything else (a document, a folder, a URL) is handed to `xdg-open` from PATH, started the
//   same way with the file's full path (or the URL) as its only argument; parameters are not
//   used. Without xdg-open the result is kExecNoAssociation.
// - A missing file gives kExecFileNotFound, a missing folder on the way or a bad directory
//   kExecPathNotFound, a program the system cannot run kExecBadFormat, and a start that fails
//   for another reason the code of that reason.
// showCmd (the requested window state) is accepted for the callers' sake; a started program
// chooses its own window state here.
int ExecuteFile(const std::u16string& operation, const std::u16string& fileName,
                const std::u16string& parameters, const std::u16string& directory, int showCmd);

}  // namespace skribo
