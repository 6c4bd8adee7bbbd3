#pragma once
// The window's own texts in the chosen language (the WindowText range of the language files,
// English where a file lacks an id), and the names the log viewer gives the live signals: the
// caption the readings page or the side panel shows for the signal, in the chosen language,
// or the signal's own window text where no page shows it with a caption.
#include <QString>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/text_ids.h"
#include "link/port_problems.h"
#include "live/live_signals.h"
#include "service/setup_description.h"

namespace kaldor {

[[nodiscard]] QString uiText(const SetupTexts& texts, WindowText text);
// "%1 location" for one, "%1 locations" for more, with the count put in.
[[nodiscard]] std::string countText(const SetupTexts& texts, WindowText one, WindowText many,
                                    std::size_t n);
// The first `shown` names joined by ", ", then "and 3 more" as the language says it.
[[nodiscard]] std::string namesText(const SetupTexts& texts, const std::vector<std::string>& names,
                                    std::size_t shown);

// The objectName of the caption a page shows for the signal; empty where there is none.
[[nodiscard]] std::string_view signalCaptionControl(LiveSignal id);
// The window text naming a signal no page captions; nothing for one a page captions.
[[nodiscard]] std::optional<WindowText> signalWindowText(LiveSignal id);
[[nodiscard]] QString channelName(const SetupTexts& texts, LiveSignal id);

// What a history entry says happened ("before load to ECU: car.kcfg"), in the language: the
// commands by their menu items' captions.
[[nodiscard]] std::string historyWhatText(const SetupTexts& texts, const std::string& what);

[[nodiscard]] PortProblemWords portProblemWords(const SetupTexts& texts);

}  // namespace kaldor
