#pragma once
// Texts of the status indicator and the work-time labels. Built-in English; a language file
// replaces them while the program runs.
#include <string>

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

}  // namespace kaldor
