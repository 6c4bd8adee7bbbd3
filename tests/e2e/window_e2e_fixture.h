#pragma once
// The whole window against the virtual controller: the real WindowLogic with its real
// QtSerialPort on a pseudo-terminal, driven by menu actions and key presses in real time while
// Timer1 runs. The protocol's long pauses are cut short (BriefPauseClock) except where a test
// asks for the real ones; a port scan with them costs about three seconds. Every test scans as
// few times as its story needs, and tests that need only a connected window share one
// (ConnectedWindow). Tests wait for what they expect to see, never for a fixed time, with
// generous bounds: the machine that runs them may be busy.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "files/settings_file.h"
#include "link/qt_serial_port.h"
#include "model/pin.h"
#include "support/brief_pause_clock.h"
#include "ui/main_window.h"
#include "ui/pages/readings/readings_page.h"
#include "ui/side_panel.h"
#include "ui/window_logic.h"
#include "virtual_controller.h"
#include "widgets/ab_bar.h"
#include "widgets/ab_led.h"

// Failure messages show texts as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace kaldor::e2etest {

using Frame = std::array<std::uint8_t, 6>;

constexpr std::uint32_t kSerialNumber = 770123;
constexpr std::uint16_t kPin = packPin(1, 2, 3, 4);
constexpr std::size_t kPinByte = 2 * 374;  // ControllerPin, word 374 of the image
constexpr int kDisplayWaitMs = 10000;

const QString kTitle =
    QStringLiteral("KALDOR DIESEL v4.706 Rev.H:2 Rev.S:11 TR770  COM1 SN: 770123");

// Pages 1 to 6, the ones a wrong PIN hides.
constexpr std::array<int, 6> kLockablePages{
    MainWindow::kPageParameters, MainWindow::kPageAdjustment, MainWindow::kPageDiagnostic,
    MainWindow::kPageAdvanced,   MainWindow::kPageDna,        MainWindow::kPageEmu};

inline Frame bytesOf(const sim::ReceivedFrame& frame) {
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
        ASSERT_TRUE(programFolder->isValid());

        const Folders folders{programFolder->path(), programFolder->path(),
                              QStringLiteral("kaldor")};
        QFile settings(programFolder->path() + QStringLiteral("/kaldor.INI"));
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write(("[Ports]\nCOM1=" + device + "\n").c_str());
        settings.close();

        // The English file, as beside an installed program: the window loads it at creation.
        ASSERT_TRUE(QDir(programFolder->path()).mkpath(QStringLiteral("lang")));
        const QString english = programFolder->path() + QStringLiteral("/lang/ang.txt");
        QFile::remove(english);
        ASSERT_TRUE(QFile::copy(QStringLiteral(KALDOR_LANG_DIR "/ang.txt"), english));

        window = std::make_unique<MainWindow>(folders);
        ASSERT_EQ(window->settingsFilePath(), settings.fileName());
        if (realPauses) {
            logic = new WindowLogic(*window);
        } else {
            // The port as the window makes it, from the settings file's [Ports] section.
            auto ports =
                std::make_shared<SettingsFile>(window->settingsFilePath().toStdString(),
                                               window->settingsFallbackPath().toStdString());
            auto port = std::make_unique<QtSerialPort>(
                PortMap([ports](int number) { return portDevices(*ports)(number); }));
            logic = new WindowLogic(*window, std::move(port),
                                    std::make_unique<test::BriefPauseClock>());
        }
        installSinks();
    }

    // What the window reports, tells and shows of a verification goes to this test.
    void installSinks() {
        window->hooks().reportException = [this](const QString& text) { reports.push_back(text); };
        logic->prompts().setMessageSink(
            [this](const std::string& text) { messages.push_back(text); });
        // The difference dialog: what it was shown, and the scripted choices (then Close), so a
        // verification never waits for a screen.
        logic->verifyMenu().setDifferenceQuestion([this](const DifferenceView& view) {
            differences.push_back(view);
            if (differenceChoices.empty()) {
                return DifferenceChoice::Close;
            }
            const DifferenceChoice choice = differenceChoices.front();
            differenceChoices.pop_front();
            return choice;
        });
    }

    // Waits until the controller has received `count` frames from index `from` of its log on;
    // false when the display wait is over first.
    bool waitForFramesFrom(std::size_t from, std::size_t count) const {
        return QTest::qWaitFor([&] { return framesFrom(from).size() >= count; }, kDisplayWaitMs);
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

    // How many of the frames the controller received from index `from` on are `frame`.
    std::size_t countFrom(std::size_t from, const Frame& frame) const {
        std::size_t n = 0;
        for (const sim::ReceivedFrame& received : framesFrom(from)) {
            n += bytesOf(received) == frame;
        }
        return n;
    }

    // As countFrom, once `frame` has arrived or the display wait is over: the controller reads
    // the pty on its own thread, so a frame the program has just sent may still be on its way.
    std::size_t countArrivedFrom(std::size_t from, const Frame& frame) const {
        (void)QTest::qWaitFor([&] { return countFrom(from, frame) > 0; }, kDisplayWaitMs);
        return countFrom(from, frame);
    }

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

    // The protocol's own pauses in full, as against the real controller; set before start().
    bool realPauses = false;
    std::unique_ptr<QTemporaryDir> programFolder = std::make_unique<QTemporaryDir>();
    std::unique_ptr<sim::VirtualController> controller;
    std::unique_ptr<MainWindow> window;
    WindowLogic* logic = nullptr;  // owned by the window
    std::vector<std::string> messages;
    std::vector<QString> reports;
    std::vector<DifferenceView> differences;
    std::deque<DifferenceChoice> differenceChoices;
};

// One window connected once to a controller with the factory settings, shared by the tests of
// the suite that need nothing else: each test finds the window, the controller and the folder as
// the test before left them, so none depends on the page shown or on what an earlier one wrote.
class ConnectedWindow : public WindowAgainstController {
protected:
    static void TearDownTestSuite() {
        Shared& s = shared();
        s.window.reset();
        if (s.controller) {
            s.controller->stop();
        }
        s = {};
    }

    void SetUp() override {
        Shared& s = shared();
        if (!s.window) {
            start({});
            showActive();
            window->menu().F10autoconnect1->trigger();
            expectConnectedOnCom1();
            return;
        }
        programFolder = std::move(s.folder);
        controller = std::move(s.controller);
        window = std::move(s.window);
        logic = s.logic;
        installSinks();
        activate();
        ASSERT_TRUE(logic->session().state.linkReady) << "the shared connection was lost";
    }

    void TearDown() override {
        Shared& s = shared();
        s.folder = std::move(programFolder);
        s.controller = std::move(controller);
        s.window = std::move(window);
        s.logic = logic;
    }

private:
    struct Shared {
        std::unique_ptr<QTemporaryDir> folder;
        std::unique_ptr<sim::VirtualController> controller;
        std::unique_ptr<MainWindow> window;
        WindowLogic* logic = nullptr;
    };
    static Shared& shared() {
        static Shared s;
        return s;
    }
};

}  // namespace kaldor::e2etest
