// The EMU page and "RESET ECU" against the virtual controller, in real time: the presets as a
// new installer chooses them, and the factory reset of a controller with a PIN.
#include <QComboBox>
#include <QGroupBox>

#include "link/commands.h"
#include "ui/pages/emu/emu_page.h"
#include "ui/pages/parameters/parameters_page.h"
#include "widgets/ab_num_spin.h"
#include "window_e2e_fixture.h"

namespace kaldor::e2etest {
namespace {

using Row = std::array<int, 12>;

constexpr Frame kCommit{0x45, 0x00, 0x00, 0x00, 0xEF, 0xF2};

constexpr Row kMode3{0, 2, 5, 10, 15, 15, 20, 20, 20, 20, 20, 20};
constexpr Row kDynamic1{0, 0, 2, 5, 8, 10, 15, 10, 8, 5, 2, 0};

Row negated(Row r) {
    for (int& v : r) {
        v = -v;
    }
    return r;
}

class EmuAgainstController : public WindowAgainstController {
protected:
    // Chooses an item with one key on the closed list, as the installer does.
    void pick(QComboBox* box, int index) {
        ASSERT_TRUE(box->isVisible()) << box->objectName().toStdString();
        box->setFocus();
        box->setCurrentIndex(index > 0 ? index - 1 : 1);
        QTest::keyClick(box, index > 0 ? Qt::Key_Down : Qt::Key_Up);
        ASSERT_EQ(box->currentIndex(), index) << box->objectName().toStdString();
    }
    // The controller's signed percentages from `first` on.
    Row tableAt(std::size_t first) const {
        Row r{};
        for (std::size_t i = 0; i < r.size(); ++i) {
            r[i] = static_cast<std::int8_t>(controller->readByte(first + i));
        }
        return r;
    }
    // The controller takes writes on its own thread: waits until its tables are these.
    bool controllerHolds(const Row& stepK1, const Row& stepK2, const Row& tpsK1,
                         const Row& tpsK2) const {
        return QTest::qWaitFor(
            [&] {
                return tableAt(27) == stepK1 && tableAt(39) == stepK2 && tableAt(76) == tpsK1 &&
                       tableAt(88) == tpsK2;
            },
            kDisplayWaitMs);
    }
    std::optional<std::size_t> lastIndexOf(const std::vector<sim::ReceivedFrame>& frames,
                                           const Frame& frame) const {
        std::optional<std::size_t> at;
        for (std::size_t i = 0; i < frames.size(); ++i) {
            if (bytesOf(frames[i]) == frame) {
                at = i;
            }
        }
        return at;
    }
};

TEST_F(EmuAgainstController, PresetsReachTheControllerAndResetEcuRestoresItsDefaults) {
    sim::VirtualController::Options options;
    options.pin = kPin;
    start(options);
    logic->prompts().setPinQuestions(
        []() -> std::optional<PinDigits> {
            return PinDigits{1, 2, 3, 4};
        },
        []() -> std::optional<PinDigits> { return std::nullopt; });
    std::vector<std::string> boxes;
    logic->prompts().setOkCancelSink([&](const OkCancelBox& box) {
        boxes.push_back(box.text);
        return Answer::Ok;
    });
    showActive();
    window->menu().F10autoconnect1->trigger();
    expectConnectedOnCom1();
    window->showPage(MainWindow::kPageEmu);
    EmuPage& page = window->emuPage();
    const auto list = [&page](const char* name) {
        return page.findChild<QComboBox*>(QString::fromLatin1(name));
    };

    // The emulator on shows "DNA MAPS"; channel 1 rising, channel 2 falling.
    pick(page.ComboBoxDNAEmuSelect, 1);
    ASSERT_TRUE(page.GroupBoxMapsEmu->isVisible());
    pick(page.ComboBoxDnaSigRis1, 0);
    pick(page.ComboBoxDnaSigRis2, 1);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return (controller->readByte(549) & 0x10) && (controller->readByte(550) & 3) == 2; },
        kDisplayWaitMs));

    // MODE-3 fills the step table, the rising channel negated; the step map goes on.
    pick(list("ComboBoxDnaType"), 3);
    EXPECT_TRUE(controllerHolds(negated(kMode3), kMode3, Row{}, Row{}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return controller->readByte(547) & 1; }, kDisplayWaitMs))
        << "StepEmulatorOn";

    // DYNAMIC-1 after the air flow was chosen as input: the throttle table over a K1 signal.
    pick(list("ComboBoxActivInput"), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return controller->readByte(20) == 5; }, kDisplayWaitMs));
    pick(list("ComboBoxDnaType"), 6);
    EXPECT_TRUE(controllerHolds(negated(kMode3), kMode3, negated(kDynamic1), kDynamic1));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return controller->readByte(20) == 9 && (controller->readByte(546) & 0x80); },
        kDisplayWaitMs))
        << "the K1 signal as input, the throttle map on";
    EXPECT_EQ(list("ComboBoxActivInput")->currentIndex(), 2);

    // "RESET ECU": the defaults with this controller's serial number and PIN, the full write
    // followed by the image-valid marker and the commit; the pages show the defaults.
    activate();
    const std::size_t mark = controller->receivedFrames().size();
    window->menu().RESET1->trigger();
    EXPECT_EQ(boxes, std::vector<std::string>{"RESET ECU"});
    EXPECT_EQ(countArrivedFrom(mark, kCommit), 1u);
    const std::vector<sim::ReceivedFrame> frames = framesFrom(mark);
    const auto marker = lastIndexOf(frames, writeWordFrame(0, 0xAAAA));
    const auto commit = lastIndexOf(frames, kCommit);
    ASSERT_TRUE(marker && commit);
    EXPECT_EQ(*commit, *marker + 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return controller->readWord(184) == 1200; }, kDisplayWaitMs));
    EXPECT_EQ(controller->readWord(242) | (std::uint32_t{controller->readWord(243)} << 16),
              kSerialNumber);
    EXPECT_EQ(controller->readWord(374), kPin);
    EXPECT_EQ(controller->readWord(0), 0xAAAA);
    EXPECT_TRUE(controllerHolds(Row{}, Row{}, Row{}, Row{}));
    const struct {
        std::size_t byte;
        int value;
    } defaults[] = {{23, 35}, {125, 0}, {128, 3}, {167 + 8, 0}, {167 + 9, 10}, {549, 0x08}};
    for (const auto& d : defaults) {
        EXPECT_EQ(controller->readByte(d.byte), d.value) << "byte " << d.byte;
    }
    expectImageMatchesController(false);
    EXPECT_FALSE(page.GroupBoxMapsEmu->isVisibleTo(&page)) << "the emulator is off again";
    EXPECT_EQ(window->parametersPage().AbNumSpinMinPsys->text(), QStringLiteral("1.2"));
    EXPECT_EQ(window->parametersPage().AbNumSpinRpm->text(), QStringLiteral("1200"));
    window->showPage(MainWindow::kPageReadings);
    expectLocked(false);
    EXPECT_TRUE(window->timer()->isActive());
    EXPECT_TRUE(messages.empty()) << messages.front();
    EXPECT_TRUE(reports.empty());
}

}  // namespace
}  // namespace kaldor::e2etest
