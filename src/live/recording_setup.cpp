#include "live/recording_setup.h"

#include <filesystem>

#include "files/config_file.h"
#include "model/controller_defaults.h"

namespace kaldor {

RecordingSetup controllerSetup(const EcuImage& image, const ConnectionState& state) {
    RecordingSetup s;
    s.context = liveContext(image, state);
    s.image = image;
    s.source = SetupSource::Controller;
    s.description = "set-up: the connected ECU";
    return s;
}

RecordingSetup defaultSetup() {
    EcuImage image;
    applyControllerDefaults(image, {}, 0);
    RecordingSetup s;
    s.context = liveContext(image, ConnectionState{});
    s.image = image;
    s.source = SetupSource::Defaults;
    s.description = "set-up: the factory defaults";
    return s;
}

SetupFromFile fileSetup(const std::string& path) {
    SetupFromFile result;
    const std::optional<ConfigFile> file = readConfigFile(path);
    const std::string name = std::filesystem::path(path).filename().string();
    if (!file || !file->complete()) {
        result.message = "\"" + name + "\" is not a configuration file of " +
                         std::to_string(EcuImage::kSize) + " bytes.";
        return result;
    }
    EcuImage image;
    image.replace(file->bytes);
    RecordingSetup s;
    s.context = liveContext(image, ConnectionState{});
    s.image = image;
    s.source = SetupSource::File;
    s.description = "set-up: " + name;
    result.setup = s;
    return result;
}

}  // namespace kaldor
