#pragma once
#include <cstdint>

namespace kaldor {

// What the connection scan learned and the flags that gate every exchange.
struct ConnectionState {
    bool connected = false;  // a controller was identified and accepted; cleared by every Close
    bool linkReady = false;  // the polling loop may run
    std::uint8_t hardwareRevision = 0;
    std::uint8_t softwareRevision = 0;  // 0 until a controller has answered
    std::int8_t confirmStatus = 0;
    int portNumber = 0;  // 1..16, the port the controller answered on
    // The PIN the controller holds: taken from the image read at connection (before the PIN
    // check clears the image's copy) and replaced by every PIN written since.
    std::uint16_t controllerPin = 0;
    // The connection ended because the port refused a frame (a cable pulled, an adapter gone):
    // set with the connection cleared, cleared by the window once it has said so, and by a scan.
    bool writeRefused = false;
};

// The PIN to write back when the image is replaced as a whole (a full load, the defaults reset),
// so the replacement keeps the installer's protection: the one the controller holds. Without a
// controller no PIN is held; the image then carries none either, so the refresh afterwards does
// not ask for a PIN that nothing checks.
[[nodiscard]] inline std::uint16_t heldControllerPin(const ConnectionState& state) {
    return state.connected ? state.controllerPin : 0;
}

}  // namespace kaldor
