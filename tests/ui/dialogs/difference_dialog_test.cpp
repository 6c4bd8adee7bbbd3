#include "ui/dialogs/difference_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "dialog_test_support.h"

namespace {

using dialogtest::key;
using dialogtest::runModal;
using kaldor::Difference;
using kaldor::DifferenceChoice;
using kaldor::DifferenceDialog;
using kaldor::DifferenceView;

DifferenceView verification() {
    DifferenceView view;
    view.title = "verify ECU";
    view.summary = "ECU memory differs from the PC in 1 location: MainMap row 3 column 5";
    view.otherLabel = "ECU";
    Difference cell;
    cell.name = "MainMap row 3 column 5";
    cell.first = "120";
    cell.second = "104";
    Difference serial;
    serial.name = "ControllerSerialNumber";
    serial.first = "770123";
    serial.second = "16909060";
    view.diff.entries = {cell};
    view.diff.controllerOwned = {serial};
    view.canWrite = true;
    view.canTake = true;
    return view;
}

QString cell(const QTableWidget* grid, int row, int column) {
    const QTableWidgetItem* item = grid->item(row, column);
    return item != nullptr ? item->text() : QString();
}

TEST(DifferenceDialog, ShowsTheDifferencesAndTheEcusOwnLocationsApart) {
    DifferenceDialog dialog;
    dialog.setView(verification());
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "verify ECU");
    EXPECT_EQ(dialog.LabelSummary->text(),
              "ECU memory differs from the PC in 1 location: MainMap row 3 column 5");
    const QTableWidget* grid = dialog.GridDifferences;
    ASSERT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), "PC");
    EXPECT_EQ(grid->horizontalHeaderItem(2)->text(), "ECU");
    EXPECT_EQ(cell(grid, 0, 0), "MainMap row 3 column 5");
    EXPECT_EQ(cell(grid, 0, 1), "120");
    EXPECT_EQ(cell(grid, 0, 2), "104");
    EXPECT_TRUE(dialog.LabelEcuOwned->isVisible());
    ASSERT_EQ(dialog.GridEcuOwned->rowCount(), 1);
    EXPECT_EQ(cell(dialog.GridEcuOwned, 0, 0), "ControllerSerialNumber");
    EXPECT_EQ(dialog.ButtonWritePc->text(), "write the PC's values");
    EXPECT_EQ(dialog.ButtonTakeEcu->text(), "take the controller's values");
}

// Each button is its choice; Enter and Escape never write.
TEST(DifferenceDialog, TheChoiceIsTheButtonClicked) {
    DifferenceDialog dialog;
    dialog.setView(verification());
    struct Case {
        std::function<void()> act;
        DifferenceChoice expected;
    };
    const Case cases[] = {
        {[&] { dialog.ButtonWritePc->click(); }, DifferenceChoice::WritePcValues},
        {[&] { dialog.ButtonTakeEcu->click(); }, DifferenceChoice::TakeControllerValues},
        {[&] { dialog.ButtonClose->click(); }, DifferenceChoice::Close},
        {[&] { key(dialog, Qt::Key_Return); }, DifferenceChoice::Close},
        {[&] { key(dialog, Qt::Key_Escape); }, DifferenceChoice::Close},
    };
    for (const Case& c : cases) {
        const int result = runModal(dialog, c.act);
        EXPECT_EQ(result,
                  c.expected == DifferenceChoice::Close ? QDialog::Rejected : QDialog::Accepted);
        EXPECT_EQ(dialog.choice(), c.expected);
    }
}

TEST(DifferenceDialog, AComparisonIsOnlyShownAndAMatchHasNoTable) {
    DifferenceDialog dialog;
    DifferenceView view = verification();
    view.otherLabel = "car.kcfg";
    view.canWrite = view.canTake = false;
    dialog.setView(view);
    dialog.show();
    EXPECT_EQ(dialog.GridDifferences->horizontalHeaderItem(2)->text(), "car.kcfg");
    EXPECT_FALSE(dialog.ButtonWritePc->isVisible());
    EXPECT_FALSE(dialog.ButtonTakeEcu->isVisible());

    DifferenceView match;
    match.summary = "ECU memory matches the PC (768 bytes)";
    dialog.setView(match);
    EXPECT_EQ(dialog.LabelSummary->text(), "ECU memory matches the PC (768 bytes)");
    EXPECT_FALSE(dialog.GridDifferences->isVisible());
    EXPECT_FALSE(dialog.GridEcuOwned->isVisible());
}

}  // namespace
