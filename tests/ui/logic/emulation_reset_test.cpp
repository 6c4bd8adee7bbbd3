// The EMU page and "RESET ECU" as the user drives them: the emulator switch and relay mode, the
// presets with the signal directions, SET from the measured range, and the factory reset with
// its confirmation.
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include <array>

#include <QCheckBox>
#include <QLineEdit>

#include "emulation/emulator_maps.h"
#include "model/pin.h"
#include "ui/pages/emu/emu_maps_panel.h"
#include "ui/pages/emu/emu_page.h"
#include "ui/ui_build.h"
#include "widgets/ab_num_spin.h"
#include "window_logic_fixture.h"

namespace kaldor::test {
namespace {

using Row = std::array<int, 12>;

std::string wordFrame(std::size_t index, std::uint16_t value) {
    const auto f = writeWordFrame(index, value);
    return hex(f.data(), f.size());
}
// Byte writes are commands 0xC1 to 0xCF, word writes 0xD1 to 0xDF.
long countWrites(const std::vector<std::string>& writes, char kind) {
    return std::count_if(writes.begin(), writes.end(),
                         [kind](const std::string& w) { return w.front() == kind; });
}

constexpr std::uint16_t kPin = packPin(1, 2, 3, 4);

struct EmuTest : LogicTest {
    // The emulator on, channel 1 rising and channel 2 falling, the air flow as input with 0.3 V
    // in axis column 2; a PIN and a serial number of the controller's own.
    void SetUp() override {
        LogicTest::SetUp();
        controller.memory[549] = 0x10;  // DnaEmulatorOn
        controller.memory[550] = 0x02;  // DnaSignal2Falling
        controller.memory[20] = 5;      // EmuInputChannel: AIR FLOW
        controller.setWord(27, 246);    // 0.30 V
        controller.setWord(242, 0x4321);
        controller.setWord(243, 0x0008);
        controller.setWord(374, kPin);
        pinAnswer = PinDigits{1, 2, 3, 4};
        showActive();
        connect();
        window->showPage(MainWindow::kPageEmu);
    }
    // Chooses an item with one key on the closed list, so its handler runs once; the log starts
    // after the focus came (the list that lost it ran its handler again).
    void pick(const char* name, int index) {
        auto* box = find<QComboBox>(name);
        box->setFocus();
        box->setCurrentIndex(index > 0 ? index - 1 : 1);
        log.events.clear();
        QTest::keyClick(box, index > 0 ? Qt::Key_Down : Qt::Key_Up);
        ASSERT_EQ(box->currentIndex(), index) << name;
    }
    int item(const char* name) const { return find<QComboBox>(name)->currentIndex(); }
    Row row(const char* grid, int r) const {
        Row values{};
        for (int c = 1; c <= 12; ++c)
            values[static_cast<std::size_t>(c - 1)] =
                cellText(find<QTableWidget>(grid), c, r).toInt();
        return values;
    }
    Row memoryRow(std::size_t first) const {
        Row values{};
        for (std::size_t i = 0; i < 12; ++i)
            values[i] = static_cast<std::int8_t>(controller.memory[first + i]);
        return values;
    }
    std::uint16_t memoryWord(std::size_t index) const {
        return static_cast<std::uint16_t>(controller.memory[2 * index] |
                                          controller.memory[2 * index + 1] << 8);
    }
    bool mapsShown() const { return find<QGroupBox>("GroupBoxMapsEmu")->isVisible(); }
    void click(const char* grid, int column, int row) {
        auto* g = find<QTableWidget>(grid);
        const QRect cell = g->visualRect(g->model()->index(row, column));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    }
};

TEST_F(EmuTest, SwitchAndRelayModeKeepEachOtherAndTheMapsInStep) {
    const struct {
        const char* list;
        int item;
        std::uint16_t word274;
        int switchItem, relayItem;
        bool maps;
    } cases[] = {
        {"ComboBoxeEmulatorRelayOn", 2, 0x8000, 0, 2, true},  // "on Digital"
        {"ComboBoxDNAEmuSelect", 0, 0x0000, 0, 0, false},     // "OFF"
        {"ComboBoxDNAEmuSelect", 1, 0x1000, 1, 1, true},      // "ON"
    };
    ASSERT_TRUE(mapsShown());
    for (const auto& c : cases) {
        pick(c.list, c.item);
        EXPECT_EQ(log.writes(), std::vector<std::string>{wordFrame(274, c.word274)}) << c.list;
        EXPECT_EQ(item("ComboBoxDNAEmuSelect"), c.switchItem) << c.list;
        EXPECT_EQ(item("ComboBoxeEmulatorRelayOn"), c.relayItem) << c.list;
        EXPECT_EQ(mapsShown(), c.maps) << c.list;
    }
}

// The preset values go in negated for the rising channel 1; a MODE leaves the throttle table,
// a DYNAMIC the step table, and a DYNAMIC takes a K1 signal as its input whatever was chosen.
TEST_F(EmuTest, PresetsWriteTheirTablesWithTheSignsOfTheSignalDirections) {
    const Row mode3{0, 2, 5, 10, 15, 15, 20, 20, 20, 20, 20, 20};
    const Row dynamic1{0, 0, 2, 5, 8, 10, 15, 10, 8, 5, 2, 0};
    const auto negated = [](Row r) {
        for (int& v : r)
            v = -v;
        return r;
    };
    const struct {
        int preset;
        Row stepK1, stepK2, tpsK1, tpsK2;
        int tpsOn, stepOn, input;
        long bytes, words;
    } cases[] = {
        {3, negated(mode3), mode3, Row{}, Row{}, 0, 1, 1, 48, 13},
        {6, negated(mode3), mode3, negated(dynamic1), dynamic1, 1, 0, 2, 49, 13},
    };
    for (const auto& c : cases) {
        pick("ComboBoxDnaType", c.preset);
        const auto writes = log.writes();
        EXPECT_EQ(countWrites(writes, 'C'), c.bytes) << c.preset;  // (the input) and 48 cells
        EXPECT_EQ(countWrites(writes, 'D'), c.words) << c.preset;  // 273 and the 12 axis words
        EXPECT_EQ(row("StringGridStepEmu", 1), c.stepK1) << c.preset;
        EXPECT_EQ(row("StringGridStepEmu", 2), c.stepK2) << c.preset;
        EXPECT_EQ(row("StringGridTpsEmulator", 1), c.tpsK1) << c.preset;
        EXPECT_EQ(row("StringGridTpsEmulator", 2), c.tpsK2) << c.preset;
        EXPECT_EQ(memoryRow(27), c.stepK1) << c.preset;
        EXPECT_EQ(memoryRow(39), c.stepK2) << c.preset;
        EXPECT_EQ(memoryRow(76), c.tpsK1) << c.preset;
        EXPECT_EQ(memoryRow(88), c.tpsK2) << c.preset;
        EXPECT_EQ(item("ComboBoxTpsEmul"), c.tpsOn) << c.preset;
        EXPECT_EQ(item("ComboBoxEmulatorStep"), c.stepOn) << c.preset;
        EXPECT_EQ(item("ComboBoxActivInput"), c.input) << c.preset;
    }
    EXPECT_EQ(controller.memory[20], 9);
    EXPECT_EQ(memoryWord(27), 79) << "0.30 converted as volts of a K1 signal";
    EXPECT_TRUE(messages.empty());
}

TEST_F(EmuTest, SetBuildsTheAxisFromTheMeasuredRangeOrRefusesTooSmallARange) {
    pick("ComboBoxActivInput", 2);  // K1 Sig
    const struct {
        double minimum, maximum;
        std::vector<std::string> messages;
        std::vector<const char*> axis;
        long words;
    } cases[] = {
        {1.2, 2.1, {"Error Signal-1 Range too small"}, {}, 0},
        {1.0,
         4.0,
         {},
         {"1", "1.25", "1.3", "1.6", "2", "2.375", "2.725", "3", "3.25", "3.5", "3.75", "4"},
         13},
    };
    auto* grid = find<QTableWidget>("StringGridTpsEmulator");
    for (const auto& c : cases) {
        EmulatorExtremes& measured = window->emuPage().extremes();
        measured.reset();
        measured.measure(c.minimum, 0);
        measured.measure(c.maximum, 0);
        const QString before = cellText(grid, 2, 0);
        messages.clear();
        log.events.clear();
        QTest::mouseClick(find<QPushButton>("ButtonDnaSet"), Qt::LeftButton);
        EXPECT_EQ(messages, c.messages) << c.maximum;
        EXPECT_DOUBLE_EQ(find<AbNumSpin>("AbNumSpinDnaMin1")->value(), c.minimum);
        EXPECT_DOUBLE_EQ(find<AbNumSpin>("AbNumSpinDnaMax1")->value(), c.maximum);
        EXPECT_EQ(countWrites(log.writes(), 'D'), c.words) << c.maximum;
        for (std::size_t i = 0; i < c.axis.size(); ++i)
            EXPECT_EQ(cellText(grid, static_cast<int>(i) + 1, 0), c.axis[i]) << i;
        if (c.axis.empty()) {
            EXPECT_EQ(cellText(grid, 2, 0), before);
        }
    }
    EXPECT_EQ(memoryWord(37), 1044) << "4 V of a K1 signal";
}

// An axis the new input cannot hold (blank memory under "TPS" reads 251 V, too much for the air
// flow's words) refuses the change: nothing is stored or sent and the list shows "TPS" again.
TEST_F(EmuTest, RefusedInputChangeShowsTheInputStillInUse) {
    for (std::size_t w = 26; w < 38; ++w)
        controller.setWord(w, 0xFFFF);
    controller.memory[20] = 4;  // TPS
    connect();
    auto* box = find<QComboBox>("ComboBoxActivInput");
    ASSERT_EQ(box->currentIndex(), 0);
    box->setFocus();
    messages.clear();
    log.events.clear();
    QTest::keyClick(box, Qt::Key_Down);  // "AIR FLOW"
    EXPECT_EQ(box->currentIndex(), 0);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_TRUE(log.writes().empty());
    EXPECT_EQ(controller.memory[20], 4);
}

// The value buttons and keys act on the selected cells; while the axis is edited in place the
// throttle buttons are off, and leaving the mode sends the axis. The live columns move only
// while the page is shown; "Reset" forgets the measured extremes.
TEST_F(EmuTest, ValueButtonsKeysAxisEditingAndLiveColumns) {
    const std::string cellK1Column3 = hex(writeByteFrame(78, 5).data(), 6);
    click("StringGridTpsEmulator", 3, 1);
    log.events.clear();
    QTest::mouseClick(find<QPushButton>("ButtonInc5DnaV"), Qt::LeftButton);
    EXPECT_EQ(log.writes(), std::vector<std::string>{cellK1Column3});
    QTest::keyClick(find<QTableWidget>("StringGridTpsEmulator"), Qt::Key_Minus);
    EXPECT_EQ(controller.memory[78], 0) << "the minus key takes 5";
    click("StringGridStepEmu", 3, 1);
    log.events.clear();
    QTest::keyClick(find<QTableWidget>("StringGridStepEmu"), Qt::Key_Plus);
    EXPECT_TRUE(log.writes().empty()) << "the step grid takes no keys";

    auto* mode = find<QCheckBox>("CheckBoxModCharDNA");
    QTest::mouseClick(mode, Qt::LeftButton);
    EXPECT_FALSE(find<QPushButton>("ButtonInc5DnaV")->isEnabled());
    EXPECT_TRUE(find<QPushButton>("ButtonInc5DnaStep")->isEnabled());
    click("StringGridTpsEmulator", 1, 0);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr) << "the axis cell opens the grid's editor";
    editor->selectAll();
    QTest::keyClicks(editor, "1.5");
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    log.events.clear();
    QTest::mouseClick(mode, Qt::LeftButton);
    EXPECT_EQ(countWrites(log.writes(), 'D'), 12);
    EXPECT_EQ(memoryWord(26), 1229) << "1.5 V of the air flow, plus one";
    EXPECT_TRUE(find<QPushButton>("ButtonInc5DnaV")->isEnabled());

    const EmulatorMaps& maps = window->emuPage().mapsPanel().maps();
    controller.setRecordWord(3, 15);  // the stepper at the second breakpoint
    pollOnce();
    EXPECT_EQ(maps.liveColumn(EmuGrid::Step), 1);
    // "Reset" forgets the measured extremes; without measuring they stay as they were set.
    controller.setRecordWord(65, 0x04);
    controller.setRecordWord(9, 1000);
    pollOnce();
    controller.setRecordWord(65, 0);
    QTest::mouseClick(find<QPushButton>("ButtonResetDnaMaxMin"), Qt::LeftButton);
    pollOnce();
    EXPECT_EQ(window->emuPage().LabelDnaMaxMinK1->text(), "K1 max: -1.000 | min: 20.000");
    window->showPage(MainWindow::kPageReadings);
    controller.setRecordWord(3, 200);
    pollOnce();
    EXPECT_EQ(maps.liveColumn(EmuGrid::Step), 1) << "still while the page is hidden";
    EXPECT_TRUE(messages.empty());
}

// The chain regulation group on the DNA page: shown by the refresh, its lists stored and sent,
// the erase commands; it and the signal emulator group fold away on a click of their frames.
TEST_F(EmuTest, ChainRegulationEraseCommandsAndFoldingGroups) {
    window->showPage(MainWindow::kPageDna);
    EXPECT_EQ(item("ComboBoxMappingTempOK"), -1) << "word 207 holds 0, no item";
    pick("ComboBoxMappingTempOK", 6);
    EXPECT_EQ(log.writes(), std::vector<std::string>{wordFrame(207, 70)});
    log.events.clear();
    QTest::mouseClick(find<QPushButton>("ButtonEraseDiesel"), Qt::LeftButton);
    QTest::mouseClick(find<QPushButton>("Button12"), Qt::LeftButton);
    // Leaving the list for the button sends its word again.
    EXPECT_EQ(log.writes(), (std::vector<std::string>{wordFrame(207, 70), "5B 00 00 00 05 F2",
                                                      "5C 00 00 00 06 F2"}));

    const struct {
        int page;
        const char* group;
        int folded, unfolded;
    } groups[] = {{MainWindow::kPageDna, "GroupBoxDNA", 18, 217},
                  {MainWindow::kPageEmu, "GroupBoxSignalEmulator", 3, 275}};
    for (const auto& g : groups) {
        window->showPage(g.page);
        auto* box = find<QGroupBox>(g.group);
        QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(box->width() / 2, 1));
        EXPECT_EQ(box->height(), g.folded) << g.group;
        QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(box->width() / 2, 1));
        EXPECT_EQ(box->height(), g.unfolded) << g.group;
    }
}

// Cancel changes nothing; OK writes the defaults with the controller's serial number and PIN,
// then the marker and the commit, then the main map's axes, and shows the defaults.
TEST_F(EmuTest, ResetEcuWritesTheDefaultsButKeepsSerialNumberAndPin) {
    controller.setRecordWord(88, 1234);  // the diesel work time of the last record
    pollOnce();
    const EcuImage before = logic->session().image;
    okCancelAnswer = Answer::Cancel;
    log.events.clear();
    window->menu().RESET1->trigger();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "RESET ECU");
    EXPECT_TRUE(log.writes().empty());
    EXPECT_EQ(logic->session().image.bytes(), before.bytes());
    EXPECT_FALSE(window->timer()->isActive());

    okCancelAnswer = Answer::Ok;
    window->menu().RESET1->trigger();
    const auto writes = log.writes();
    // The emulator tables (input, 12 axis words, 48 cells), the full write, marker and commit,
    // the 24 main-map axis words, then the 12 page reads of the verification that follows.
    constexpr std::size_t kTables = 1 + 12 + 48;
    ASSERT_EQ(writes.size(), kTables + 384 + 2 + 24 + 12);
    EXPECT_EQ(writes[kTables + 6], wordFrame(6, 1234));
    EXPECT_EQ(writes[kTables + 184], wordFrame(184, 1200));
    EXPECT_EQ(writes[kTables + 374], wordFrame(374, kPin));
    EXPECT_EQ(writes[kTables + 384], wordFrame(0, 0xAAAA));
    EXPECT_EQ(writes[kTables + 385], "45 00 00 00 EF F2");
    EXPECT_EQ(writes[writes.size() - 13], wordFrame(268, memoryWord(268)));
    EXPECT_EQ(writes.back().rfind("AA 01 02 C0", 0), 0u) << writes.back();
    EXPECT_EQ(memoryWord(242), 0x4321);
    EXPECT_EQ(memoryWord(243), 0x0008);
    EXPECT_EQ(memoryWord(374), kPin);
    EXPECT_EQ(pinQuestions, 1) << "the PIN given in this connection is not asked again";
    EXPECT_TRUE(window->timer()->isActive());
    window->timer()->stop();

    EXPECT_EQ(find<AbNumSpin>("AbNumSpinRpm")->text(), "1200");
    EXPECT_EQ(find<AbNumSpin>("AbNumSpinMinPsys")->text(), "1.2");
    EXPECT_EQ(find<AbNumSpin>("AbNumSpinOnDelay")->text(), "2.0");
    EXPECT_EQ(item("ComboBoxCoilType"), 0);
    EXPECT_EQ(item("ComboBoxActivInput"), 2);
    EXPECT_EQ(row("StringGridStepEmu", 1), Row{});
    EXPECT_EQ(cellText(find<QTableWidget>("StringGridTpsEmulator"), 2, 0), "0.30");
    EXPECT_FALSE(mapsShown()) << "the defaults switch the emulator off";
    EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace kaldor::test
