// F10 reads the controller and every control then shows what it holds; the PIN lock.
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>

#include "model/units.h"
#include "ui/pages/readings/readings_page.h"
#include "widgets/ab_num_spin.h"
#include "window_logic_fixture.h"

namespace kaldor::test {
namespace {

constexpr std::array<int, 6> kLockedPages{1, 2, 3, 4, 5, 6};

TEST_F(LogicTest, ConnectingShowsTheControllersSettingsAndChangesNothing) {
    controller.memory[23] = 236;   // a switch-on temperature of -20: below the list
    controller.setWord(169, 250);  // switch-on delay 2.5 s
    controller.setWord(184, 1100);
    controller.setWord(185, 75);
    controller.memory[125] = 3;  // rpm signal type "4"
    controller.setWord(181, static_cast<std::uint16_t>(RpmToPeriod(1200, 3)));
    controller.memory[130] = 5;
    controller.setWord(187, 4005);
    controller.setWord(270, 0x1004);  // valve powered, sensor inverted, return to gas on
    controller.memory[545] = 1;       // 0-24VDC rpm signal
    controller.setWord(363, 512);
    controller.setWord(178, 900);
    showActive();
    connect();
    ParametersPage& p = window->parametersPage();
    EXPECT_EQ(p.ComboBoxTempOn->currentIndex(), -1);
    EXPECT_EQ(p.ComboBoxTempOn->currentText(), QString());
    EXPECT_DOUBLE_EQ(p.AbNumSpinOnDelay->value(), 2.5);
    EXPECT_DOUBLE_EQ(p.AbNumSpinMinPsys->value(), 1.1);
    EXPECT_DOUBLE_EQ(p.AbNumSpinOffDelay->value(), 0.75);
    EXPECT_EQ(p.ComboBoxCoilType->currentText(), QStringLiteral("4"));
    EXPECT_DOUBLE_EQ(p.AbNumSpinRpm->value(), 1200);
    EXPECT_EQ(p.ComboBoxLevelSensor->currentText(), QStringLiteral("Wika"));
    EXPECT_NEAR(p.AbNumSpinPozE->value(), 4.8861, 1e-9);
    EXPECT_TRUE(p.CheckBoxLevelSensorNegativ->isChecked());
    EXPECT_TRUE(p.CheckBoxWskaznikZasilany->isChecked());
    EXPECT_EQ(find<QComboBox>("ComboBoxGazAutoOn")->currentIndex(), 1);
    EXPECT_EQ(p.ComboBoxRpmPower->currentIndex(), 1);
    EXPECT_FALSE(p.AbNumSpinRpmVar->isHidden());
    EXPECT_NEAR(p.AbNumSpinRpmVar->value(), 3.9977, 1e-4);
    EXPECT_DOUBLE_EQ(find<AbNumSpin>("AbNumSpinCisnieniePracy")->value(), 0.9);
    // The refresh sent nothing, and the image is the controller's memory.
    EXPECT_TRUE(log.writes().empty());
    for (std::size_t i = 0; i < EcuImage::kSize; ++i)
        ASSERT_EQ(logic->session().image.byte(i), controller.memory[i]) << "byte " << i;
    EXPECT_FALSE(window->readingsPage().ButtonSetPin->isHidden());  // revision 11, no PIN
    EXPECT_EQ(pinQuestions, 0);
}

TEST_F(LogicTest, RevisionsHideAndShowGroups) {
    controller.software = 1;
    showActive();
    connect();
    EXPECT_TRUE(window->findChild<QWidget*>("GroupBoxCutOff")->isHidden());
    EXPECT_TRUE(window->findChild<QWidget*>("PanelAdvanced")->isHidden());
    EXPECT_TRUE(window->findChild<QWidget*>("GroupBoxDoubleInjectionTime")->isHidden());
    EXPECT_TRUE(window->readingsPage().ButtonSetPin->isHidden());  // below revision 11
    controller.software = 3;
    connect();
    EXPECT_FALSE(window->findChild<QWidget*>("StringGridMapaTempomatu")->isHidden());
    EXPECT_FALSE(window->findChild<QWidget*>("GroupBoxCutOff")->isHidden());
}

TEST_F(LogicTest, RightPinUnlocksAndASecondRefreshDoesNotAsk) {
    controller.setWord(374, 0x1234);
    pinAnswer = PinDigits{1, 2, 3, 4};
    showActive();
    connect();
    EXPECT_EQ(pinQuestions, 1);
    EXPECT_FALSE(window->menusLocked());
    for (int page : kLockedPages)
        EXPECT_TRUE(window->isTabShown(page)) << page;
    EXPECT_EQ(logic->session().image.word(374), 0);
    EXPECT_FALSE(window->readingsPage().ButtonSetPin->isHidden());
    logic->RefreshControls();
    EXPECT_EQ(pinQuestions, 1);
    EXPECT_TRUE(messages.empty());
}

TEST_F(LogicTest, WrongOrCancelledPinLocksAndF10AsksAgain) {
    controller.setWord(374, 0x1234);
    pinAnswer = PinDigits{1, 2, 3, 5};
    showActive();
    connect();
    EXPECT_EQ(messages, std::vector<std::string>{"ERROR PASS"});
    EXPECT_TRUE(window->menusLocked());
    for (int page : kLockedPages)
        EXPECT_FALSE(window->isTabShown(page)) << page;
    EXPECT_TRUE(window->readingsPage().ButtonSetPin->isHidden());
    // F3 does nothing while locked, nor does a click on the status lamp; the readings page
    // stays.
    QTest::keyClick(window.get(), Qt::Key_F3);
    EXPECT_EQ(window->currentPage(), 0);
    QTest::mouseClick(window->sidePanel().AbLEDStatus, Qt::LeftButton);
    EXPECT_EQ(window->currentPage(), 0);
    // F10 reads the controller again and asks again; cancelling locks again.
    pinAnswer.reset();
    QTest::keyClick(window.get(), Qt::Key_F10);
    EXPECT_EQ(pinQuestions, 2);
    EXPECT_TRUE(window->menusLocked());
    pinAnswer = PinDigits{1, 2, 3, 4};
    QTest::keyClick(window.get(), Qt::Key_F10);
    EXPECT_FALSE(window->menusLocked());
}

TEST_F(LogicTest, LockedControllerTakesNoEditFromAControlLeftFocused) {
    showActive();
    connect();
    window->showPage(1);
    AbNumSpin* spin = window->parametersPage().AbNumSpinOffDelay;
    spin->setFocus();
    QTest::qWait(1);
    ASSERT_TRUE(spin->hasFocus());
    controller.setWord(374, 0x1111);
    pinAnswer = PinDigits{9, 9, 9, 9};
    // Locks: the page is hidden under the focused control, which loses the focus.
    window->menu().F10autoconnect1->trigger();
    ASSERT_TRUE(window->menusLocked());
    window->readingsPage().EditAkum->setFocus();
    QTest::qWait(1);
    QTest::keyClick(spin, Qt::Key_Up);
    for (const std::string& frame : log.writes())
        EXPECT_TRUE(frame.rfind("D", 0) != 0 && frame.rfind("C", 0) != 0) << frame;
}

TEST_F(LogicTest, NoPinNeverAsks) {
    showActive();
    connect();
    connect();
    EXPECT_EQ(pinQuestions, 0);
    EXPECT_FALSE(window->menusLocked());
}

TEST_F(LogicTest, SetPinWritesWord374) {
    showActive();
    connect();
    newPinAnswer = PinDigits{4, 3, 2, 1};
    QTest::mouseClick(window->readingsPage().ButtonSetPin, Qt::LeftButton);
    EXPECT_EQ(log.writes(), std::vector<std::string>{"D2 76 43 21 56 F2"});
    EXPECT_EQ(controller.memory[748], 0x21);
    EXPECT_EQ(controller.memory[749], 0x43);
}

}  // namespace
}  // namespace kaldor::test
