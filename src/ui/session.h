#pragma once
// The session every page works on: the long-lived objects that talk to or mirror the controller
// (link, connection state, image, live record, texts), the live sinks pages register with, the
// shared edit gate, and the window's prompts, progress bar and timer as the core sees them.
// Created once by the window logic and kept for the whole run. The port and the pause clock
// come in from outside, so tests run the same window against a fake port in virtual time.
#include "diagnostics/error_codes.h"
#include "link/commands.h"
#include "link/image_transfer.h"
#include "link/serial_link.h"
#include "live/live_frame.h"
#include "live/live_sinks.h"
#include "live/status_texts.h"
#include "model/connection_state.h"
#include "model/ecu_image.h"
#include "model/edit_history.h"
#include "model/parameter_edits.h"
#include "model/prompts.h"
#include "service/history_recorder.h"
#include "service/setup_description.h"
#include "ui/edit_gate.h"

namespace kaldor {

struct ControllerSession {
    ControllerSession(SerialPort& port, PauseClock& clock, Prompts& prompts_,
                      ProgressSink& progress_, TimerSwitch& timer_)
        : prompts(prompts_),
          progress(progress_),
          timer(timer_),
          link(port, clock, state),
          commands(link),
          transfer(commands, state, image, prompts),
          editor(image, transfer) {
        transfer.setEditHistory(&edits);
        gate.setEditHistory(&edits, &image);
    }

    Prompts& prompts;
    ProgressSink& progress;  // ProgressBar1, the bar of long transfers
    TimerSwitch& timer;      // Timer1

    ConnectionState state;
    EcuImage image;
    LiveFrame frame;
    CalibrationBlock block;
    StatusTexts texts;
    ErrorTexts errorTexts;  // the texts of the error codes
    // The loaded language's captions and list items, for what names a setting outside its
    // page (the lists of differences, the report); empty for the built-in texts.
    SetupTexts setupTexts;
    SerialLink link;
    CommandSet commands;
    ImageTransfer transfer;
    ParameterEditor editor;
    // The controller history, kept from the image and the connection state above.
    HistoryRecorder history{state, image};
    LiveSinks live;
    // The user's edits of this connection, for undo and redo: every handler the gate runs.
    EditHistory edits;
    EditGate gate;
    bool pinAccepted = false;
};

}  // namespace kaldor
