// The whole window against the virtual controller: the real WindowLogic with its real
// QtSerialPort on a pseudo-terminal, driven by menu actions and key presses in real time while
// Timer1 runs. Each port scan costs about four seconds of the protocol's pauses, so every test
// scans as few times as its story needs.
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "model/pin.h"
#include "ui/dialogs/pin_dialogs.h"
#include "ui/main_window.h"
#include "ui/pages/readings_page.h"
#include "ui/side_panel.h"
#include "ui/ui_build.h"
#include "ui/window_logic.h"
#include "virtual_controller.h"
#include "widgets/ab_bar.h"
#include "widgets/ab_led.h"

// Failure messages show texts as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace kaldor {
namespace {

using Frame = std::array<std::uint8_t, 6>;

constexpr Frame kLiveRequest{0xAA, 0x05, 0x00, 0x00, 0x59, 0xF2};
constexpr Frame kPropaneCommand{0x51, 0x00, 0x00, 0x00, 0xFB, 0xF2};
constexpr std::uint32_t kSerialNumber = 770123;
constexpr std::uint16_t kPin = packPin(1, 2, 3, 4);
constexpr std::size_t kPinByte = 2 * 374;  // ControllerPin, word 374 of the image
constexpr int kDisplayWaitMs = 5000;

const QString kTitle =
    QStringLiteral("KALDOR DIESEL v4.706 Rev.H:2 Rev.S:11 TR770  COM1 SN: 770123");

// Pages 1 to 6, the ones a wrong PIN hides.
constexpr std::array<int, 6> kLockablePages{
    MainWindow::kPageParameters, MainWindow::kPageAdjustment, MainWindow::kPageDiagnostic,
    MainWindow::kPageAdvanced,   MainWindow::kPageDna,        MainWindow::kPageEmu};

Frame bytesOf(const sim::ReceivedFrame& frame) {
    Frame out{};
    std::copy(frame.bytes.begin(), frame.bytes.end(), out.begin());
    return out;
}

class WindowAgainstController : public ::testing::Test {
protected:
    // Starts the controller, maps COM1 to its pty in the settings file, then builds the window
    // and its logic, which read the port map when they are constructed.
    void start(sim::VirtualController::Options options) {
        options.serialNumber = kSerialNumber;
        controller = std::make_unique<sim::VirtualController>(options);
        const std::string device = controller->start();
        ASSERT_TRUE(programFolder.isValid());

        const Folders folders{programFolder.path(), programFolder.path(), QStringLiteral("kaldor")};
        QFile settings(programFolder.path() + QStringLiteral("/kaldor.INI"));
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write(("[Ports]\nCOM1=" + device + "\n").c_str());
        settings.close();

        window = std::make_unique<MainWindow>(folders);
        ASSERT_EQ(window->settingsFilePath(), settings.fileName());
        window->hooks().reportException = [this](const QString& text) { reports.push_back(text); };
        logic = new WindowLogic(*window);
        logic->prompts().setMessageSink(
            [this](const std::string& text) { messages.push_back(text); });
    }

    void TearDown() override {
        window.reset();
        if (controller) {
            controller->stop();
        }
    }

    // Shown and active, as after start-up: keys reach the window's shortcuts only then.
    void showActive() {
        window->show();
        activate();
    }

    // The offscreen platform leaves a closed dialog as the focus window, and the window counts
    // as active through it (it is the dialog's parent); the window's shortcuts only work once
    // the application's active window is the window itself again.
    void activate() {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([this] {
            return QApplication::activeWindow() == window.get();
        })) << "the window did not become active";
    }

    QString statusCaption() const { return window->sidePanel().AbLEDStatus->caption(); }

    // The frames the controller received from index `from` of its log on.
    std::vector<sim::ReceivedFrame> framesFrom(std::size_t from) const {
        std::vector<sim::ReceivedFrame> all = controller->receivedFrames();
        if (from >= all.size()) {
            return {};
        }
        return {all.begin() + static_cast<std::ptrdiff_t>(from), all.end()};
    }

    // The program's image against the controller's memory; the PIN word is left to the
    // caller, since an accepted or refused PIN check clears it in the program's copy.
    void expectImageMatchesController(bool includingPin) const {
        const auto expected = controller->image();
        const auto& actual = logic->session().image.bytes();
        ASSERT_EQ(actual.size(), expected.size());
        std::size_t differing = 0;
        std::size_t first = expected.size();
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const bool pinByte = i == kPinByte || i == kPinByte + 1;
            if ((includingPin || !pinByte) && actual[i] != expected[i]) {
                ++differing;
                first = std::min(first, i);
            }
        }
        EXPECT_EQ(differing, 0u) << "first differing byte " << first;
    }

    void expectConnectedOnCom1() const {
        const ConnectionState& state = logic->session().state;
        EXPECT_TRUE(state.connected);
        EXPECT_TRUE(state.linkReady);
        EXPECT_EQ(state.hardwareRevision, 2);
        EXPECT_EQ(state.softwareRevision, 11);
        EXPECT_EQ(window->windowTitle(), kTitle);
    }

    void expectLocked(bool locked) const {
        EXPECT_EQ(window->menusLocked(), locked);
        for (int page : kLockablePages) {
            EXPECT_EQ(window->isTabShown(page), !locked) << "page " << page;
        }
        EXPECT_EQ(window->readingsPage().ButtonSetPin->isVisibleTo(window.get()), !locked);
    }

    QTemporaryDir programFolder;
    std::unique_ptr<sim::VirtualController> controller;
    std::unique_ptr<MainWindow> window;
    WindowLogic* logic = nullptr;  // owned by the window
    std::vector<std::string> messages;
    std::vector<QString> reports;
};

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
    start(options);
    showActive();
    // Before any scan the polling step only reports the missing link.
    QTest::qWait(200);
    EXPECT_EQ(statusCaption(), "error COMx");
    EXPECT_EQ(controller->frameCount(), 0u);

    window->menu().F10autoconnect1->trigger();

    expectConnectedOnCom1();
    expectImageMatchesController(true);
    EXPECT_TRUE(window->menu().F10autoconnect1->text().endsWith(QStringLiteral(") <<COM1>>")))
        << window->menu().F10autoconnect1->text().toStdString();
    expectLocked(false);
    EXPECT_TRUE(messages.empty()) << messages.front();

    // Two seconds of the event loop: Timer1 alternates request and collect ticks.
    const std::size_t mark = controller->receivedFrames().size();
    QTest::qWait(2000);
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
    int propaneCommands = 0;
    for (const sim::ReceivedFrame& frame : framesFrom(beforeKey)) {
        propaneCommands += bytesOf(frame) == kPropaneCommand;
    }
    EXPECT_EQ(propaneCommands, 1);
    EXPECT_EQ(controller->selectedMode(), sim::FuelMode::Propane);
    EXPECT_TRUE(QTest::qWaitFor([this] { return statusCaption() == "propane"; }, kDisplayWaitMs))
        << statusCaption().toStdString();
    EXPECT_EQ(window->sidePanel().AbLEDStatus->status(), 0);
    EXPECT_FALSE(window->sidePanel().AbLEDStatus->flashing());

    // The menu item does the same.
    const std::size_t beforeItem = controller->receivedFrames().size();
    window->menu().propane1->trigger();
    propaneCommands = 0;
    for (const sim::ReceivedFrame& frame : framesFrom(beforeItem)) {
        propaneCommands += bytesOf(frame) == kPropaneCommand;
    }
    EXPECT_EQ(propaneCommands, 1);
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

constexpr std::size_t kMainMapByte = 167;  // MainMap: 16 rows of 8 bytes

// The controller's main map, row by row.
std::array<int, 128> mapOf(const sim::VirtualController& controller) {
    std::array<int, 128> map{};
    for (std::size_t i = 0; i < map.size(); ++i) {
        map[i] = controller.readByte(kMainMapByte + i);
    }
    return map;
}

// "smooth" as the installer's manual describes it: four passes, each moving a cell by one
// towards the mean of its 3 x 3 box (edges counted again) when that mean is more than half away.
std::array<int, 128> smoothed(std::array<int, 128> map) {
    for (int pass = 0; pass < 4; ++pass) {
        const std::array<int, 128> start = map;
        for (int r = 0; r < 16; ++r) {
            for (int c = 0; c < 8; ++c) {
                int sum = 0;
                for (int i = r - 1; i <= r + 1; ++i) {
                    for (int j = c - 1; j <= c + 1; ++j) {
                        sum += start[static_cast<std::size_t>(std::clamp(i, 0, 15) * 8 +
                                                              std::clamp(j, 0, 7))];
                    }
                }
                int& cell = map[static_cast<std::size_t>(r * 8 + c)];
                const int b = start[static_cast<std::size_t>(r * 8 + c)];
                cell = sum >= 9 * b + 5 ? b + 1 : sum <= 9 * b - 5 ? b - 1 : b;
            }
        }
    }
    return map;
}

TEST_F(WindowAgainstController, F4ShowsTheControllersMapAndItsEditsReachTheController) {
    start(sim::VirtualController::Options{});
    showActive();
    window->menu().F10autoconnect1->trigger();
    expectConnectedOnCom1();
    activate();
    QTest::keyClick(window.get(), Qt::Key_F4);
    ASSERT_EQ(window->currentPage(), MainWindow::kPageAdjustment);

    auto* grid = window->findChild<QTableWidget*>(QStringLiteral("StringGridMapa"));
    ASSERT_NE(grid, nullptr);
    const auto expectGridShows = [&](const std::array<int, 128>& map, const char* when) {
        for (int r = 1; r <= 16; ++r) {
            for (int c = 1; c <= 8; ++c) {
                EXPECT_EQ(cellText(grid, c, r).toInt(),
                          map[static_cast<std::size_t>((r - 1) * 8 + c - 1)])
                    << when << ": cell " << c << "," << r;
            }
        }
    };
    // The controller takes a write on its own thread: wait until it holds the map expected.
    const auto controllerHolds = [&](const std::array<int, 128>& expected) {
        return QTest::qWaitFor([&] { return mapOf(*controller) == expected; }, kDisplayWaitMs);
    };
    std::array<int, 128> map = mapOf(*controller);
    expectGridShows(map, "after F4");
    EXPECT_EQ(cellText(grid, 0, 0), QStringLiteral("bar/rpm"));

    // Row 9, column 4 selected: the plus key adds 1, Shift and minus takes 5, each written at
    // once to that one byte.
    constexpr std::size_t kCell = 8 * 8 + 3;
    const QRect cell = grid->visualRect(grid->model()->index(9, 4));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    QTest::keyClick(grid, Qt::Key_Plus);
    map[kCell] += 1;
    EXPECT_TRUE(controllerHolds(map)) << "plus key";
    QTest::keyClick(grid, Qt::Key_Minus, Qt::ShiftModifier);
    map[kCell] -= 5;
    EXPECT_TRUE(controllerHolds(map)) << "Shift and minus";
    expectGridShows(map, "after the keys");

    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("ButtonMapSmooth")),
                      Qt::LeftButton);
    const std::array<int, 128> even = smoothed(map);
    ASSERT_NE(even, map) << "the controller's map has something to smooth";
    EXPECT_TRUE(controllerHolds(even)) << "smooth";
    expectGridShows(even, "after smoothing");
    EXPECT_TRUE(messages.empty()) << messages.front();
    EXPECT_TRUE(reports.empty());
}

}  // namespace
}  // namespace kaldor
