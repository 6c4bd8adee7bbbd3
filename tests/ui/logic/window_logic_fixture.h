#pragma once
// The whole window with its logic against a scripted controller on a fake port, in virtual
// time: connecting, polling, editing and the PIN lock as a user drives them.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <deque>
#include <memory>

#include "model/fields.h"
#include "support/scripted_controller.h"
#include "ui/main_window.h"
#include "ui/pages/diagnostic/diagnostic_page.h"
#include "ui/pages/parameters/parameters_page.h"
#include "ui/side_panel.h"
#include "ui/window_logic.h"

namespace kaldor::test {

class LogicTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The program loads its language at creation; a folder without one would say "ERROR".
        if (withEnglishFile)
            installLanguageFile(QStringLiteral("ang.txt"));
        window =
            std::make_unique<MainWindow>(Folders{folder, folder, QStringLiteral("kaldor-test")});
        auto fake = std::make_unique<FakePort>(log);
        port = fake.get();
        port->existing = {1};
        controller.attachTo(*port);
        logic = new WindowLogic(*window, std::move(fake), std::make_unique<VirtualClock>(log));
        logic->prompts().setMessageSink([this](const std::string& m) { messages.push_back(m); });
        logic->prompts().setOkCancelSink([this](const OkCancelBox& box) {
            boxes.push_back(box);
            return okCancelAnswer;
        });
        logic->prompts().setFileSinks(
            [this](const FileQuestion& q) {
                fileQuestions.push_back(q);
                return openAnswer;
            },
            [this](const FileQuestion& q) {
                fileQuestions.push_back(q);
                return saveAnswer;
            });
        logic->prompts().setPinQuestions(
            [this]() -> std::optional<PinDigits> {
                ++pinQuestions;
                return pinAnswer;
            },
            [this]() -> std::optional<PinDigits> { return newPinAnswer; });
        // The difference dialog: what it was shown, and the scripted choices (then Close).
        logic->verifyMenu().setDifferenceQuestion([this](const DifferenceView& view) {
            differences.push_back(view);
            if (differenceChoices.empty())
                return DifferenceChoice::Close;
            const DifferenceChoice choice = differenceChoices.front();
            differenceChoices.pop_front();
            return choice;
        });
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
    template <class T>
    T* find(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    // One request tick and one collect tick.
    void pollOnce() {
        window->Timer1Timer();
        window->Timer1Timer();
    }

    // Copies a shipped language file into the folder's "lang", as beside an installed program.
    void installLanguageFile(const QString& name) const {
        QDir(folder).mkpath(QStringLiteral("lang"));
        const QString target = folder + QStringLiteral("/lang/") + name;
        QFile::remove(target);
        ASSERT_TRUE(QFile::copy(QStringLiteral(KALDOR_LANG_DIR "/") + name, target))
            << name.toStdString();
    }

    QTemporaryDir ownFolder;
    // The working and program folder; a test with files of its own sets it before SetUp.
    QString folder = ownFolder.path();
    bool withEnglishFile = true;
    EventLog log;
    FakePort* port = nullptr;
    ScriptedController controller;
    std::unique_ptr<MainWindow> window;
    WindowLogic* logic = nullptr;
    std::vector<std::string> messages;
    std::optional<PinDigits> pinAnswer;
    std::optional<PinDigits> newPinAnswer;
    int pinQuestions = 0;
    // OK/Cancel boxes and file dialogs: what was asked, and the scripted answers.
    std::vector<OkCancelBox> boxes;
    Answer okCancelAnswer = Answer::Cancel;
    std::vector<FileQuestion> fileQuestions;
    std::optional<FileAnswer> openAnswer;
    std::optional<FileAnswer> saveAnswer;
    int errorReads = 0;
    std::vector<DifferenceView> differences;
    std::deque<DifferenceChoice> differenceChoices;
};

}  // namespace kaldor::test
