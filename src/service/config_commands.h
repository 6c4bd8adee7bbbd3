#pragma once
// The file side of the three `File1` commands: "save to disk", "load to ECU" and "LoadMap".
// Questions and boxes go through the prompts seam; the full write to the controller is handed in
// by the caller, map writes go out as field writes.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "files/config_file.h"
#include "model/ecu_image.h"
#include "model/field_sender.h"
#include "model/prompts.h"

namespace kaldor {

class HistoryRecorder;

// The save dialog: "*.kcfg" only, starting in the configuration folder with an empty name.
[[nodiscard]] FileQuestion saveConfigQuestion(const std::string& configurationFolder);
// The open dialog: "*.kcfg" (index 0) and "*.mqsetD" (index 1).
[[nodiscard]] FileQuestion openConfigQuestion(const std::string& initialFolder);

class ConfigCommands {
public:
    // `history`, when given, keeps what the controller held before a load overwrites it.
    ConfigCommands(EcuImage& image, Prompts& prompts, std::string baseFolder,
                   HistoryRecorder* history = nullptr);

    // `BaseFolder`/parametry, where saved set-ups go.
    [[nodiscard]] std::string configurationFolder() const;

    // "save to disk". Below revision 3 the image loses the revision-3 features first (and keeps
    // them lost). False when cancelled or when the file could not be written (the user has been
    // told which file and why).
    bool saveToDisk(unsigned softwareRevision);

    // "load to ECU": confirmation with the menu item's caption, the open dialog, the file over
    // the image (the controller's own parts kept, `controllerPin` as the PIN), the revision-3
    // features cleared for an older file or controller, then `writeImage` sends the image.
    // False, with the image unchanged and nothing sent, when cancelled or the file is unreadable.
    bool loadToEcu(const std::string& caption, unsigned softwareRevision,
                   std::uint16_t controllerPin, const std::function<void()>& writeImage);

    // "LoadMap": only the map part of a complete file goes into the image and to the controller
    // (178 writes), with the polling stopped. True when the maps went out: the polling stays
    // stopped while the caller shows the image in every control, then finishLoadMap lets it run.
    bool loadMap(const std::string& caption, FieldSender& sender, ProgressSink& bar,
                 TimerSwitch& timer, const std::string& noConnectionText);
    void finishLoadMap(TimerSwitch& timer) { timer.setTimerEnabled(true); }

    [[nodiscard]] const LoadMapBuffer& loadMapBuffer() const { return m_loadMap; }

private:
    struct Chosen {
        FileAnswer answer;
        ConfigFile file;
    };
    // Confirmation, open dialog and read; nothing when any of them did not go through.
    [[nodiscard]] std::optional<Chosen> confirmAndRead(const std::string& caption);

    EcuImage& m_image;
    Prompts& m_prompts;
    std::string m_baseFolder;
    LoadMapBuffer m_loadMap;  // kept for the whole run
    HistoryRecorder* m_history;
};

}  // namespace kaldor
