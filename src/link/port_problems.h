#pragma once
// Why a serial port could not be opened, and how the window and the command-line tool say it.
// A port that cannot be opened is not a silent controller: a device the user has no permission
// for, one another program holds and one that is not there each get their own words, so a new
// installer learns at the first F10 that the account is missing from the serial group.
#include <cstdint>
#include <string>
#include <vector>

namespace kaldor {

enum class PortOpenError : std::uint8_t {
    None,
    NoSuchDevice,      // nothing by that name
    PermissionDenied,  // this user may not open the device
    Busy,              // another program holds it
    Other,             // something else; `detail` holds the system's words
};

struct PortOpenResult {
    PortOpenError error = PortOpenError::None;
    std::string device;  // the device tried
    std::string group;   // PermissionDenied: the group that may open the device, when known
    std::string detail;  // Other: the system's words
    // The device was named in the settings file, not one of the default names: a named device
    // that is missing is worth saying; a missing default (most of COM1-16) is not.
    bool named = false;

    [[nodiscard]] bool ok() const { return error == PortOpenError::None; }
    explicit operator bool() const { return ok(); }
};

// A port the scan tried and could not open.
struct PortProblem {
    int port = 0;
    PortOpenResult result;
};

// The group serial devices belong to on Debian, named when the device's own group is unknown.
inline constexpr const char* kSerialGroup = "dialout";
// Where the README explains serial port access.
inline constexpr const char* kSerialPortsSection = "README, \"Serial ports\"";

// The words the lines are made of; English unless the window gives its language's. "%1" stands
// for the group, "%2" for where the README explains it.
struct PortProblemWords {
    std::string noSuchDevice = "no such device";
    std::string permissionDenied = "permission denied";
    std::string busy = "busy (another program holds it)";
    std::string notOpened = "could not be opened";
    std::string joinGroup = "; join the group \"%1\" and log in again (%2)";
    std::string checkCable = "; check the cable and the device named in [Ports]";
    std::string closeOther = "; close the other program and try again";
    std::string group = "group %1";
    std::string see = "see %1";
};

// Every failure but a default device that is not there.
[[nodiscard]] bool worthTelling(const PortOpenResult& result);

// "permission denied", "busy (another program holds it)", "no such device", or the system's
// words.
[[nodiscard]] std::string reasonText(const PortOpenResult& result,
                                     const PortProblemWords& words = {});

// One line per reason (ports with the same reason together, in ranges), the ports not worth
// telling left out:
//   COM13-COM16 (/dev/ttyS0 ... /dev/ttyS3): permission denied; join the group "dialout" and
//   log in again (README, "Serial ports")
//   COM1 (/dev/ttyUSB0): busy (another program holds it)
[[nodiscard]] std::vector<std::string> portProblemLines(const std::vector<PortProblem>& problems,
                                                      const PortProblemWords& words = {});

// The same in a few words per reason, for the side panel under the status lamp: "COM13-COM16:
// permission denied (group dialout)", then where the README explains it when permission is
// among the reasons.
[[nodiscard]] std::vector<std::string> portProblemBriefs(const std::vector<PortProblem>& problems,
                                                       const PortProblemWords& words = {});

}  // namespace kaldor
