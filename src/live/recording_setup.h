#pragma once
// The controller set-up the log viewer converts a recording with: the engine-speed signal type
// and the sensor choices that some live signals depend on. Taken from the connected
// controller's image, else from a configuration file the user picks, else from the factory
// defaults; the viewer says which.
#include <optional>
#include <string>

#include "live/live_signals.h"
#include "model/connection_state.h"
#include "model/ecu_image.h"

namespace kaldor {

enum class SetupSource { Controller, File, Defaults };

struct RecordingSetup {
    LiveContext context;
    // The image the set-up came from: the main map's type and axes a recording is placed on.
    EcuImage image;
    SetupSource source = SetupSource::Defaults;
    std::string description;  // what the viewer shows: "set-up: ..."
};

[[nodiscard]] RecordingSetup controllerSetup(const EcuImage& image, const ConnectionState& state);
[[nodiscard]] RecordingSetup defaultSetup();

struct SetupFromFile {
    std::optional<RecordingSetup> setup;
    std::string message;  // why the file gave none
};
// A configuration file holds no revisions: the revision rules read as for an unknown
// controller.
[[nodiscard]] SetupFromFile fileSetup(const std::string& path);

}  // namespace kaldor
