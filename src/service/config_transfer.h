#pragma once
// The `File1` commands with the controller behind them: the file side (files/config_commands.h)
// bound to the image transfer and the connection state, so a menu item is one call.
#include <cstdint>
#include <string>

#include "link/image_transfer.h"
#include "model/connection_state.h"
#include "service/config_commands.h"

namespace kaldor {

class ConfigTransfer {
public:
    ConfigTransfer(ImageTransfer& transfer, ConnectionState& state, EcuImage& image,
                   Prompts& prompts, std::string baseFolder, HistoryRecorder* history = nullptr)
        : m_transfer(transfer),
          m_state(state),
          m_files(image, prompts, std::move(baseFolder), history) {}

    // "save to disk".
    bool saveToDisk() { return m_files.saveToDisk(m_state.softwareRevision); }

    // "load to ECU": the file, then the full write with its closing steps. `caption` is the menu
    // item's caption, `noConnectionText` the "no connection" status text. Nothing when nothing
    // was loaded; otherwise how far the write got.
    [[nodiscard]] std::optional<WriteRun> loadToEcu(const std::string& caption,
                                                    const std::string& noConnectionText,
                                                    ProgressSink& bar, TimerSwitch& timer) {
        return m_files.loadToEcu(caption, m_state.softwareRevision, heldPin(), [&] {
            return m_transfer.loadToController(noConnectionText, bar, timer);
        });
    }

    // "LoadMap".
    [[nodiscard]] std::optional<WriteRun> loadMap(const std::string& caption,
                                                  const std::string& noConnectionText,
                                                  ProgressSink& bar, TimerSwitch& timer) {
        return m_files.loadMap(caption, m_transfer, bar, timer, noConnectionText,
                               [this] { m_transfer.refresh(); });
    }

    [[nodiscard]] std::uint16_t heldPin() const { return heldControllerPin(m_state); }

    [[nodiscard]] ConfigCommands& files() { return m_files; }

private:
    ImageTransfer& m_transfer;
    ConnectionState& m_state;
    ConfigCommands m_files;
};

}  // namespace kaldor
