#pragma once
// The `File1` commands with the controller behind them: the file side (service/config_commands.h)
// bound to the image transfer and the connection state.
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
          m_image(image),
          m_files(image, prompts, std::move(baseFolder), history) {}

    // "save to disk".
    bool saveToDisk() { return m_files.saveToDisk(m_state.softwareRevision); }

    // The two loads end in two steps. True means the image went out with the polling stopped;
    // the caller then shows the image in every control (the refresh asks for the PIN the image
    // holds) and calls finishLoad, which ends the write and lets the polling run again. False:
    // cancelled or refused, nothing left to finish.

    // "load to ECU": the file, then the polling stopped, the settle pause and the image's words.
    // `caption` is the menu item's caption, `noConnectionText` the "no connection" status text.
    [[nodiscard]] bool loadToEcu(const std::string& caption, const std::string& noConnectionText,
                                 ProgressSink& bar, TimerSwitch& timer);
    // "LoadMap": the map part of the file and its writes.
    [[nodiscard]] bool loadMap(const std::string& caption, const std::string& noConnectionText,
                               ProgressSink& bar, TimerSwitch& timer);
    // A restore from the controller history: `bytes` over the image as "load to ECU" puts a file
    // (the controller's own parts and the PIN it holds kept), then the same write.
    [[nodiscard]] bool loadImage(const EcuImage::Bytes& bytes, const std::string& noConnectionText,
                                 ProgressSink& bar, TimerSwitch& timer);
    // After "load to ECU" the validity marker and the commit; after either, the polling again.
    void finishLoad(ProgressSink& bar, TimerSwitch& timer);

    [[nodiscard]] std::uint16_t heldPin() const { return heldControllerPin(m_state); }

    [[nodiscard]] ConfigCommands& files() { return m_files; }

private:
    void writeImage(const std::string& noConnectionText, ProgressSink& bar, TimerSwitch& timer);

    enum class Pending { Nothing, FullWrite, MapLoad };

    ImageTransfer& m_transfer;
    ConnectionState& m_state;
    EcuImage& m_image;
    ConfigCommands m_files;
    Pending m_pending = Pending::Nothing;
};

}  // namespace kaldor
