#pragma once
// The connection scan over COM1..COM16: identify, check the software revision, confirm where the
// revision asks for it and read the image; then, once the caller has shown the image, let the
// polling run.
#include <cstdint>
#include <string>

#include <vector>

#include "link/commands.h"
#include "link/port_problems.h"
#include "model/connection_state.h"
#include "model/ecu_image.h"
#include "model/prompts.h"

namespace kaldor {

inline constexpr const char* kProductTitle = "KALDOR DIESEL";
inline constexpr const char* kVersionText = " v4.706";
inline constexpr const char* kMsgNeedUpdate = "Need software update. Download From www !!!";
inline constexpr const char* kMsgConfirmError = "!! ECU ID Confirm Error !!";
inline constexpr const char* kMsgInterfaceError = "!! Unknown error (interface ?) !!";
inline constexpr const char* kMsgSoftwareError = "!! Software ERROR !!";
inline constexpr const char* kMsgImageReadFailed =
    "The ECU memory could not be read. Check the cable and press F10 again.";

constexpr int kFirstPort = 1;
constexpr int kLastPort = 16;

// How the controller's software revision is handled.
enum class RevisionHandling { Accept, Confirm, Refuse };
[[nodiscard]] constexpr RevisionHandling revisionHandling(std::uint8_t softwareRevision) {
    return softwareRevision <= 10   ? RevisionHandling::Accept
           : softwareRevision == 11 ? RevisionHandling::Confirm
                                    : RevisionHandling::Refuse;
}

// "KALDOR DIESEL v4.706": the caption while no controller is connected.
[[nodiscard]] std::string initialTitle();
// "KALDOR DIESEL v4.706 Rev.H:2 Rev.S:11 TR770  COM3"
[[nodiscard]] std::string connectionTitle(std::uint8_t hardware, std::uint8_t software, int port);

// What the scan tells the window and asks of it; the window fills these in.
class ScanHooks {
public:
    virtual ~ScanHooks() = default;
    virtual void setWindowTitle(const std::string& title) = 0;
    // Appends " <<COMn>>" to the caption of the autoconnect menu item.
    virtual void appendConnectCaption(const std::string& piece) = 0;
    // False when the image could not be read completely.
    [[nodiscard]] virtual bool readImage() = 0;
    // Software revision 11 is confirmed with the controller only with the user's consent; false
    // ends the scan with the port closed. The window confirms without asking; the command-line
    // tool asks, or takes --yes.
    [[nodiscard]] virtual bool consentToConfirm(std::uint8_t softwareRevision) {
        (void)softwareRevision;
        return true;
    }
};

enum class ScanOutcome {
    Connected,  // the image is read; the polling waits for goLive()
    NotFound,
    NeedUpdate,
    ConfirmFailed,
    SoftwareError,
    ImageReadFailed,  // the port is closed; the caller keeps the editing pages locked
    Declined,         // the user did not consent to confirming revision 11
};

class ConnectionScan {
public:
    ConnectionScan(CommandSet& commands, ConnectionState& state, const EcuImage& image,
                   Prompts& prompts, ScanHooks& hooks);

    // Connected: the image mirrors the controller, and the caller shows it in every control
    // (the refresh asks for the PIN it holds) before it calls goLive().
    [[nodiscard]] ScanOutcome scan();
    // After a scan that connected: the serial number into the caption (revision 11), then the
    // polling may run.
    void goLive();

    // The ports of the last scan that could not be opened, and why: a port that cannot be
    // opened is no silent controller and is said apart from one.
    [[nodiscard]] const std::vector<PortProblem>& portProblems() const { return m_portProblems; }

private:
    enum class PortResult { NextPort, Accepted, End };
    PortResult tryPort(int port, ScanOutcome& outcome);

    CommandSet& m_commands;
    SerialLink& m_link;
    ConnectionState& m_state;
    const EcuImage& m_image;
    Prompts& m_prompts;
    ScanHooks& m_hooks;
    std::string m_title;       // the caption of the connection found
    bool m_confirmed = false;  // its revision was confirmed with the controller
    std::vector<PortProblem> m_portProblems;
};

}  // namespace kaldor
