// The window against the virtual controller: connecting, polling, the fuel mode and the PIN.
#include <QElapsedTimer>

#include "ui/dialogs/pin_dialogs.h"
#include "window_e2e_fixture.h"

namespace kaldor::e2etest {
namespace {

constexpr Frame kLiveRequest{0xAA, 0x05, 0x00, 0x00, 0x59, 0xF2};
constexpr Frame kPropaneCommand{0x51, 0x00, 0x00, 0x00, 0xFB, 0xF2};

// Plays the user at the PIN dialog: waits until TForm4 is the active modal window, types the
// digits one key at a time into whichever edit holds the focus, and clicks OK. The dialog runs
// inside the port scan, so this is driven from timer events of the dialog's own event loop.
class PinDialogUser : public QObject {
public:
    explicit PinDialogUser(QString digits) : m_digits(std::move(digits)) {
        m_poll.setInterval(20);
        connect(&m_poll, &QTimer::timeout, this, [this] { tryAnswer(); });
        m_poll.start();
        m_deadline.start();
    }

    [[nodiscard]] int timesAnswered() const { return m_answered; }
    // The focused control before each digit, then after the last one.
    [[nodiscard]] const QStringList& focusTrail() const { return m_focusTrail; }

private:
    static constexpr int kGiveUpMs = 30000;

    void tryAnswer() {
        auto* dialog = qobject_cast<TForm4*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            if (m_deadline.elapsed() > kGiveUpMs) {
                m_poll.stop();
            }
            return;
        }
        m_poll.stop();
        ++m_answered;
        (void)QTest::qWaitForWindowActive(dialog);
        for (const QChar digit : m_digits) {
            QWidget* focused = dialog->focusWidget();
            m_focusTrail << (focused != nullptr ? focused->objectName() : QStringLiteral("-"));
            if (focused == nullptr) {
                break;
            }
            QTest::keyClick(focused, digit.toLatin1());
        }
        QWidget* focused = dialog->focusWidget();
        m_focusTrail << (focused != nullptr ? focused->objectName() : QStringLiteral("-"));
        auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("BitBtnOK"));
        if (ok != nullptr) {
            QTest::mouseClick(ok, Qt::LeftButton);
        }
        // A disabled OK leaves the dialog open; close it so that the scan ends and the test
        // reports what went wrong instead of hanging.
        if (dialog->isVisible()) {
            dialog->reject();
        }
    }

    QString m_digits;
    QTimer m_poll;
    QElapsedTimer m_deadline;
    int m_answered = 0;
    QStringList m_focusTrail;
};

TEST_F(WindowAgainstController, F10ConnectsOnCom1ThenPollsEvery100msAndSwitchesToPropane) {
    sim::VirtualController::Options options;
    options.mode = sim::FuelMode::Diesel;
    realPauses = true;  // one scan with the pauses the real controller gets
    start(options);
    showActive();
    // Before any scan the polling step only reports the missing link: two ticks of Timer1.
    int ticks = 0;
    const QMetaObject::Connection counting =
        QObject::connect(window->timer(), &QTimer::timeout, [&ticks] { ++ticks; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 2; }, kDisplayWaitMs));
    QObject::disconnect(counting);
    EXPECT_EQ(statusCaption(), "error COMx");
    EXPECT_EQ(controller->frameCount(), 0u);

    window->menu().F10autoconnect1->trigger();

    expectConnectedOnCom1();
    expectImageMatchesController(true);
    EXPECT_TRUE(window->menu().F10autoconnect1->text().endsWith(QStringLiteral(") <<COM1>>")))
        << window->menu().F10autoconnect1->text().toStdString();
    expectLocked(false);
    EXPECT_TRUE(messages.empty()) << messages.front();

    // A second of polling: Timer1 alternates request and collect ticks, so the controller gets
    // a live request every 100 ms; the wait ends at the twelfth.
    const std::size_t mark = controller->receivedFrames().size();
    EXPECT_TRUE(waitForFramesFrom(mark, 12));
    const std::vector<sim::ReceivedFrame> polled = framesFrom(mark);
    std::vector<std::int64_t> gaps;
    for (std::size_t i = 0; i < polled.size(); ++i) {
        EXPECT_EQ(bytesOf(polled[i]), kLiveRequest) << "frame " << i << " of the polling";
        if (i > 0) {
            gaps.push_back(polled[i].timeMs - polled[i - 1].timeMs);
        }
    }
    EXPECT_GE(polled.size(), 8u);
    EXPECT_LE(polled.size(), 24u);
    ASSERT_FALSE(gaps.empty());
    std::nth_element(gaps.begin(), gaps.begin() + static_cast<std::ptrdiff_t>(gaps.size() / 2),
                     gaps.end());
    const std::int64_t median = gaps[gaps.size() / 2];
    EXPECT_GE(median, 80);
    EXPECT_LE(median, 130);

    // The readings come from the controller's records: the mode it reports, and the regulator
    // temperature (word 0, the last payload bytes on the wire), which moves only slowly.
    EXPECT_TRUE(QTest::qWaitFor([this] { return statusCaption() == "diesel"; }, kDisplayWaitMs))
        << statusCaption().toStdString();
    EXPECT_NEAR(window->sidePanel().AbBarPasTr->value(),
                static_cast<std::int16_t>(controller->liveRecord()[0]), 2.0);
    EXPECT_GT(window->sidePanel().AbBarPasRpm->value(), 500.0);

    // Ctrl+L sends the propane command once; the indicator follows the controller's report.
    const std::size_t beforeKey = controller->receivedFrames().size();
    QTest::keyClick(window.get(), Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(countArrivedFrom(beforeKey, kPropaneCommand), 1u);
    EXPECT_EQ(controller->selectedMode(), sim::FuelMode::Propane);
    EXPECT_TRUE(QTest::qWaitFor([this] { return statusCaption() == "propane"; }, kDisplayWaitMs))
        << statusCaption().toStdString();
    EXPECT_EQ(window->sidePanel().AbLEDStatus->status(), 0);
    EXPECT_FALSE(window->sidePanel().AbLEDStatus->flashing());

    // The menu item does the same.
    const std::size_t beforeItem = controller->receivedFrames().size();
    window->menu().propane1->trigger();
    EXPECT_EQ(countArrivedFrom(beforeItem, kPropaneCommand), 1u);
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(reports.empty());
}

TEST_F(WindowAgainstController, RightPinTypedIntoTheDialogUnlocksTheWindow) {
    sim::VirtualController::Options options;
    options.pin = kPin;
    start(options);
    showActive();

    PinDialogUser user(QStringLiteral("1234"));
    window->menu().F10autoconnect1->trigger();

    EXPECT_EQ(user.timesAnswered(), 1);
    // Each digit moves the focus on; the fourth completes the entry and lands on OK.
    EXPECT_EQ(user.focusTrail(), QStringList({"MaskEditPin1", "MaskEditPin2", "MaskEditPin3",
                                              "MaskEditPin4", "BitBtnOK"}));
    expectConnectedOnCom1();
    EXPECT_TRUE(messages.empty()) << messages.front();
    expectLocked(false);
    // The accepted PIN is cleared in the program's copy only; the controller keeps it.
    expectImageMatchesController(false);
    EXPECT_EQ(logic->session().image.word(374), 0);
    EXPECT_EQ(controller->readWord(374), kPin);

    activate();
    QTest::keyClick(window.get(), Qt::Key_F3);
    EXPECT_EQ(window->currentPage(), MainWindow::kPageParameters);
}

TEST_F(WindowAgainstController, WrongPinLocksUntilF10ReadsTheControllerAndAsksAgain) {
    sim::VirtualController::Options options;
    options.pin = kPin;
    start(options);
    showActive();

    std::vector<PinDigits> answers{{4, 3, 2, 1}, {1, 2, 3, 4}};
    std::size_t asked = 0;
    logic->prompts().setPinQuestions(
        [&]() -> std::optional<PinDigits> {
            return asked < answers.size() ? std::optional<PinDigits>(answers[asked++])
                                          : std::nullopt;
        },
        []() -> std::optional<PinDigits> { return std::nullopt; });

    window->menu().F10autoconnect1->trigger();
    EXPECT_EQ(asked, 1u);
    EXPECT_EQ(messages, std::vector<std::string>{"ERROR PASS"});
    expectLocked(true);
    // Locked, the link still polls: the readings page stays live.
    EXPECT_TRUE(logic->session().state.linkReady);
    EXPECT_EQ(window->currentPage(), MainWindow::kPageReadings);

    activate();
    QTest::keyClick(window.get(), Qt::Key_F3);
    QTest::qWait(100);
    EXPECT_EQ(window->currentPage(), MainWindow::kPageReadings);

    // The scan stays available: F10 reads the image again, which brings the PIN back.
    messages.clear();
    QTest::keyClick(window.get(), Qt::Key_F10);
    EXPECT_EQ(asked, 2u);
    EXPECT_TRUE(messages.empty()) << messages.front();
    expectConnectedOnCom1();
    expectLocked(false);
    expectImageMatchesController(false);
    EXPECT_TRUE(
        window->menu().F10autoconnect1->text().endsWith(QStringLiteral(") <<COM1>> <<COM1>>")))
        << window->menu().F10autoconnect1->text().toStdString();
    EXPECT_TRUE(reports.empty());
}

}  // namespace
}  // namespace kaldor::e2etest
