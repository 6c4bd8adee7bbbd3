#include "ui/dialogs/history_dialog.h"

#include <QComboBox>
#include <QLabel>
#include <QTableWidget>

#include <map>

#include "dialog_test_support.h"

namespace {

using kaldor::HistoryBrowser;
using kaldor::HistoryDialog;
using kaldor::HistoryEntry;
using kaldor::HistoryRow;
using kaldor::HistoryRows;

// Two controllers with a history; the connected one is the second.
struct Browser final : HistoryBrowser {
    std::map<std::uint32_t, HistoryRows> kept;
    std::optional<std::uint32_t> connected;
    std::vector<std::string> done;

    std::vector<std::uint32_t> serials() override {
        std::vector<std::uint32_t> out;
        for (const auto& [serial, rows] : kept)
            out.push_back(serial);
        return out;
    }
    std::optional<std::uint32_t> connectedSerial() override { return connected; }
    HistoryRows rows(std::uint32_t serial) override { return kept[serial]; }
    void compare(std::uint32_t, const HistoryEntry&) override {}
    bool restore(std::uint32_t s, const HistoryEntry& e) override {
        done.push_back("restore " + std::to_string(s) + " " + e.id);
        return true;
    }
    void saveAs(std::uint32_t, const HistoryEntry&) override {}
};

HistoryRow row(const char* id, const char* what) {
    HistoryEntry e;
    e.id = id;
    e.what = what;
    e.programVersion = "4.706";
    return {e, id, "Rev.H:2 Rev.S:11", 3};
}

TEST(HistoryDialog, ShowsTheConnectedControllerFirstAndActsOnTheChosenEntry) {
    Browser browser;
    browser.kept[11] = {{row("a", "connected")}, {}};
    browser.kept[22] = {{row("c", "before RESET ECU"), row("b", "connected")},
                        {"index.txt line 3 skipped: no time"}};
    browser.connected = 22;
    HistoryDialog dialog(browser);
    dialog.show();

    EXPECT_EQ(dialog.ComboBoxHistorySerial->currentText(), QStringLiteral("22"));
    ASSERT_EQ(dialog.GridHistory->rowCount(), 2);
    EXPECT_EQ(dialog.GridHistory->item(0, 1)->text(), QStringLiteral("before RESET ECU"));
    EXPECT_EQ(dialog.GridHistory->item(0, 4)->text(), QStringLiteral("3"));
    EXPECT_EQ(dialog.LabelHistoryNotes->text(),
              QStringLiteral("index.txt line 3 skipped: no time"));

    dialog.GridHistory->selectRow(1);
    dialog.ButtonHistoryRestore->click();
    EXPECT_EQ(browser.done, std::vector<std::string>{"restore 22 b"});

    // Another controller's history; one without any leaves nothing to act on.
    dialog.ComboBoxHistorySerial->setCurrentIndex(dialog.ComboBoxHistorySerial->findText("11"));
    EXPECT_EQ(dialog.GridHistory->rowCount(), 1);
    browser.kept[11] = {};
    dialog.reload();
    EXPECT_EQ(dialog.ComboBoxHistorySerial->currentText(), QStringLiteral("11"));
    EXPECT_EQ(dialog.GridHistory->rowCount(), 0);
    EXPECT_FALSE(dialog.ButtonHistoryRestore->isEnabled());
    EXPECT_EQ(dialog.LabelHistoryNotes->text(), QStringLiteral("No entries kept for this ECU."));
}

TEST(HistoryDialog, EveryControlIsNamedAndInTabOrder) {
    Browser browser;
    HistoryDialog dialog(browser);
    EXPECT_EQ(dialog.LabelHistoryNotes->text(),
              QStringLiteral("No controller history has been kept yet."));
    EXPECT_EQ(dialogtest::tabOrder(dialog.ComboBoxHistorySerial),
              (QStringList{"ComboBoxHistorySerial", "GridHistory", "ButtonHistoryCompare",
                           "ButtonHistoryRestore", "ButtonHistorySaveAs", "ButtonHistoryClose"}));
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        if (!(w->focusPolicy() & Qt::TabFocus) || w->objectName().startsWith("qt_"))
            continue;
        EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
    }
}

}  // namespace
