#pragma once
// Texts of the status indicator and the work-time labels. Built-in English; a language file
// replaces them while the program runs.
#include <array>
#include <cstddef>
#include <string>
#include <utility>

namespace kaldor {

struct StatusTexts {
    std::string workTime = "work time";
    std::string serviceTimeLeft = "service time left";
    std::string serviceOff = "service off";
    std::string noConnection = "no connection";
    std::string diesel = "diesel";
    std::string autoMode = "auto";
    std::string propane = "propane";
    std::string error = "error";
    std::string errorPressure = "error pres.";
    std::string errorRpmIgnition = "error RPM/IGN.";
    std::string errorCom = "error COMx";
    std::string noErrors = "NO Errors";
};

// The numbering language files use for the status texts (status text 0 is "work time").
inline constexpr std::array<std::string StatusTexts::*, 12> kStatusTextOrder = {
    &StatusTexts::workTime,         &StatusTexts::serviceTimeLeft, &StatusTexts::serviceOff,
    &StatusTexts::noConnection,     &StatusTexts::diesel,          &StatusTexts::autoMode,
    &StatusTexts::propane,          &StatusTexts::error,           &StatusTexts::errorPressure,
    &StatusTexts::errorRpmIgnition, &StatusTexts::errorCom,        &StatusTexts::noErrors,
};

// False, changing nothing, for a number past the last text.
inline bool setStatusText(StatusTexts& texts, std::size_t n, std::string text) {
    if (n >= kStatusTextOrder.size())
        return false;
    texts.*kStatusTextOrder[n] = std::move(text);
    return true;
}

}  // namespace kaldor
