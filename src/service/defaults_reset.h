#pragma once
// "RESET ECU" with the controller behind it: the confirmation, live polling stopped, the image
// rebuilt from the factory defaults (model/controller_defaults.h) keeping the controller's own
// parts and the PIN it holds, the emulator tables on hardware revision 2, the full write with
// its validity marker and commit, the main map's axis save, and polling started again.
//
// The window has its share at three points of that sequence: the EMU page resets the emulator
// tables, every control shows the written image, the main map saves its axes from the texts
// that showing put in its grid. The reset stops there and says which, and the caller does it
// before it lets the reset go on, so every frame goes out where it always did:
//
//     if (reset.begin(caption, workTimes, timer))
//         while (const std::optional<ControllerReset::Stop> stop = reset.next(bar, timer))
//             ...do what *stop says...
#include <optional>
#include <string>

#include "link/image_transfer.h"
#include "model/connection_state.h"
#include "model/controller_defaults.h"
#include "model/prompts.h"

namespace kaldor {

class HistoryRecorder;

class ControllerReset {
public:
    // The controllers whose emulator tables the reset sets as well.
    static constexpr unsigned kEmulatorTablesHardware = 2;

    // What the caller does at a stop, in this order (the first only on hardware revision 2).
    enum class Stop {
        ResetEmulatorTables,  // the image is rebuilt, nothing written yet
        ShowImage,            // the words are written, the validity marker not yet
        SaveMainMapAxes,      // the marker and the commit are written, polling still stopped
    };

    // `history`, when given, keeps what the controller held before the reset overwrites it.
    ControllerReset(ImageTransfer& transfer, ConnectionState& state, EcuImage& image,
                    Prompts& prompts, HistoryRecorder* history = nullptr)
        : m_transfer(transfer),
          m_state(state),
          m_image(image),
          m_prompts(prompts),
          m_history(history) {}

    // `caption` is the menu item's caption, the text of the warning box; `workTimes` are the
    // counters of the last live record. On OK: polling stopped, the settle pause, the image
    // rebuilt. False, with image, controller and timer untouched, when the user does not confirm.
    [[nodiscard]] bool begin(const std::string& caption, const WorkTimes& workTimes,
                             TimerSwitch& timer);
    // Goes on from the last stop to the next one; nothing once the reset has ended (with polling
    // running again).
    [[nodiscard]] std::optional<Stop> next(ProgressSink& bar, TimerSwitch& timer);

private:
    enum class Phase { Idle, Rebuilt, TablesReset, WordsWritten, Committed };

    ImageTransfer& m_transfer;
    ConnectionState& m_state;
    EcuImage& m_image;
    Prompts& m_prompts;
    HistoryRecorder* m_history;
    Phase m_phase = Phase::Idle;
};

}  // namespace kaldor
