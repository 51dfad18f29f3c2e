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

}  // namespace skribo
