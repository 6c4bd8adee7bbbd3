#include "link/connection_scan.h"

#include "model/fields.h"

namespace kaldor {

std::string initialTitle() {
    return std::string(kProductTitle) + kVersionText;
}

std::string connectionTitle(std::uint8_t hardware, std::uint8_t software, int port) {
    return initialTitle() + " Rev.H:" + std::to_string(hardware) +
           " Rev.S:" + std::to_string(software) + " TR770 " + " COM" + std::to_string(port);
}

ConnectionScan::ConnectionScan(CommandSet& commands, ConnectionState& state, const EcuImage& image,
                               Prompts& prompts, ScanHooks& hooks)
    : m_commands(commands),
      m_link(commands.link()),
      m_state(state),
      m_image(image),
      m_prompts(prompts),
      m_hooks(hooks) {}

ScanOutcome ConnectionScan::scan() {
    m_state.connected = false;
    m_state.writeRefused = false;
    m_state.linkReady = false;
    m_portProblems.clear();
    m_link.pause(150);
    ScanOutcome outcome = ScanOutcome::NotFound;
    for (int port = kFirstPort; port <= kLastPort; ++port) {
        const PortResult r = tryPort(port, outcome);
        if (r != PortResult::NextPort)
            break;
    }
    // The caption names a controller only while one is connected.
    if (outcome != ScanOutcome::Connected)
        m_hooks.setWindowTitle(initialTitle());
    return outcome;
}

ConnectionScan::PortResult ConnectionScan::tryPort(int port, ScanOutcome& outcome) {
    m_link.close();
    if (!m_link.open(port)) {
        m_link.close();
        if (!m_link.open(port)) {
            if (const PortOpenResult why = m_link.lastOpenResult(); !why.ok())
                m_portProblems.push_back({port, why});
            m_link.close();
            return PortResult::NextPort;
        }
    }
    m_commands.identify();
    if (!m_link.receiveWindow(commandTiming(Command::CmdIdentify).replyLength)) {
        m_link.close();
        return PortResult::NextPort;
    }
    const auto& reply = m_link.replyBuffer();
    // An answer that is not an identification leaves the port open until the next close.
    if (validateReply(ReplyKind::Ident, reply.data(), reply.size(), m_link.windowSucceeded()) !=
        ReplyStatus::Ok)
        return PortResult::NextPort;

    const std::uint8_t software = reply[2];
    const RevisionHandling handling = revisionHandling(software);
    if (handling == RevisionHandling::Refuse) {
        m_prompts.message(kMsgNeedUpdate);
        m_link.close();
        outcome = ScanOutcome::NeedUpdate;
        return PortResult::End;
    }
    m_state.hardwareRevision = reply[1];
    m_state.softwareRevision = software;

    if (handling == RevisionHandling::Confirm) {
        if (!m_hooks.consentToConfirm(software)) {
            m_link.close();
            outcome = ScanOutcome::Declined;
            return PortResult::End;
        }
        m_commands.confirm();
        if (!m_link.receiveWindow(commandTiming(Command::CmdConfirm).replyLength)) {
            m_prompts.message(kMsgConfirmError);
            m_link.close();
            outcome = ScanOutcome::ConfirmFailed;
            return PortResult::End;
        }
        const auto& confirm = m_link.replyBuffer();
        if (validateReply(ReplyKind::Confirm, confirm.data(), confirm.size(),
                          m_link.windowSucceeded()) != ReplyStatus::Ok) {
            m_prompts.message(kMsgInterfaceError);
            return PortResult::NextPort;
        }
        m_state.confirmStatus = static_cast<std::int8_t>(confirm[1]);
        if (m_state.confirmStatus != 0) {
            m_prompts.message(kMsgSoftwareError);
            m_link.close();
            outcome = ScanOutcome::SoftwareError;
            return PortResult::End;
        }
    }

    m_state.portNumber = port;
    m_title = connectionTitle(m_state.hardwareRevision, software, port);
    m_confirmed = handling == RevisionHandling::Confirm;
    m_hooks.setWindowTitle(m_title);
    m_state.connected = true;
    m_hooks.appendConnectCaption(" <<COM" + std::to_string(port) + ">>");
    if (!m_hooks.readImage()) {
        // A page the controller would not give: the image does not mirror it, so nothing may be
        // shown, edited or written from it (a PIN would go unasked, a bit-field edit would write
        // zeros over the controller's other bits).
        m_link.close();
        // Said here, also when the port refused a request.
        m_state.writeRefused = false;
        m_prompts.message(kMsgImageReadFailed);
        outcome = ScanOutcome::ImageReadFailed;
        return PortResult::End;
    }
    outcome = ScanOutcome::Connected;
    return PortResult::Accepted;
}

void ConnectionScan::goLive() {
    if (!m_state.connected)
        return;
    if (m_confirmed)
        m_hooks.setWindowTitle(m_title + " SN: " +
                               std::to_string(readField(m_image, FieldId::ControllerSerialNumber)));
    m_state.linkReady = true;
    m_link.pause(50);
}

}  // namespace kaldor
