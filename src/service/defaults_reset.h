#pragma once
// "RESET ECU" with the controller behind it: the confirmation, live polling stopped, the image
// rebuilt from the factory defaults (model/controller_defaults.h) keeping the controller's own
// parts and the PIN it holds, the emulator tables on hardware revision 2, the full write with
// its validity marker and commit, the main map's axis save, and polling started again.
#include <functional>
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
    // Live polling is stopped this long before the image is rebuilt.
    static constexpr int kSettleMs = 250;
    // The controllers whose emulator tables the reset sets as well.
    static constexpr unsigned kEmulatorTablesHardware = 2;

    // `history`, when given, keeps what the controller held before the reset overwrites it.
    ControllerReset(ImageTransfer& transfer, ConnectionState& state, EcuImage& image,
                    Prompts& prompts, HistoryRecorder* history = nullptr)
        : m_transfer(transfer),
          m_state(state),
          m_image(image),
          m_prompts(prompts),
          m_history(history) {}

    // The emulator page's table reset and the adjustment page's axis save; filled in by the
    // pages. Either may be left empty.
    void setEmulatorTablesReset(std::function<void()> reset) {
        m_emulatorTables = std::move(reset);
    }
    void setAxisSave(std::function<void()> save) { m_axisSave = std::move(save); }

    // `caption` is the menu item's caption, the text of the warning box; `workTimes` are the
    // counters of the last live record. Nothing, with image, controller and timer untouched,
    // when the user does not confirm with OK; otherwise how far the full write got (a refused
    // frame ends it, and the axis save with it).
    [[nodiscard]] std::optional<WriteRun> run(const std::string& caption,
                                              const WorkTimes& workTimes, ProgressSink& bar,
                                              TimerSwitch& timer);

private:
    ImageTransfer& m_transfer;
    ConnectionState& m_state;
    EcuImage& m_image;
    Prompts& m_prompts;
    HistoryRecorder* m_history;
    std::function<void()> m_emulatorTables;
    std::function<void()> m_axisSave;
};

}  // namespace kaldor
