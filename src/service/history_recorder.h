#pragma once
// The controller history as the commands keep it: after every read of the whole memory, and
// just before every command that overwrites much of it, the memory the controller holds as the
// program last knew it goes into the connected controller's history. A history that can not be
// written is said once and never stops the connection or the command.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "model/connection_state.h"
#include "model/ecu_image.h"
#include "model/prompts.h"
#include "service/controller_history.h"
#include "service/image_diff.h"

namespace kaldor {

// What happened, as the index and the lists show it.
inline constexpr const char* kHistoryConnected = "connected";
inline constexpr const char* kHistoryLoadToEcu = "load to ECU";
inline constexpr const char* kHistoryLoadMap = "LoadMap";
inline constexpr const char* kHistoryReset = "RESET ECU";
inline constexpr const char* kHistoryWritePcValues = "writing the PC's values";
// "before load to ECU: car.kcfg", "before RESET ECU".
[[nodiscard]] std::string historyBefore(std::string_view command, std::string_view detail = {});
// "before restore of 2024-01-31 15:25:01"
[[nodiscard]] std::string historyBeforeRestore(const HistoryEntry& entry);
// The file's name without its folder, as a history text names it.
[[nodiscard]] std::string historyFileName(std::string_view path);

class ConfigTransfer;

class HistoryRecorder {
public:
    using Report = std::function<void(const std::string&)>;

    HistoryRecorder(const ConnectionState& state, const EcuImage& image)
        : m_state(state), m_image(image) {}

    // Where the histories live, whether they are kept, and where a failure or a skipped line is
    // said. Until configured nothing is kept.
    void configure(HistorySettings settings, Report report, HistoryClock clock = {});

    // The image, as the controller holds it, into the connected controller's history (its PIN
    // cleared). Nothing without a connected controller or with the history switched off.
    void record(const std::string& what);
    // Memory just read from the controller, where it may differ from the image.
    void recordMemory(const std::string& what, const EcuImage& memory);

    [[nodiscard]] bool enabled() const { return m_settings.enabled; }
    [[nodiscard]] const HistorySettings& settings() const { return m_settings; }
    [[nodiscard]] ControllerHistory history() const { return {m_settings.folder, m_clock}; }
    // The serial number of the controller the image came from.
    [[nodiscard]] std::uint32_t serial() const;

private:
    void tell(const StoreResult& result, std::uint32_t serial);

    const ConnectionState& m_state;
    const EcuImage& m_image;
    HistorySettings m_settings{false, {}};
    Report m_report;
    HistoryClock m_clock;
    bool m_failureTold = false;
};

// The entry as an image, the PC's image shown beside it.
[[nodiscard]] EcuImage historyImage(const EcuImage::Bytes& bytes);
// The fields (map cells one by one) in which the entry differs from the PC's image; the
// controller's own locations do not count.
[[nodiscard]] std::size_t historyDifferenceCount(const EcuImage& pc, const EcuImage::Bytes& entry);

// "restore": the entry's memory written to the controller as "load to ECU" writes a file (its
// serial number, reserved locations and PIN kept), after the memory it holds now went into the
// history. True: the words went out with polling stopped; the caller shows the image and calls
// `transfer.finishLoad`, as after "load to ECU". False, with nothing changed, without a
// connection (the user has been told).
[[nodiscard]] bool restoreHistoryEntry(const HistoryEntry& entry, const EcuImage::Bytes& bytes,
                                       ConfigTransfer& transfer, const ConnectionState& state,
                                       HistoryRecorder& recorder, Prompts& prompts,
                                       const std::string& noConnectionText, ProgressSink& bar,
                                       TimerSwitch& timer);

}  // namespace kaldor
