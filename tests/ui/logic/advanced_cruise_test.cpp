// The correction maps, the cruise map and the switch-over settings as the user drives them: keys
// and buttons on the real grids, the "SET" buttons, the presets shown across pages, the double
// injection time, the live columns, the calibration tables and the mapping chart.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include <functional>

#include "maps/correction_editor.h"
#include "maps/cruise_editor.h"
#include "ui/pages/adjustment/adjustment_page.h"
#include "ui/pages/adjustment/cruise_panel.h"
#include "ui/pages/advanced/advanced_page.h"
#include "ui/pages/advanced/correction_maps_panel.h"
#include "ui/pages/dna/dna_page.h"
#include "ui/pages/dna/mapping_chart_view.h"
#include "ui/pages/storage/storage_page.h"
#include "ui/ui_build.h"
#include "widgets/ab_num_spin.h"
#include "window_logic_fixture.h"

namespace kaldor::test {
namespace {

constexpr std::size_t kCorrectionByte = 554;
constexpr std::size_t kCruiseByte = 100;
constexpr std::size_t kMainMapByte = 167;
constexpr std::size_t kSwitchByte = 551;  // CruiseMode bits 0-2, TpsCutOffMode bits 3-5

// First byte of each correction map, in table order.
constexpr std::size_t kMapStart[] = {0, 24, 48, 72, 96, 120, 144};

std::string byteWrite(std::size_t offset, int value) {
    const auto f = writeByteFrame(offset, static_cast<std::uint8_t>(value));
    return hex(f.data(), f.size());
}
std::string wordWrite(std::size_t index, std::uint16_t value) {
    const auto f = writeWordFrame(index, value);
    return hex(f.data(), f.size());
}
// A signed percentage every correction cell starts with, so a misplaced byte shows.
int correctionAt(std::size_t map, int column) {
    return static_cast<int>((map * 13 + static_cast<std::size_t>(column) * 7) % 60) - 20;
}

struct AdvancedCruiseTest : LogicTest {
    void SetUp() override {
        LogicTest::SetUp();
        for (std::size_t m = 0; m < 7; ++m)
            for (int c = 0; c < (m == 6 ? 16 : 24); ++c)
                setCorrection(m, c, correctionAt(m, c));
        for (std::size_t c = 0; c < 24; ++c)
            controller.memory[kCruiseByte + c] = static_cast<std::uint8_t>(10 * c);
        controller.memory[546] = 0x45;  // the EGT, gas temperature and differential maps on
        controller.hardware = 1;        // the emulator mode list is offered
        showActive();
        connect();
    }
    void setCorrection(std::size_t map, int column, int value) {
        controller.memory[kCorrectionByte + kMapStart[map] + static_cast<std::size_t>(column)] =
            static_cast<std::uint8_t>(value);
    }
    void click(QTableWidget* grid, int column, int row,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const QRect cell = grid->visualRect(grid->model()->index(row, column));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, cell.center());
    }
    // The frames written and the pauses of 5 ms after map bytes, in order.
    std::vector<std::string> writesAndBytePauses() const {
        std::vector<std::string> out;
        for (const std::string& e : log.events)
            if (e.rfind("write ", 0) == 0 || e == "pause 5")
                out.push_back(e.rfind("write ", 0) == 0 ? e.substr(6) : e);
        return out;
    }
    void press(const char* name) { find<QPushButton>(name)->click(); }
    void choose(const char* name, int index) {
        auto* box = find<QComboBox>(name);
        box->setFocus();
        while (box->currentIndex() < index)
            QTest::keyClick(box, Qt::Key_Down);
        while (box->currentIndex() > index)
            QTest::keyClick(box, Qt::Key_Up);
    }
};

TEST_F(AdvancedCruiseTest, RefreshShowsTheControllersCorrectionsSignedAndItsCruiseMap) {
    for (std::size_t m = 0; m < 7; ++m) {
        const auto& map = correctionMaps()[m];
        auto* grid = find<QTableWidget>(map.grid);
        for (int c = 0; c < map.columns; ++c)
            ASSERT_EQ(cellText(grid, c, 1), QString::number(correctionAt(m, c))) << map.grid << c;
        EXPECT_EQ(find<QComboBox>(map.enableCombo)->currentIndex(), (0x45 >> m) & 1) << map.grid;
    }
    auto* cruise = find<QTableWidget>("StringGridMapaTempomatu");
    for (int c = 0; c < 24; ++c)
        EXPECT_EQ(cellText(cruise, c, 1), QString::number(10 * c)) << c;
    EXPECT_EQ(cellText(cruise, 23, 0), QStringLiteral("3.6")) << "the axis of revision 4 on";
}

// Any key released edits the selection: plus and minus step it within -90..100, any other key
// sends it again unchanged. Each byte is followed by a 5 ms pause; releasing Shift is a key
// released on the grid as well, so a Shift step is sent a second time, unchanged.
TEST_F(AdvancedCruiseTest, CorrectionKeysStepTheSelectedCellWithinItsLimits) {
    const struct {
        std::size_t map;
        int column;
        int start;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int sentColumn;
        int sent;
    } cases[] = {
        {0, 3, 98, Qt::Key_Plus, Qt::ShiftModifier, 3, 100},
        {2, 5, -88, Qt::Key_Underscore, Qt::ShiftModifier, 5, -90},
        {6, 15, 7, Qt::Key_Plus, Qt::KeypadModifier, 15, 8},
        {1, 0, 100, Qt::Key_Equal, Qt::NoModifier, 0, 100},
        {3, 9, -90, Qt::Key_Minus, Qt::NoModifier, 9, -90},
        {4, 4, 12, Qt::Key_Right, Qt::NoModifier, 5, correctionAt(4, 5)},
    };
    for (const auto& c : cases)
        setCorrection(c.map, c.column, c.start);
    connect();
    window->showPage(MainWindow::kPageAdvanced);
    for (const auto& c : cases) {
        auto* grid = find<QTableWidget>(correctionMaps()[c.map].grid);
        click(grid, c.column, 1);
        log.events.clear();
        QTest::keyClick(grid, c.key, c.modifiers);
        const std::size_t offset = kCorrectionByte + kMapStart[c.map] + c.sentColumn;
        std::vector<std::string> expected{byteWrite(offset, c.sent), "pause 5"};
        if (c.modifiers & Qt::ShiftModifier)
            expected.insert(expected.end(), {byteWrite(offset, c.sent), "pause 5"});
        EXPECT_EQ(writesAndBytePauses(), expected) << grid->objectName().toStdString();
        EXPECT_EQ(cellText(grid, c.sentColumn, 1), QString::number(c.sent));
        EXPECT_EQ(static_cast<std::int8_t>(controller.memory[offset]), c.sent);
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(AdvancedCruiseTest, CruiseButtonsAndKeysStepTheSelectionRightToLeft) {
    controller.memory[kCruiseByte + 4] = 248;
    controller.memory[kCruiseByte + 5] = 249;
    controller.memory[kCruiseByte + 6] = 3;
    connect();
    window->showPage(MainWindow::kPageAdjustment);
    auto* grid = find<QTableWidget>("StringGridMapaTempomatu");
    const auto button = [this](const char* name) { return [this, name] { press(name); }; };
    const auto key = [grid](Qt::Key k) { return [grid, k] { QTest::keyClick(grid, k); }; };
    const struct {
        const char* what;
        int from, to;  // selected columns
        std::function<void()> act;
        std::vector<std::pair<int, int>> sent;  // column, value, in order
    } cases[] = {
        {"+5", 4, 5, button("ButtonTempoP5"), {{5, 250}, {4, 250}}},
        {"-1", 4, 5, button("ButtonTempoM1"), {{5, 249}, {4, 249}}},
        {"-5", 6, 6, button("ButtonTempoM5"), {{6, 0}}},
        {"+1", 6, 6, button("ButtonTempoP1"), {{6, 1}}},
        {"plus key", 6, 6, key(Qt::Key_Plus), {{6, 2}}},
        {"a letter", 6, 6, key(Qt::Key_A), {{6, 2}}},
    };
    for (const auto& c : cases) {
        click(grid, c.from, 1);
        click(grid, c.to, 1, Qt::ShiftModifier);
        log.events.clear();
        c.act();
        std::vector<std::string> expected;
        for (const auto& [column, value] : c.sent) {
            expected.insert(expected.end(), {byteWrite(kCruiseByte + column, value), "pause 5"});
            EXPECT_EQ(cellText(grid, column, 1), QString::number(value)) << c.what;
        }
        EXPECT_EQ(writesAndBytePauses(), expected) << c.what;
    }
}

// The threshold from the live signal; the cut-off time becomes 100 ms in every mode, refused or
// not, and the advanced page shows both again.
TEST_F(AdvancedCruiseTest, SetTpsLearnsTheCutOffOrRefusesAndAlwaysResetsTheTime) {
    const struct {
        int mode;
        std::uint16_t throttle, airFlow;
        std::string message;
        std::vector<std::string> writes;
        QString levelShown;
    } cases[] = {
        {1,
         1000,
         0,
         "TPS cutoff voltage: 4.31",
         {wordWrite(76, 1125), byteWrite(151, 100)},
         QStringLiteral("4.31")},
        {4,
         0,
         300,
         "AirFlow CUTOFF VOLTAGE LOW: 0.37",
         {byteWrite(151, 100)},
         QStringLiteral("1.0")},
    };
    for (const auto& c : cases) {
        controller.memory[kSwitchByte] = static_cast<std::uint8_t>(c.mode << 3);
        controller.setWord(76, 819);  // 1.0 V on the air-flow input
        controller.memory[151] = 20;
        connect();
        controller.setRecordWord(4, c.throttle);
        controller.setRecordWord(5, c.airFlow);
        pollOnce();
        window->showPage(MainWindow::kPageAdjustment);
        messages.clear();
        log.events.clear();
        press("ButtonSetTps");
        EXPECT_EQ(messages, std::vector<std::string>{c.message});
        EXPECT_EQ(log.writes(), c.writes) << c.mode;
        EXPECT_EQ(find<AbNumSpin>("AbNumSpinTpsCutOff")->text(), c.levelShown) << c.mode;
        EXPECT_EQ(find<AbNumSpin>("AbNumSpinCutOffTime")->value(), 100) << c.mode;
    }
}

// Choosing a preset on one page shows the fields it stored on the advanced page.
TEST_F(AdvancedCruiseTest, PresetsAndCruiseDefaultsShowOnTheAdvancedPage) {
    window->showPage(MainWindow::kPageParameters);
    choose("ComboBoxDciEn", 8);  // "Diesel Map (Mode 3)"
    EXPECT_EQ(find<QComboBox>("ComboBoxEmulatorType")->currentIndex(), 1);
    EXPECT_EQ(find<AbNumSpin>("AbNumSpinV2")->value(), 30);
    EXPECT_EQ(find<AbNumSpin>("AbNumSpinV4")->value(), 60);
    choose("ComboBoxEnginePower", 5);  // "250 - 350 HP"
    EXPECT_EQ(find<QComboBox>("ComboBoxDK")->currentIndex(), 1);
    EXPECT_EQ(find<AbNumSpin>("AbNumSpinDynamicK")->value(), 120);
    EXPECT_EQ(log.writes().back(), wordWrite(175, 120));

    window->showPage(MainWindow::kPageAdvanced);
    log.events.clear();
    choose("ComboBoxLevel", 1);  // "IdS 2": the revision assumed from now on, nothing sent
    EXPECT_EQ(logic->session().state.softwareRevision, 2u);
    EXPECT_TRUE(log.writes().empty());

    window->showPage(MainWindow::kPageAdjustment);
    choose("ComboBoxCruise", 1);  // cruise boost
    log.events.clear();
    press("ButtonTempomat");
    EXPECT_EQ(log.writes(), (std::vector<std::string>{wordWrite(77, 1150), byteWrite(140, 10)}));
    EXPECT_EQ(find<AbNumSpin>("AbNumSpinCrusBar")->text(), QStringLiteral("1.15"));
    EXPECT_EQ(find<AbNumSpin>("AbNumSpinCrusTime")->value(), 10);
}

// Leaving a list the user did not change sends nothing. After a change, the lists that run only
// on a change send nothing more when the focus leaves them; the others send again.
TEST_F(AdvancedCruiseTest, LeavingAListSendsAgainOnlyWhereItsHandlerRunsOnFocusLoss) {
    const struct {
        int page;
        const char* list;
        bool sends;
    } cases[] = {
        {MainWindow::kPageAdvanced, "ComboBoxDK", false},
        {MainWindow::kPageParameters, "ComboBoxEnginePower", false},
        {MainWindow::kPageParameters, "ComboBoxDoubleTime", false},
        {MainWindow::kPageAdjustment, "ComboBoxCruise", true},
        {MainWindow::kPageAdjustment, "ComboBoxTpsCutOff", true},
        {MainWindow::kPageAdvanced, "ComboBoxEmulatorType", true},
        {MainWindow::kPageParameters, "ComboBoxDciEn", true},
    };
    for (const auto& c : cases) {
        window->showPage(c.page);
        auto* box = find<QComboBox>(c.list);
        box->setFocus();
        log.events.clear();
        box->clearFocus();
        EXPECT_TRUE(log.writes().empty()) << c.list << " untouched";
        box->setFocus();
        QTest::keyClick(box, box->currentIndex() + 1 < box->count() ? Qt::Key_Down : Qt::Key_Up);
        const std::size_t chosen = log.writes().size();
        EXPECT_GT(chosen, 0u) << c.list;
        box->clearFocus();
        EXPECT_EQ(log.writes().size() > chosen, c.sends) << c.list;
    }
}

// "2x" halves both maps, sends word 274, then all 24 cruise bytes and the 128 main-map bytes
// column by column, each column from the top row down.
TEST_F(AdvancedCruiseTest, DoubleInjectionTimeHalvesBothMapsAndSendsAll152Bytes) {
    for (std::size_t i = 0; i < 128; ++i)
        controller.memory[kMainMapByte + i] = static_cast<std::uint8_t>(99 + i % 3);
    connect();
    window->showPage(MainWindow::kPageParameters);
    choose("ComboBoxDoubleTime", 1);
    const EcuImage& image = logic->session().image;
    std::vector<std::string> expected{wordWrite(274, image.word(274))};
    for (std::size_t c = 0; c < 24; ++c)
        expected.push_back(byteWrite(kCruiseByte + c, static_cast<int>(5 * c)));
    for (std::size_t column = 0; column < 8; ++column)
        for (std::size_t row = 0; row < 16; ++row) {
            const std::size_t i = 8 * row + column;
            expected.push_back(byteWrite(kMainMapByte + i, (99 + i % 3) / 2));
        }
    EXPECT_EQ(log.writes(), expected);
    EXPECT_EQ(image.byte(549) & 0x02, 0x02);
    EXPECT_EQ(cellText(find<QTableWidget>("StringGridMapaTempomatu"), 23, 1),
              QStringLiteral("115"));
    EXPECT_EQ(cellText(find<QTableWidget>("StringGridMapa"), 1, 1), QStringLiteral("49"));
}

TEST_F(AdvancedCruiseTest, LiveColumnsAndAppliedCorrectionsMoveOnlyWhileTheirPageIsShown) {
    auto& maps = window->advancedPage().correctionMaps().model();
    auto* applied = find<QLineEdit>("EditMapaCisnienieKolektora");
    const auto poll = [this](std::uint16_t millibar, std::int16_t correction, std::uint16_t flags) {
        controller.setRecordWord(79, millibar);
        controller.setRecordWord(57, static_cast<std::uint16_t>(correction));
        controller.setRecordWord(65, flags);
        pollOnce();
    };
    window->showPage(MainWindow::kPageReadings);
    poll(1000, -57, 0);
    EXPECT_EQ(maps.liveColumn(3), 0) << "the advanced page is hidden";
    EXPECT_EQ(applied->text(), QStringLiteral("0.0"));
    window->showPage(MainWindow::kPageAdvanced);
    poll(1000, -57, 0);
    EXPECT_EQ(maps.liveColumn(3), 10);
    EXPECT_EQ(applied->text(), QStringLiteral("-5"));

    CruiseMapModel& cruise = window->adjustmentPage().cruise().model();
    EXPECT_EQ(cruise.liveColumn(), 0) << "the adjustment page is hidden";
    window->showPage(MainWindow::kPageAdjustment);
    poll(1000, 0, 0x08);  // cruise control holds
    EXPECT_EQ(cruise.liveColumn(), 1);
    const MapCellLook look = cruise.cellLook(1, 1, false, logic->session().frame);
    ASSERT_TRUE(look.fill.has_value());
    EXPECT_EQ(*look.fill, kActiveCellColour);
}

// The tables follow every record whatever page is shown; "Odswiez" empties the percentages,
// which come back only once both bytes are non-zero again.
TEST_F(AdvancedCruiseTest, CalibrationTablesFollowTheRecordsAndOdswiezClearsThePercentages) {
    const auto slice = [this](std::size_t firstWord, std::uint16_t word) {
        controller.setRecordWord(18, static_cast<std::uint16_t>(firstWord + 6));
        for (std::size_t k = 0; k < 6; ++k)
            controller.setRecordWord(12 + k, word);
        pollOnce();
    };
    auto* benz = find<QTableWidget>("StringGridBenz");
    auto* korektuj = find<QTableWidget>("StringGridKorektuj");
    slice(128, 80 | 120 << 8);   // diesel bytes 0..11: 80, 120, ...
    slice(192, 100 | 100 << 8);  // gas bytes 0..11: 100
    EXPECT_EQ(cellText(benz, 1, 1), QStringLiteral("80"));
    EXPECT_EQ(cellText(korektuj, 1, 1), QStringLiteral("20"));
    EXPECT_EQ(cellText(korektuj, 2, 1), QStringLiteral("-20"));
    EXPECT_EQ(cellText(korektuj, 0, 4), QStringLiteral("1.00")) << "the headings of refresh step 1";
    press("Button20");
    EXPECT_EQ(cellText(korektuj, 1, 1), QString());
    slice(192, 0);
    EXPECT_EQ(cellText(korektuj, 1, 1), QString()) << "a gas byte of 0 leaves the cell";
    log.events.clear();
    press("Button19");
    press("Button18");
    const auto diesel = frameFor(Command::CmdDeleteDiesel);
    const auto gas = frameFor(Command::CmdDeleteGas);
    EXPECT_EQ(log.writes(), (std::vector<std::string>{hex(diesel.data(), 6), hex(gas.data(), 6)}));
}

TEST_F(AdvancedCruiseTest, MappingChartIsDrawnOnlyWhileItsPageIsShown) {
    auto* box = find<QWidget>("PaintBoxMapowanie");
    const auto* view = box->findChild<MappingChartView*>();
    ASSERT_NE(view, nullptr);
    pollOnce();
    EXPECT_TRUE(view->bitmap().isNull()) << "the readings page is shown";
    window->showPage(MainWindow::kPageDna);
    controller.setRecordWord(4, 652);        // 2.5 V of throttle: the middle of the 5 V range
    controller.setRecordWord(79, 2000);      // 2 bar: the middle of the chart
    logic->session().image.setByte(482, 8);  // "5V"
    pollOnce();
    ASSERT_EQ(view->bitmap().size(), box->size());
    const QPoint middle(box->width() / 2, box->height() / 2);
    EXPECT_EQ(view->bitmap().pixelColor(middle), QColor(230, 0, 5)) << "the engine's point";
}

}  // namespace
}  // namespace kaldor::test
