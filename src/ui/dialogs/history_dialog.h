#pragma once
// "history...": the entries of a controller's history, newest first, each with its time, what
// happened, the revisions, the program version and how many fields differ from the PC's image;
// the controller picked from the serial numbers that have a history (the connected one first
// chosen). The buttons hand the chosen entry to a HistoryBrowser, which compares, restores or
// saves it, so the dialog itself knows nothing of files or controllers.
#include <QDialog>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "service/setup_description.h"
#include "service/controller_history.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace kaldor {

struct HistoryRow {
    HistoryEntry entry;
    std::string time;         // in the PC's time zone
    std::string revisions;    // "Rev.H:2 Rev.S:11"
    std::size_t differences;  // fields that differ from the PC's image
};

struct HistoryRows {
    std::vector<HistoryRow> rows;    // newest first
    std::vector<std::string> notes;  // damaged lines and files skipped
};

class HistoryBrowser {
public:
    virtual ~HistoryBrowser() = default;
    // The serial numbers to choose from, and the one to show first (the connected controller's).
    [[nodiscard]] virtual std::vector<std::uint32_t> serials() = 0;
    [[nodiscard]] virtual std::optional<std::uint32_t> connectedSerial() = 0;
    [[nodiscard]] virtual HistoryRows rows(std::uint32_t serial) = 0;
    virtual void compare(std::uint32_t serial, const HistoryEntry& entry) = 0;
    // True when the entry went to the controller: the list changes then.
    virtual bool restore(std::uint32_t serial, const HistoryEntry& entry) = 0;
    virtual void saveAs(std::uint32_t serial, const HistoryEntry& entry) = 0;
};

class HistoryDialog : public QDialog {
    Q_OBJECT

public:
    // `texts`: the language it speaks; it is built in the window's language when it opens.
    explicit HistoryDialog(HistoryBrowser& browser, QWidget* parent = nullptr,
                           const SetupTexts& texts = {});

    // Reads the serial numbers and the chosen controller's entries again.
    void reload();
    [[nodiscard]] std::optional<std::uint32_t> chosenSerial() const;

    QLabel* LabelHistorySerial = nullptr;
    QComboBox* ComboBoxHistorySerial = nullptr;
    QTableWidget* GridHistory = nullptr;
    QLabel* LabelHistoryNotes = nullptr;
    QPushButton* ButtonHistoryCompare = nullptr;
    QPushButton* ButtonHistoryRestore = nullptr;
    QPushButton* ButtonHistorySaveAs = nullptr;
    QPushButton* ButtonHistoryClose = nullptr;

private:
    void showEntries();
    void updateButtons();
    [[nodiscard]] const HistoryRow* chosenRow() const;
    // Runs `action` on the chosen entry, if any.
    void withChosen(const std::function<void(std::uint32_t, const HistoryEntry&)>& action);

    HistoryBrowser& m_browser;
    SetupTexts m_texts;
    HistoryRows m_rows;
};

}  // namespace kaldor
