#pragma once
// What the installer is told when the port refused a frame partway through a write: how far the
// write got, that the controller may now hold a mix of old and new values, and what to do.
#include <string>
#include <string_view>

#include "model/field_sender.h"

namespace kaldor {

// What puts a broken write right: the same write again, after a new connection.
inline constexpr std::string_view kAdviceLoadAgain = "Reconnect with F10, then load again.";
inline constexpr std::string_view kAdviceResetAgain = "Reconnect with F10, then reset again.";
inline constexpr std::string_view kAdviceRestoreAgain = "Reconnect with F10, then restore again.";
// kaldor-cli connects anew with every command.
inline constexpr std::string_view kAdviceRunWriteAgain =
    "Check the cable, then run the write again.";
// A reconnection reads the controller's memory over the PC's, so the PC's values are kept first.
inline constexpr std::string_view kAdviceSaveThenLoad =
    "Keep the PC's values with \"save to disk\", reconnect with F10, then load that file.";
// The status line after a request the port refused (a live record asked for while polling).
inline constexpr std::string_view kRequestRefusedStatus =
    "The port refused a request to the ECU: it is no longer connected. Reconnect with F10.";
// The status line after a single edit the port refused.
inline constexpr std::string_view kEditRefusedStatus =
    "The port refused the last change: the ECU did not get it and is no longer connected. "
    "Reconnect with F10.";

// "The write to the ECU broke off at frame 201 of 386: ..." followed by `advice`.
[[nodiscard]] std::string brokenWriteMessage(const WriteRun& run, std::string_view advice);

}  // namespace kaldor
