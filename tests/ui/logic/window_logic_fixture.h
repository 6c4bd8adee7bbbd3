#pragma once
// The whole window with its logic against a scripted controller on a fake port, in virtual
// time: connecting, polling, editing and the PIN lock as a user drives them.
#include <QAction>
#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "../../core/fake_port.h"
#include "model/fields.h"
#include "ui/main_window.h"
#include "ui/pages/diagnostic_page.h"
#include "ui/pages/parameters_page.h"
#include "ui/side_panel.h"
#include "ui/window_logic.h"

namespace kaldor::test {

// The controller's side, written from the protocol: identity, memory pages, the live record,
// and writes into its memory.
struct ScriptedController {
    std::uint8_t hardware = 2;
    std::uint8_t software = 11;
    std::array<std::uint8_t, 4096> memory{};
    Bytes record = Bytes(192, 0);

    void setWord(std::size_t index, std::uint16_t v) {
        memory[2 * index] = static_cast<std::uint8_t>(v & 0xFF);
        memory[2 * index + 1] = static_cast<std::uint8_t>(v >> 8);
    }
    void setRecordWord(std::size_t w, std::uint16_t v) {
        record[2 * w] = static_cast<std::uint8_t>(v & 0xFF);
        record[2 * w + 1] = static_cast<std::uint8_t>(v >> 8);
    }
    Bytes answer(const Bytes& f) {
        const unsigned cmd = f[0];
        if (cmd == 0x01)
            return {0x49, hardware, software, 0, 0xF2};
        if (cmd == 0x02)
            return {0x43, 0, 0, 0xF2};
        if (cmd == 0xAA && f[1] == 0x01) {
            const std::size_t at = (std::size_t{f[2]} << 8) | f[3];
            return blockReply(0x01, Bytes(memory.begin() + static_cast<long>(at),
                                          memory.begin() + static_cast<long>(at) + 128));
        }
        if (cmd == 0xAA && f[1] == 0x05)
            return liveReply(record);
        if (cmd >= 0xD1 && cmd <= 0xDF)
            setWord(((cmd - 0xD1u) << 8) | f[1], (f[2] << 8) | f[3]);
        if (cmd >= 0xC1 && cmd <= 0xCF)
            memory[((cmd - 0xC1u) << 8) | f[1]] = f[3];
        return {};
    }
};

class LogicTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<MainWindow>(
            Folders{QStringLiteral("/tmp"), QStringLiteral("/tmp"), QStringLiteral("kaldor-test")});
        auto fake = std::make_unique<FakePort>(log);
        port = fake.get();
        port->existing = {1};
        port->responder = [this](int, const Bytes& f) { return controller.answer(f); };
        logic = new WindowLogic(*window, std::move(fake), std::make_unique<VirtualClock>(log));
        logic->prompts().setMessageSink([this](const std::string& m) { messages.push_back(m); });
        logic->prompts().setPinQuestions(
            [this]() -> std::optional<PinDigits> {
                ++pinQuestions;
                return pinAnswer;
            },
            [this]() -> std::optional<PinDigits> { return newPinAnswer; });
        QObject::connect(&window->diagnosticPage(), &DiagnosticPage::errorCounterMoved,
                         [this] { ++errorReads; });
        window->timer()->stop();  // ticks are driven by hand
    }
    void TearDown() override { window.reset(); }

    void showActive() {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        window->FormActivate();
    }
    void connect() {
        window->menu().F10autoconnect1->trigger();
        log.events.clear();
    }
    // One request tick and one collect tick.
    void pollOnce() {
        window->Timer1Timer();
        window->Timer1Timer();
    }
    template <class T>
    T* find(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }

    EventLog log;
    FakePort* port = nullptr;
    ScriptedController controller;
    std::unique_ptr<MainWindow> window;
    WindowLogic* logic = nullptr;
    std::vector<std::string> messages;
    std::optional<PinDigits> pinAnswer;
    std::optional<PinDigits> newPinAnswer;
    int pinQuestions = 0;
    int errorReads = 0;
};

}  // namespace kaldor::test
