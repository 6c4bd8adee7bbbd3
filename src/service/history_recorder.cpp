#include "service/history_recorder.h"

#include "service/config_transfer.h"

#include "files/config_file.h"
#include "model/fields.h"

namespace kaldor {

std::string historyBefore(std::string_view command, std::string_view detail) {
    std::string text = "before " + std::string(command);
    if (!detail.empty())
        text += ": " + std::string(detail);
    return text;
}

std::string historyBeforeRestore(const HistoryEntry& entry) {
    return historyBefore("restore of " + historyLocalText(entry.time));
}

std::string historyFileName(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

void HistoryRecorder::configure(HistorySettings settings, Report report, HistoryClock clock) {
    m_settings = std::move(settings);
    m_report = std::move(report);
    m_clock = std::move(clock);
    m_failureTold = false;
}

std::uint32_t HistoryRecorder::serial() const {
    return readField(m_image, FieldId::ControllerSerialNumber);
}

void HistoryRecorder::record(const std::string& what) {
    recordMemory(what, m_image);
}

void HistoryRecorder::recordMemory(const std::string& what, const EcuImage& memory) {
    if (!m_settings.enabled || !m_state.connected)
        return;
    // The folder is the connected controller's, whatever a read since says its serial is.
    const std::uint32_t serial = this->serial();
    const StoreResult result = history().store(serial, savedConfigBytes(memory), what,
                                               m_state.hardwareRevision, m_state.softwareRevision);
    tell(result, serial);
}

void HistoryRecorder::tell(const StoreResult& result, std::uint32_t serial) {
    if (!m_report)
        return;
    const std::string prefix = "history of ECU " + std::to_string(serial) + ": ";
    for (const std::string& note : result.notes)
        m_report(prefix + note);
    if (result.outcome != StoreOutcome::Failed) {
        // Said again should it fail anew after working.
        m_failureTold = false;
        return;
    }
    if (m_failureTold)
        return;
    m_failureTold = true;
    m_report("The controller history could not be written (" + result.message +
             "); the program carries on without it.");
}

EcuImage historyImage(const EcuImage::Bytes& bytes) {
    EcuImage image;
    image.replace(bytes);
    return image;
}

std::size_t historyDifferenceCount(const EcuImage& pc, const EcuImage::Bytes& entry) {
    return diffImages(pc, historyImage(entry)).entries.size();
}

bool restoreHistoryEntry(const HistoryEntry& entry, const EcuImage::Bytes& bytes,
                         ConfigTransfer& transfer, const ConnectionState& state,
                         HistoryRecorder& recorder, Prompts& prompts,
                         const std::string& noConnectionText, ProgressSink& bar,
                         TimerSwitch& timer) {
    // Without a controller there is nothing to restore to; the image stays as it is.
    if (!state.connected) {
        prompts.message(noConnectionText);
        return false;
    }
    recorder.record(historyBeforeRestore(entry));
    return transfer.loadImage(bytes, noConnectionText, bar, timer);
}

}  // namespace kaldor
