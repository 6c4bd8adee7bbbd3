// The main map on the adjustment page as the user drives it: cells selected with the mouse, the
// plus and minus keys and buttons, typed entry through TForm2, smoothing, map types, the
// characteristic points, the coil type's follow-up and the live operating point.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include <functional>

#include "main_map_grid.h"
#include "maps/main_map_editor.h"
#include "model/units.h"
#include "ui/dialogs/text_entry_dialog.h"
#include "ui/pages/adjustment/adjustment_page.h"
#include "ui/pages/adjustment/main_map_panel.h"
#include "ui/ui_build.h"
#include "window_logic_fixture.h"

namespace kaldor::test {
namespace {

constexpr std::uint16_t kColumnPeriods[8] = {40000, 30000, 20000, 15000, 10000, 8000, 6000, 5000};
constexpr GridRect kBlock{2, 3, 3, 4};  // visited (3,4), (3,3), (2,4), (2,3)
constexpr int kBlockCells[4][2] = {{3, 4}, {3, 3}, {2, 4}, {2, 3}};

std::string wordWrite(std::size_t index, std::uint16_t value) {
    const auto f = writeWordFrame(index, value);
    return hex(f.data(), f.size());
}

// Counts the paints of one widget.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

struct MainMapTest : LogicTest {
    // Map type 2:VACUM/RPM with falling periods over the columns, 0.8 to 2.3 bar over the rows,
    // and cell (c, r) holding 10 r + c.
    void SetUp() override {
        LogicTest::SetUp();
        controller.setWord(364, 1);
        for (int c = 0; c < 8; ++c)
            controller.setWord(245 + static_cast<std::size_t>(c), kColumnPeriods[c]);
        for (int r = 0; r < 16; ++r)
            controller.setWord(253 + static_cast<std::size_t>(r), 800 + 100 * r);
        for (int r = 1; r <= 16; ++r)
            for (int c = 1; c <= 8; ++c)
                controller.memory[cellOffset(c, r)] = static_cast<std::uint8_t>(10 * r + c);
        showActive();
        connect();
        window->showPage(MainWindow::kPageAdjustment);
        grid = find<QTableWidget>("StringGridMapa");
    }
    QString text(int column, int row) const { return cellText(grid, column, row); }
    void click(int column, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        clickCell(grid, column, row, modifiers);
    }
    void select(GridRect s) { selectCells(grid, s); }
    void press(const char* button) { QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton); }
    // Cells set in the program's image and shown, as a loaded map would be.
    void showCells(const std::function<int(int, int)>& value) {
        for (int r = 1; r <= 16; ++r)
            for (int c = 1; c <= 8; ++c)
                logic->session().image.setByte(cellOffset(c, r),
                                               static_cast<std::uint8_t>(value(c, r)));
        logic->RefreshControls();
        log.events.clear();
    }
    // Plays the user at TForm2 once it is up.
    void atEntryDialog(std::function<void(TForm2&)> user) {
        QTimer::singleShot(0, window.get(), [user] {
            auto* dialog = qobject_cast<TForm2*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            ASSERT_EQ(dialog->objectName(), QStringLiteral("Form2"));
            user(*dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
    }
    MainMapEditor& editor() { return window->adjustmentPage().mainMap().editor(); }

    QTableWidget* grid = nullptr;
};

TEST_F(MainMapTest, F4ShowsTheControllersMap) {
    EXPECT_EQ(grid->columnCount(), 9);
    EXPECT_EQ(text(0, 0), "bar/rpm");
    EXPECT_EQ(text(0, 1), "0.8");
    EXPECT_EQ(text(0, 3), "1");
    EXPECT_EQ(text(1, 1), "11");
    EXPECT_EQ(text(3, 4), "43");
    EXPECT_EQ(text(8, 16), "168");
    EXPECT_EQ(find<QComboBox>("ComboBoxMapa")->currentIndex(), 1);
    EXPECT_FALSE(find<QComboBox>("ComboBoxTpsTyp")->isVisible());
}

// Each cell of the selection from its own text, right-hand column first, each from the bottom.
TEST_F(MainMapTest, StepKeysAndButtonsWriteTheSelectionRightToLeftBottomUp) {
    const auto key = [this](Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        return [this, k, m] { QTest::keyClick(grid, k, m); };
    };
    const auto button = [this](const char* name) { return [this, name] { press(name); }; };
    const struct {
        const char* what;
        std::function<void()> act;
        int step;
    } cases[] = {
        {"plus key", key(Qt::Key_Plus), 1},
        {"Shift and plus", key(Qt::Key_Plus, Qt::ShiftModifier), 5},
        {"keypad minus", key(Qt::Key_Minus, Qt::KeypadModifier), -1},
        {"Shift and minus", key(Qt::Key_Underscore, Qt::ShiftModifier), -5},
        {"= key", key(Qt::Key_Equal), 1},
        {"a letter", key(Qt::Key_A), 0},
        {"+5", button("ButtonInc5"), 5},
        {"+1", button("ButtonInc1"), 1},
        {"-1", button("ButtonDecr1"), -1},
        {"-5", button("ButtonDecr5"), -5},
    };
    select(kBlock);
    for (const auto& c : cases) {
        std::vector<std::string> expected;
        std::vector<int> values;
        for (const auto& [column, row] : kBlockCells) {
            values.push_back(text(column, row).toInt() + c.step);
            if (c.step != 0)
                expected.push_back(byteWrite(column, row, values.back()));
        }
        log.events.clear();
        c.act();
        EXPECT_EQ(log.writes(), expected) << c.what;
        for (std::size_t i = 0; i < 4; ++i) {
            const auto [column, row] = kBlockCells[i];
            EXPECT_EQ(text(column, row), QString::number(values[i])) << c.what;
            EXPECT_EQ(controller.memory[cellOffset(column, row)], values[i]) << c.what;
        }
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(MainMapTest, EnterTypesIntoTForm2AndEachModeIsWritten) {
    const struct {
        int mode;
        const char* prefill;
        const char* typed;
        int values[4];  // in visiting order
    } cases[] = {
        {TForm2::kModeAbsolute, "32", "120", {120, 120, 120, 120}},
        {TForm2::kModeOffset, "0", "-35", {8, 0, 7, 0}},
        {TForm2::kModePercent, "0", "-10", {38, 29, 37, 28}},  // single-precision factor
    };
    for (const auto& c : cases) {
        showCells([](int column, int row) { return 10 * row + column; });
        logic->form2().setModeIndex(c.mode);
        select(kBlock);
        QString prefill;
        atEntryDialog([&](TForm2& dialog) {
            auto* edit = dialog.findChild<QLineEdit*>("Edit1");
            prefill = edit->text();
            QTest::keyClicks(edit, c.typed);
            QTest::keyClick(edit, Qt::Key_Return);
        });
        QTest::keyClick(grid, Qt::Key_Return);
        EXPECT_EQ(prefill, c.prefill) << c.typed;
        std::vector<std::string> expected;
        for (std::size_t i = 0; i < 4; ++i) {
            const auto [column, row] = kBlockCells[i];
            expected.push_back(byteWrite(column, row, c.values[i]));
            EXPECT_EQ(text(column, row), QString::number(c.values[i])) << c.typed;
        }
        EXPECT_EQ(log.writes(), expected) << c.typed;
    }
    // The Enter released after the dialog closed belongs to the dialog: it opens nothing.
    QObject scope;
    bool reopened = false;
    QTimer::singleShot(0, &scope, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            reopened = true;
            static_cast<QDialog*>(modal)->reject();
        }
    });
    QTest::keyRelease(grid, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_FALSE(reopened);
}

// Every grid starts on its first map cell, so the step buttons and Enter work before a click; the
// keys never take the current cell onto a heading.
TEST_F(MainMapTest, GridsStartOnTheirFirstMapCellAndNeverRestOnAHeading) {
    const struct {
        const char* grid;
        int column, row;
    } grids[] = {
        {"StringGridMapa", 1, 1},        {"StringGridMapaTempomatu", 0, 1},
        {"StringGridMapaEGT", 0, 1},     {"StringGridMapaCisnienieRoznicowe", 0, 1},
        {"StringGridTpsEmulator", 1, 1}, {"StringGridStepEmu", 1, 1},
        {"StringGridBenz", 1, 1},
    };
    for (const auto& g : grids) {
        const auto* w = find<QTableWidget>(g.grid);
        EXPECT_EQ(w->currentColumn(), g.column) << g.grid;
        EXPECT_EQ(w->currentRow(), g.row) << g.grid;
    }
    press("ButtonInc1");
    press("ButtonTempoP1");
    const auto cruiseByte = writeByteFrame(100, 1);
    EXPECT_EQ(log.writes(),
              (std::vector<std::string>{byteWrite(1, 1, 12), hex(cruiseByte.data(), 6)}));

    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Up);
    QTest::keyClick(grid, Qt::Key_Left);
    EXPECT_EQ(grid->currentColumn(), 1);
    EXPECT_EQ(grid->currentRow(), 1);
    logic->form2().setModeIndex(TForm2::kModeAbsolute);
    QString prefill;
    atEntryDialog([&](TForm2& dialog) { prefill = dialog.findChild<QLineEdit*>("Edit1")->text(); });
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(prefill, QStringLiteral("12"));
    EXPECT_TRUE(messages.empty());
}

TEST_F(MainMapTest, AnEntryThatIsNoNumberChangesNothing) {
    select(kBlock);
    atEntryDialog([](TForm2& dialog) {
        auto* edit = dialog.findChild<QLineEdit*>("Edit1");
        QTest::keyClicks(edit, "-");
        QTest::mouseClick(dialog.findChild<QPushButton*>("BitBtnOK"), Qt::LeftButton);
    });
    QTest::keyClick(grid, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(messages, std::vector<std::string>{"'-' is not a valid integer value"});
    EXPECT_TRUE(log.writes().empty());
    EXPECT_EQ(text(2, 3), "32");
}

// A spike of 100 in a map of zeros: four passes leave 96, its neighbours 4, the ring two away 1
// except its four corners; all 128 bytes go out row by row.
TEST_F(MainMapTest, SmoothSendsAll128BytesInRowOrder) {
    showCells([](int column, int row) { return column == 4 && row == 8 ? 100 : 0; });
    const auto expectedAt = [](int column, int row) {
        const int dc = std::abs(column - 4);
        const int dr = std::abs(row - 8);
        if (dc == 0 && dr == 0)
            return 96;
        if (dc <= 1 && dr <= 1)
            return 4;
        return std::max(dc, dr) == 2 && !(dc == 2 && dr == 2) ? 1 : 0;
    };
    press("ButtonMapSmooth");
    std::vector<std::string> expected;
    for (int r = 1; r <= 16; ++r)
        for (int c = 1; c <= 8; ++c)
            expected.push_back(byteWrite(c, r, expectedAt(c, r)));
    EXPECT_EQ(log.writes(), expected);
    const auto* progress = find<QProgressBar>("ProgressBarMapa");
    EXPECT_EQ(progress->maximum(), 128);
    EXPECT_EQ(progress->value(), 128);
    for (int r = 1; r <= 16; ++r) {
        for (int c = 1; c <= 8; ++c) {
            EXPECT_EQ(text(c, r), QString::number(expectedAt(c, r))) << c << "," << r;
            EXPECT_EQ(controller.memory[cellOffset(c, r)], expectedAt(c, r)) << c << "," << r;
        }
    }
}

// The list is chosen by typing the item's digit. A revision below 2 refuses type 5 before
// anything is stored or sent, and the list shows the type in force again; the 24 axis words go
// into the image in any case and are sent only while a controller is connected.
TEST_F(MainMapTest, MapTypeIsSentAndItsAxesSavedOnlyWhenConnected) {
    const struct {
        unsigned revision;
        bool connected;
        const char* typed;
        int type;
        const char* corner;
        std::vector<std::string> messages;
        std::uint32_t firstColumnWord;  // the new type's default, stored
    } cases[] = {
        {1, true, "5", 1, "bar/rpm", {"ECU OPTION N/A"}, 0},
        {11, true, "4", 3, "bar/maf", {}, 163},                   // 0.20 V
        {11, false, "2", 1, "bar/rpm", {}, RpmToPeriod(700, 0)},  // 700 rpm
    };
    auto* box = find<QComboBox>("ComboBoxMapa");
    // Each digit starts a new search of the list's items.
    const int searchInterval = QApplication::keyboardInputInterval();
    QApplication::setKeyboardInputInterval(0);
    for (const auto& c : cases) {
        QTest::qWait(2);
        ConnectionState& state = logic->session().state;
        state.softwareRevision = c.revision;
        state.connected = c.connected;
        const EcuImage before = logic->session().image;
        messages.clear();
        log.events.clear();
        box->setFocus();
        QTest::keyClicks(box, c.typed);
        EXPECT_EQ(messages, c.messages) << c.typed;
        EXPECT_EQ(box->currentIndex(), c.type) << c.typed;
        EXPECT_EQ(text(0, 0), c.corner) << c.typed;
        const EcuImage& image = logic->session().image;
        if (!c.messages.empty()) {
            EXPECT_TRUE(log.writes().empty()) << c.typed;
            EXPECT_EQ(image, before) << c.typed;
            continue;
        }
        std::vector<std::string> expected{wordWrite(364, static_cast<std::uint16_t>(c.type))};
        for (std::size_t w = 245; c.connected && w <= 268; ++w)
            expected.push_back(wordWrite(w, image.word(w)));
        EXPECT_EQ(log.writes(), expected) << c.typed;
        EXPECT_EQ(image.word(245), c.firstColumnWord) << c.typed;
        EXPECT_EQ(image.word(253), 800) << c.typed << ": the first pressure row";
    }
    QApplication::setKeyboardInputInterval(searchInterval);
}

TEST_F(MainMapTest, CharacteristicPointsAreEditedInPlaceAndSavedWhenTheModeEnds) {
    auto* mode = find<QCheckBox>("CheckBoxModPchar");
    QTest::mouseClick(mode, Qt::LeftButton);
    EXPECT_TRUE(find<QComboBox>("ComboBoxRpmDefs")->isVisible());
    EXPECT_TRUE(find<QComboBox>("ComboBoxInjTdefs")->isVisible());
    click(2, 2);
    EXPECT_EQ(grid->findChild<QLineEdit*>(), nullptr) << "map cells are never edited in place";
    click(1, 0);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr) << "the axis cell opens the grid's editor";
    editor->selectAll();
    QTest::keyClicks(editor, "1000");
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();  // the grid commits the editor's text once Enter is handled
    EXPECT_EQ(text(1, 0), "1000");
    EXPECT_TRUE(log.writes().empty()) << "axis texts wait for the save";

    QTest::mouseClick(mode, Qt::LeftButton);
    const EcuImage& image = logic->session().image;
    std::vector<std::string> expected;
    for (std::size_t w = 245; w <= 268; ++w)
        expected.push_back(wordWrite(w, image.word(w)));
    EXPECT_EQ(log.writes(), expected);
    EXPECT_NE(image.word(245), kColumnPeriods[0]);
    EXPECT_EQ(controller.memory[2 * 245] | controller.memory[2 * 245 + 1] << 8, image.word(245));
    EXPECT_FALSE(find<QComboBox>("ComboBoxRpmDefs")->isVisible());
}

TEST_F(MainMapTest, NewRpmSignalTypeSendsTheEngineSpeedAxisAndTheCruiseRpm) {
    const QString rpmTexts = text(1, 0) + text(8, 0);
    window->showPage(MainWindow::kPageParameters);
    auto* coil = find<QComboBox>("ComboBoxCoilType");
    coil->setFocus();
    QTest::keyClick(coil, Qt::Key_Down);
    const EcuImage& image = logic->session().image;
    std::vector<std::string> tail;
    for (std::size_t w = 245; w <= 252; ++w)
        tail.push_back(wordWrite(w, image.word(w)));
    tail.push_back(wordWrite(78, image.word(78)));
    const auto writes = log.writes();
    ASSERT_GE(writes.size(), tail.size());
    EXPECT_EQ(std::vector<std::string>(writes.end() - static_cast<long>(tail.size()), writes.end()),
              tail);
    EXPECT_NE(image.word(245), kColumnPeriods[0]) << "the periods follow the new type";
    EXPECT_EQ(text(1, 0) + text(8, 0), rpmTexts) << "the rpm shown stay";
}

// Nine columns and seventeen rows, each two pixels short of its share; the font follows the row.
TEST_F(MainMapTest, ColumnsRowsAndFontFollowTheGridsSize) {
    const struct {
        int width, height, columnWidth, rowHeight, fontPoints;
    } cases[] = {{549, 376, 59, 20, 12}, {900, 600, 98, 33, 21}, {90, 60, 8, 8, 1}};
    for (const auto& c : cases) {
        grid->resize(c.width, c.height);
        EXPECT_EQ(grid->columnWidth(8), c.columnWidth) << c.width;
        EXPECT_EQ(grid->rowHeight(16), c.rowHeight) << c.height;
        EXPECT_EQ(grid->font().pointSize(), c.fontPoints) << c.height;
    }
}

// Period 25000 reaches column 3's axis value, 1050 mbar row 3's: grid cell (3, 4).
TEST_F(MainMapTest, LiveRecordsMoveTheOperatingPointAndRepaintOnlyWhenItMoves) {
    PaintCounter counter;
    grid->viewport()->installEventFilter(&counter);
    const auto poll = [&](std::uint16_t period, std::uint16_t pressure) {
        controller.setRecordWord(21, period);
        controller.setRecordWord(79, pressure);
        QApplication::processEvents();
        counter.paints = 0;
        pollOnce();
        QApplication::processEvents();
        return counter.paints;
    };
    EXPECT_GT(poll(25000, 1050), 0);
    EXPECT_TRUE(editor().operatingPoint().isHighlighted(3, 4));
    EXPECT_EQ(poll(25000, 1060), 0) << "same cell, no repaint";
    window->showPage(MainWindow::kPageReadings);
    EXPECT_EQ(poll(4000, 700), 0);
    EXPECT_TRUE(editor().operatingPoint().isHighlighted(8, 1)) << "moves while hidden";
    EXPECT_EQ(editor().operatingPoint().lastX, 7);
}

}  // namespace
}  // namespace kaldor::test
