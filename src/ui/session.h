#pragma once
// The controller side of the window: every long-lived object that talks to or mirrors the
// controller, created once and kept for the whole run. The port and the pause clock come in
// from outside, so tests run the same window against a fake port in virtual time.
#include "link/commands.h"
#include "link/connection_state.h"
#include "link/image_transfer.h"
#include "link/serial_link.h"
#include "live/live_frame.h"
#include "live/readings.h"
#include "live/status_texts.h"
#include "model/ecu_image.h"
#include "model/parameter_edits.h"

namespace kaldor {

struct ControllerSession {
    ControllerSession(SerialPort& port, PauseClock& clock, Prompts& prompts)
        : link(port, clock, state),
          commands(link),
          transfer(commands, state, image, prompts),
          editor(image, transfer) {}

    ConnectionState state;
    EcuImage image;
    LiveFrame frame;
    CalibrationBlock block;
    DisplayState display;
    StatusTexts texts;
    SerialLink link;
    CommandSet commands;
    ImageTransfer transfer;
    ParameterEditor editor;
    bool pinAccepted = false;
};

}  // namespace kaldor
