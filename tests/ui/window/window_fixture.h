#pragma once
// A main window with every hook counting its calls, as the window tests drive it.
#include <QAction>
#include <QApplication>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "ui/main_window.h"

// Failure messages show texts as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace kaldor::test {

inline Folders testFolders() {
    return {QStringLiteral("/tmp/kaldor-base"), QStringLiteral("/opt/kaldor"),
            QStringLiteral("kaldor")};
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<MainWindow>(testFolders());
        MainWindowHooks& hooks = window->hooks();
        hooks.onAutoconnect = counter("autoconnect");
        hooks.onSaveToDisk = counter("saveToDisk");
        hooks.onLoadToEcu = counter("loadToEcu");
        hooks.onLoadMap = counter("loadMap");
        hooks.onVerifyEcu = counter("verifyEcu");
        hooks.onCompareWithFile = counter("compareWithFile");
        hooks.onExportLogCsv = counter("exportLogCsv");
        hooks.onHistory = counter("history");
        hooks.onPrintReport = counter("printReport");
        hooks.onReset = counter("reset");
        hooks.onFuelModeDiesel = counter("diesel");
        hooks.onFuelModeAuto = counter("auto");
        hooks.onFuelModePropane = counter("propane");
        hooks.onTimerTick = counter("tick");
        hooks.onFirstActivation = counter("firstActivation");
        hooks.onClose = counter("close");
        hooks.openFolder = [this](const QUrl& url) { openedFolders.push_back(url); };
        hooks.reportException = [this](const QString& text) { reports.push_back(text); };
    }

    void TearDown() override { window.reset(); }

    std::function<void()> counter(const std::string& name) {
        return [this, name] { ++calls[name]; };
    }

    // Shown and active, as after start-up: keys reach the window only then.
    void showActive() {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    template <class T = QObject>
    T* find(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }

    QAction* action(const char* name) const { return find<QAction>(name); }

    std::unique_ptr<MainWindow> window;
    std::map<std::string, int> calls;
    std::vector<QUrl> openedFolders;
    std::vector<QString> reports;
};

}  // namespace kaldor::test
