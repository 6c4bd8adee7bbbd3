#pragma once
// "history..." (history1) of the `File1` menu, and the controller history of the window: the
// session's recorder set up from the `[History]` section of the settings file, its failures said
// in the window's status line, and the dialog's commands. "compare" shows the difference dialog
// between the PC's image and the entry; "restore" asks, with the entry's time, then writes it as
// "load to ECU" does and has the memory read back; "save as..." writes it as a configuration
// file. Every question goes through the prompts seam and the difference question, so tests answer
// them.
#include <functional>

#include "ui/dialogs/difference_dialog.h"
#include "ui/dialogs/history_dialog.h"

namespace kaldor {

class ConfigTransfer;
class ControlsRefresh;
class MainWindow;
struct ControllerSession;

class HistoryMenu final : public HistoryBrowser {
public:
    // A restore goes out through the `File1` commands' transfer, as "load to ECU" does.
    HistoryMenu(MainWindow& window, ControllerSession& session, ControlsRefresh& refresh,
                ConfigTransfer& transfer);

    void history1Click();

    void setDifferenceQuestion(DifferenceQuestion ask) { m_ask = std::move(ask); }
    // Runs after every restore that went out to the controller.
    void setVerifyAfterRestore(std::function<void()> verify) {
        m_verifyAfterRestore = std::move(verify);
    }

    // HistoryBrowser
    [[nodiscard]] std::vector<std::uint32_t> serials() override;
    [[nodiscard]] std::optional<std::uint32_t> connectedSerial() override;
    [[nodiscard]] HistoryRows rows(std::uint32_t serial) override;
    void compare(std::uint32_t serial, const HistoryEntry& entry) override;
    bool restore(std::uint32_t serial, const HistoryEntry& entry) override;
    void saveAs(std::uint32_t serial, const HistoryEntry& entry) override;

private:
    // The entry's bytes; nothing, with the reason told, when its file is damaged by now.
    [[nodiscard]] std::optional<EcuImage::Bytes> readOrTell(std::uint32_t serial,
                                                            const HistoryEntry& entry);
    void showInStatusLine(const std::string& text);

    MainWindow& m_window;
    ControllerSession& m_session;
    ControlsRefresh& m_refresh;
    ConfigTransfer& m_transfer;
    DifferenceQuestion m_ask;
    std::function<void()> m_verifyAfterRestore;
};

}  // namespace kaldor
