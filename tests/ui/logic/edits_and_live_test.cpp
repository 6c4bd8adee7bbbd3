// Edits as the user makes them, each sent at once; live records on the display.
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>

#include "live/live_display.h"
#include "model/units.h"
#include "service/broken_write.h"
#include "ui/pages/readings/readings_page.h"
#include "widgets/ab_num_spin.h"
#include "window_logic_fixture.h"

namespace kaldor::test {
namespace {

std::string wordFrame(std::size_t index, std::uint16_t value) {
    const auto f = writeWordFrame(index, value);
    return hex(f.data(), f.size());
}

struct EditTest : LogicTest {
    void SetUp() override {
        LogicTest::SetUp();
        showActive();
        connect();
        window->showPage(MainWindow::kPageParameters);
    }
    void type(AbNumSpin* spin, const char* text) {
        spin->setFocus();
        spin->selectAll();
        QTest::keyClicks(spin, text);
        QTest::keyClick(spin, Qt::Key_Return);
    }
    // Chooses an item as a user does with the keyboard on the closed list.
    void choose(QComboBox* box, int index) {
        box->setFocus();
        while (box->currentIndex() < index)
            QTest::keyClick(box, Qt::Key_Down);
        while (box->currentIndex() > index)
            QTest::keyClick(box, Qt::Key_Up);
    }
    ParametersPage& p() { return window->parametersPage(); }
};

TEST_F(EditTest, MinimumPressureBelow1Point1WithoutVacuumIsRaised) {
    type(p().AbNumSpinMinPsys, "0.5");
    EXPECT_EQ(log.writes(), std::vector<std::string>{wordFrame(184, 1100)});
    EXPECT_DOUBLE_EQ(p().AbNumSpinMinPsys->value(), 1.1);
    EXPECT_EQ(p().AbNumSpinMinPsys->text(), QStringLiteral("1.1"));
}

TEST_F(EditTest, UndoOfAParameterEditSendsTheOldWordAndShowsItAgain) {
    const std::uint16_t before = logic->session().image.word(184);
    const QString shown = p().AbNumSpinMinPsys->text();
    type(p().AbNumSpinMinPsys, "1.5");
    ASSERT_EQ(logic->session().image.word(184), 1500);
    log.events.clear();
    window->menu().undo1->trigger();
    EXPECT_EQ(log.writes(), std::vector<std::string>{wordFrame(184, before)});
    EXPECT_EQ(p().AbNumSpinMinPsys->text(), shown);
    window->menu().redo1->trigger();
    EXPECT_EQ(logic->session().image.word(184), 1500);
    EXPECT_EQ(p().AbNumSpinMinPsys->text(), QStringLiteral("1.5"));
}

// A change the port refuses (a pulled cable) is said once in the status line, and the program is
// left unconnected: the caption of an unconnected program, no polling, and later changes go
// nowhere without another word.
TEST_F(EditTest, AChangeThePortRefusesIsSaidOnceAndLeavesTheProgramUnconnected) {
    port->refuseAfterWrites = port->writesTaken;
    type(p().AbNumSpinMinPsys, "1.5");
    pollOnce();
    auto* status = find<QStatusBar>("StatusBar1");
    EXPECT_EQ(status->currentMessage().toStdString(), std::string(kEditRefusedStatus));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("KALDOR DIESEL v4.706"));
    EXPECT_FALSE(logic->session().state.connected);
    EXPECT_FALSE(logic->session().state.linkReady);
    EXPECT_TRUE(messages.empty());
    status->clearMessage();
    log.events.clear();
    type(p().AbNumSpinMinPsys, "1.7");
    pollOnce();
    pollOnce();
    EXPECT_TRUE(status->currentMessage().isEmpty());
    EXPECT_EQ(log.writes(),
              std::vector<std::string>{wordFrame(184, logic->session().image.word(184))})
        << "the change, to a closed port; no polling";

    // Connected again, the cable pulled while polling: the live request is what was refused.
    port->refuseAfterWrites.reset();
    connect();
    port->refuseAfterWrites = port->writesTaken;
    pollOnce();
    pollOnce();
    EXPECT_EQ(status->currentMessage().toStdString(), std::string(kRequestRefusedStatus));
    EXPECT_FALSE(logic->session().state.connected);
}

TEST_F(EditTest, VacuumDisconnectedSetsTheMinimumPressureTo1199Millibar) {
    choose(p().ComboBoxRegulatorVacum, 1);
    log.events.clear();
    choose(p().ComboBoxRegulatorVacum, 0);
    EXPECT_EQ(logic->session().image.word(184), 1199);
    const auto writes = log.writes();
    ASSERT_GE(writes.size(), 2u);
    EXPECT_EQ(writes[1], wordFrame(184, 1199));
}

TEST_F(EditTest, RpmSnapsTo1200) {
    type(p().AbNumSpinRpm, "1210");
    EXPECT_EQ(log.writes(), std::vector<std::string>{wordFrame(181, 23041)});
    EXPECT_EQ(p().AbNumSpinRpm->text(), QStringLiteral("1200"));
}

TEST_F(EditTest, WikaPresetSendsByteWordAndFourPointsInOrder) {
    choose(p().ComboBoxLevelSensor, 5);
    const EcuImage& img = logic->session().image;
    EXPECT_EQ(img.word(187), 4005);
    EXPECT_EQ(img.word(188), 3932);
    EXPECT_EQ(img.word(189), 3850);
    EXPECT_EQ(img.word(190), 3358);
    const auto writes = log.writes();
    ASSERT_GE(writes.size(), 6u);
    const auto byte130 = writeByteFrame(130, 5);
    EXPECT_EQ(writes[writes.size() - 6], hex(byte130.data(), 6));
    EXPECT_EQ(writes[writes.size() - 5], wordFrame(270, img.word(270)));
    EXPECT_EQ(writes[writes.size() - 4], wordFrame(187, 4005));
    EXPECT_EQ(writes[writes.size() - 1], wordFrame(190, 3358));
    EXPECT_TRUE(p().CheckBoxLevelSensorNegativ->isChecked());
    EXPECT_DOUBLE_EQ(p().AbNumSpinPozE->value(), 4.89);
}

// Leaving a control sends only what the user changed: an untouched one sends nothing; a typed
// text not yet confirmed is taken and sent as the focus leaves (and again for the leaving, as
// every change is); once sent, passing through sends nothing more.
TEST_F(EditTest, LeavingAControlSendsOnlyAChangeOfTheUser) {
    AbNumSpin* onDelay = p().AbNumSpinOnDelay;
    p().AbNumSpinOffDelay->setFocus();
    onDelay->setFocus();
    EXPECT_TRUE(log.writes().empty());
    onDelay->selectAll();
    QTest::keyClicks(onDelay, "2.5");
    p().AbNumSpinOffDelay->setFocus();
    EXPECT_EQ(log.writes(), std::vector<std::string>(2, wordFrame(169, 250)));
    onDelay->setFocus();
    p().AbNumSpinOffDelay->setFocus();
    EXPECT_EQ(log.writes().size(), 2u);
}

TEST_F(EditTest, ValuesSetByTheProgramSendNothing) {
    p().AbNumSpinMinPsys->setValue(2.0);
    p().ComboBoxLevelSensor->setCurrentIndex(3);
    p().CheckBoxWskaznikZasilany->setChecked(true);
    logic->RefreshControls();
    EXPECT_TRUE(log.writes().empty());
}

struct LiveTest : LogicTest {
    void SetUp() override {
        LogicTest::SetUp();
        showActive();
        connect();
        controller.setRecordWord(36, 0x0400);  // ignition on
    }
    SidePanel& side() { return window->sidePanel(); }
    void setMode(FuelMode m) {
        controller.setRecordWord(39, static_cast<std::uint16_t>(static_cast<unsigned>(m) << 7));
    }
};

TEST_F(LiveTest, StatusIndicatorShowsTheReportedMode) {
    setMode(FuelMode::Propane);
    pollOnce();
    EXPECT_EQ(side().AbLEDStatus->caption(), QStringLiteral("propane"));
    EXPECT_FALSE(side().AbLEDStatus->flashing());
    setMode(FuelMode::Error);
    controller.setRecordWord(48, 0x0100);
    pollOnce();
    EXPECT_EQ(side().AbLEDStatus->caption(), QStringLiteral("error pres."));
    EXPECT_TRUE(side().AbLEDStatus->flashing());
    controller.setRecordWord(36, 0);
    pollOnce();
    EXPECT_EQ(side().AbLEDStatus->caption(), QStringLiteral("error RPM/IGN."));
}

TEST_F(LiveTest, NotConnectedFlashesErrorCom) {
    logic->session().link.close();
    window->Timer1Timer();
    EXPECT_EQ(side().AbLEDStatus->caption(), QStringLiteral("error COMx"));
    EXPECT_TRUE(side().AbLEDStatus->flashing());
    EXPECT_EQ(side().AbLEDStatus->status(), 1);
}

TEST_F(LiveTest, TankLevelLedsAndLevelFiveLeavesThem) {
    controller.setRecordWord(49, 2);
    pollOnce();
    ReadingsPage& page = window->readingsPage();
    EXPECT_FALSE(page.AbLEDOdPoz0->checked());
    EXPECT_TRUE(page.AbLEDOdPoz1->checked());
    EXPECT_TRUE(page.AbLEDOdPoz2->checked());
    EXPECT_FALSE(page.AbLEDOdPoz3->checked());
    EXPECT_TRUE(side().AbLedPasLev3->checked());
    EXPECT_FALSE(side().AbLedPasLev4->checked());
    controller.setRecordWord(49, 7);
    pollOnce();
    EXPECT_TRUE(page.AbLEDOdPoz2->checked());
    EXPECT_TRUE(side().AbLedPasLev3->checked());
}

TEST_F(LiveTest, ErrorCounterChangeReadsTheErrorMemoryOnce) {
    controller.setRecordWord(50, 3);
    pollOnce();
    EXPECT_EQ(errorReads, 1);
    pollOnce();
    EXPECT_EQ(errorReads, 1);
    controller.setRecordWord(50, 4);
    pollOnce();
    pollOnce();
    EXPECT_EQ(errorReads, 2);
}

TEST_F(LiveTest, TheRunningModesButtonIsSelectedAndAClickWaitsForTheController) {
    auto selected = [this] {
        std::string names;
        for (AbColBitBtn* b : {side().AbColBitBtnPasBenzyna, side().AbColBitBtnPasAutomat,
                               side().AbColBitBtnPasGaz}) {
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(b);
            EXPECT_EQ(a->state().checked, b->state()) << "exposed as selected";
            if (b->state())
                names += b->objectName().toStdString();
        }
        return names;
    };
    setMode(FuelMode::Diesel);
    pollOnce();
    EXPECT_EQ(selected(), "AbColBitBtnPasBenzyna");
    const QColor dieselWord = side().AbLEDStatus->palette().color(QPalette::WindowText);
    log.events.clear();
    QTest::mouseClick(side().AbColBitBtnPasGaz, Qt::LeftButton);
    EXPECT_EQ(log.writes(), std::vector<std::string>{"51 00 00 00 FB F2"});
    // The display never switches the mode itself: it waits for the controller's report.
    EXPECT_EQ(side().AbLEDStatus->caption(), QStringLiteral("diesel"));
    EXPECT_EQ(selected(), "AbColBitBtnPasBenzyna");
    setMode(FuelMode::Propane);
    pollOnce();
    EXPECT_EQ(side().AbLEDStatus->caption(), QStringLiteral("propane"));
    EXPECT_EQ(selected(), "AbColBitBtnPasGaz");
    EXPECT_NE(side().AbLEDStatus->palette().color(QPalette::WindowText), dieselWord);
    setMode(FuelMode::Auto);
    pollOnce();
    EXPECT_EQ(selected(), "AbColBitBtnPasAutomat");
    controller.setRecordWord(36, 0);  // ignition off: no mode is shown as running
    pollOnce();
    EXPECT_EQ(selected(), "");
    std::vector<std::string> commands = log.writes();
    commands.erase(std::remove(commands.begin(), commands.end(), "AA 05 00 00 59 F2"),
                   commands.end());  // the live requests
    EXPECT_EQ(commands, std::vector<std::string>{"51 00 00 00 FB F2"});
}

TEST_F(LiveTest, PortsThatCouldNotBeOpenedAreSaidUnderTheStatusLamp) {
    PortOpenResult denied;
    denied.error = PortOpenError::PermissionDenied;
    denied.device = "/dev/ttyUSB0";
    port->openErrors[1] = denied;
    window->menu().F10autoconnect1->trigger();
    QLabel* problems = side().LabelPortProblems;
    EXPECT_FALSE(problems->isHidden());
    EXPECT_TRUE(
        problems->text().startsWith(QStringLiteral("COM1: permission denied (group dialout)")))
        << problems->text().toStdString();
    EXPECT_TRUE(problems->toolTip().contains(QStringLiteral("join the group \"dialout\"")));
    port->openErrors.clear();
    window->menu().F10autoconnect1->trigger();
    EXPECT_TRUE(problems->isHidden());
}

TEST_F(LiveTest, ReadingsReachTheGauges) {
    controller.memory[125] = 3;
    connect();
    controller.setRecordWord(36, 0x0400);
    controller.setRecordWord(21, static_cast<std::uint16_t>(RpmToPeriod(2000, 3)));
    controller.setRecordWord(6, 2000);
    pollOnce();
    EXPECT_DOUBLE_EQ(side().AbBarPasRpm->value(), 2000);
    EXPECT_EQ(window->readingsPage().EditAkum->text(), QStringLiteral("14.2V"));
}

}  // namespace
}  // namespace kaldor::test
