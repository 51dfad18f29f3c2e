// The texts the program shows to its user.
#pragma once

#include <string_view>

namespace skribo {

constexpr std::u16string_view ApplicationTitle = u"Velmora Skribo";

constexpr std::u16string_view SInvalidLogFile =
    u"The specified file is not a valid Velmora log file or has a wrong format.";

constexpr std::u16string_view SProcessingLog = u"Processing log \"%s\"...";
constexpr std::u16string_view SProcessingLogPreprocessing =
    u"Processing log \"%s\" (preprocessing)...";
constexpr std::u16string_view SProcessingLogDetectingFormat =
    u"Processing log \"%s\" (detecting format)...";
constexpr std::u16string_view SProcessingLogApplyingFormat =
    u"Processing log \"%s\" (applying format)...";
constexpr std::u16string_view SProcessingLogEmoticons =
    u"Processing log \"%s\" (applying options - emoticons)...";
constexpr std::u16string_view SProcessingLogLinks =
    u"Processing log \"%s\" (applying options - detecting links)...";
constexpr std::u16string_view SProcessingLogRendering = u"Processing log \"%s\" (rendering)...";
constexpr std::u16string_view SLogLoaded = u"Log loaded in %dms";

constexpr std::u16string_view SFileDoesNotExist = u"The specified file does not exist.";
constexpr std::u16string_view SLoadingLog = u"Loading log \"%s\"...";
constexpr std::u16string_view SLoadingEncryptedLog = u"Loading encrypted log \"%s\"...";
constexpr std::u16string_view SEncryptedLogsNotYet =
    u"Encrypted logs (.ple) cannot be opened by this version of Velmora Skribo yet.\r\n"
    u"Open the log in Velmora and save it as a plain text log to view it here.";

// The header buttons' hints, shown in the status bar.
constexpr std::u16string_view SHintOpen = u"Open log";
constexpr std::u16string_view SHintSearch = u"Search";
constexpr std::u16string_view SHintOptions = u"Options";
constexpr std::u16string_view SHintAbout = u"About";

constexpr std::u16string_view SSearchCaption = u"Find";
// %1 is the text searched for.
constexpr std::u16string_view SSearchNotFound = u"Cannot find \"%1\".";

constexpr std::u16string_view SOpenDialogFilter =
    u"All log files (*.txt,*.ple)|*.txt;*.ple|Text log files (*.txt)|*.txt|"
    u"Encrypted log files (*.ple)|*.ple|All files (*.*)|*.*";

}  // namespace skribo
