#include "service/config_commands.h"

#include "service/history_recorder.h"
#include "service/settle_pause.h"

namespace kaldor {
namespace {

constexpr int kOlderFilterIndex = 1;

FileFilter filterFor(std::string_view pattern) {
    return {std::string(pattern), std::string(pattern)};
}

}  // namespace

FileQuestion saveConfigQuestion(const std::string& configurationFolder) {
    FileQuestion q;
    q.filters = {filterFor(kConfigPattern)};
    q.defaultExtension = std::string(kConfigExtension);
    q.initialFolder = configurationFolder;
    return q;
}

FileQuestion openConfigQuestion(const std::string& initialFolder) {
    FileQuestion q;
    q.filters = {filterFor(kConfigPattern), filterFor(kOlderConfigPattern)};
    q.defaultExtension = std::string(kConfigExtension);
    q.initialFolder = initialFolder;
    return q;
}

ConfigCommands::ConfigCommands(EcuImage& image, Prompts& prompts, std::string baseFolder,
                               HistoryRecorder* history)
    : m_image(image), m_prompts(prompts), m_baseFolder(std::move(baseFolder)), m_history(history) {}

std::string ConfigCommands::configurationFolder() const {
    // Without a base folder the folder is relative, never one at the root of the disk.
    if (m_baseFolder.empty())
        return std::string(kConfigurationFolderName);
    return m_baseFolder + "/" + std::string(kConfigurationFolderName);
}

bool ConfigCommands::saveToDisk(unsigned softwareRevision) {
    const std::string folder = configurationFolder();
    // A folder that can not be made leaves the dialog to start where it can.
    (void)ensureFolder(folder);
    const std::optional<FileAnswer> answer = m_prompts.askSaveFile(saveConfigQuestion(folder));
    if (!answer || answer->path.empty())
        return false;
    // Only once the user has chosen a file, so a cancelled save leaves the image as it was.
    if (softwareRevision < 3)
        ClearRevision3Features(m_image);
    const std::string path = withConfigExtension(answer->path);
    const std::string error = writeConfigFile(path, m_image);
    if (!error.empty()) {
        m_prompts.message(error);
        return false;
    }
    return true;
}

std::optional<ConfigCommands::Chosen> ConfigCommands::confirmAndRead(const std::string& caption) {
    if (m_prompts.askOkCancel({"", caption, true}) != Answer::Ok)
        return std::nullopt;
    const std::optional<FileAnswer> answer =
        m_prompts.askOpenFile(openConfigQuestion(m_baseFolder));
    if (!answer)
        return std::nullopt;
    std::optional<ConfigFile> file = readConfigFile(answer->path);
    if (!file) {
        // Either button ends the command.
        (void)m_prompts.askOkCancel(
            {std::string(kFileErrorTitle), std::string(kFileErrorText), false});
        return std::nullopt;
    }
    return Chosen{*answer, *file};
}

bool ConfigCommands::loadToEcu(const std::string& caption, unsigned softwareRevision,
                               std::uint16_t controllerPin,
                               const std::function<void()>& writeImage) {
    const std::optional<Chosen> chosen = confirmAndRead(caption);
    if (!chosen)
        return false;
    if (m_history)
        m_history->record(historyBefore(kHistoryLoadToEcu, historyFileName(chosen->answer.path)));
    loadKeepingControllerParts(m_image, chosen->file, controllerPin);
    // A file is known only by the filter it was chosen through, whatever its name.
    if (chosen->answer.filterIndex == kOlderFilterIndex || softwareRevision < 3)
        ClearRevision3Features(m_image);
    if (writeImage)
        writeImage();
    return true;
}

bool ConfigCommands::loadMap(const std::string& caption, FieldSender& sender, ProgressSink& bar,
                             TimerSwitch& timer, const std::string& noConnectionText) {
    const std::optional<Chosen> chosen = confirmAndRead(caption);
    if (!chosen)
        return false;
    if (!m_loadMap.take(chosen->file)) {
        m_prompts.message("No map was loaded: " + chosen->answer.path + " holds " +
                          std::to_string(chosen->file.length) +
                          " bytes, a configuration file holds " + std::to_string(EcuImage::kSize) +
                          ".");
        return false;
    }
    if (m_history)
        m_history->record(historyBefore(kHistoryLoadMap, historyFileName(chosen->answer.path)));
    copyMapPart(m_loadMap.bytes(), m_image);
    timer.setTimerEnabled(false);
    sender.pause(kWriteSettleMs);
    if (sender.connected()) {
        for (const FieldElement& w : mapLoadWrites())
            sender.sendField(w.id, w.element);
    } else {
        bar.setPosition(0);
        bar.setMaximum(static_cast<int>(EcuImage::kWords));
        for (std::size_t i = 0; i < EcuImage::kWords; ++i)
            bar.step();
        m_prompts.message(noConnectionText);
    }
    return true;
}

}  // namespace kaldor
