#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextEdit>

#include "service/setup_report.h"
#include "ui/hot_keys.h"
#include "ui/main_window.h"

// The main window's menu, its hot keys and the key filter that lets them win over the controls'
// own editing keys.
namespace kaldor {

void MainWindow::buildMenu() {
    auto* bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("MainMenu1"));
    setMenuBar(bar);
    m_menu.MainMenu1 = bar;

    auto addMenu = [bar](const char* name, const char* caption) {
        QMenu* menu = bar->addMenu(QString::fromLatin1(caption));
        menu->setObjectName(QString::fromLatin1(name));
        return menu;
    };
    auto addItem = [this](QWidget* owner, const char* name, const char* caption,
                          void (MainWindow::*handler)()) {
        auto* action = new QAction(QString::fromLatin1(caption), this);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, handler);
        owner->addAction(action);
        return action;
    };

    m_menu.File1 = addMenu("File1", "file");
    m_menu.savetodisk1 =
        addItem(m_menu.File1, "savetodisk1", "save to disk", &MainWindow::savetodisk1Click);
    m_menu.loadtoECU1 =
        addItem(m_menu.File1, "loadtoECU1", "load to ECU", &MainWindow::loadtoECU1Click);
    m_menu.exit1 = addItem(m_menu.File1, "exit1", "exit", &MainWindow::exit1Click);
    m_menu.LoadMap1 = addItem(m_menu.File1, "LoadMap1", "LoadMap", &MainWindow::LoadMap1Click);
    m_menu.verifyECU1 =
        addItem(m_menu.File1, "verifyECU1", "verify ECU", &MainWindow::verifyECU1Click);
    m_menu.comparewithfile1 = addItem(m_menu.File1, "comparewithfile1", "compare with file...",
                                      &MainWindow::comparewithfile1Click);
    m_menu.exportlogasCSV1 = addItem(m_menu.File1, "exportlogasCSV1", "export log as CSV",
                                     &MainWindow::exportlogasCSV1Click);
    m_menu.viewlog1 = addItem(m_menu.File1, "viewlog1", "view log...", &MainWindow::viewlog1Click);
    m_menu.history1 = addItem(m_menu.File1, "history1", "history...", &MainWindow::history1Click);
    m_menu.PrintReport1 =
        addItem(m_menu.File1, "PrintReport1", reportCaption({}, ReportCaption::MenuItem).c_str(),
                &MainWindow::PrintReport1Click);

    m_menu.port1 = addMenu("port1", "port");
    m_menu.F10autoconnect1 = addItem(m_menu.port1, "F10autoconnect1", "[F10] autoconnect (COM1-16)",
                                     &MainWindow::F10autoconnect1Click);

    m_menu.options1 = addMenu("options1", "options");
    m_menu.F2readings1 =
        addItem(m_menu.options1, "F2readings1", "[F2]readings", &MainWindow::F2readings1Click);
    m_menu.F3parameters1 = addItem(m_menu.options1, "F3parameters1", "[F3]parameters",
                                   &MainWindow::F3parameters1Click);
    m_menu.F4adjustment1 = addItem(m_menu.options1, "F4adjustment1", "[F4]adjustment",
                                   &MainWindow::F4adjustment1Click);
    m_menu.F5diagnostic1 = addItem(m_menu.options1, "F5diagnostic1", "[F5]diagnostic",
                                   &MainWindow::F5diagnostic1Click);
    m_menu.petro1 = addItem(m_menu.options1, "petro1", "-> diesel", &MainWindow::petro1Click);
    m_menu.auto1 = addItem(m_menu.options1, "auto1", "-> auto", &MainWindow::auto1Click);
    m_menu.propane1 =
        addItem(m_menu.options1, "propane1", "-> propane", &MainWindow::propane1Click);
    m_menu.RESET1 = addItem(m_menu.options1, "RESET1", "RESET ECU", &MainWindow::RESET1Click);
    m_menu.undo1 = addItem(m_menu.options1, "undo1", "undo", &MainWindow::undo1Click);
    m_menu.undo1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_menu.redo1 = addItem(m_menu.options1, "redo1", "redo", &MainWindow::redo1Click);
    m_menu.redo1->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    // Held by the window too, so the keys work with the menu bar hidden.
    addAction(m_menu.undo1);
    addAction(m_menu.redo1);

    m_menu.language1 = addMenu("language1", "language");
    m_menu.help1 = addItem(bar, "help1", "help", &MainWindow::help1Click);
}

void MainWindow::copyHotKeys() {
    for (std::size_t i = 0; i < kHotKeys.size(); ++i) {
        auto* action = findChild<QAction*>(QString::fromLatin1(kHotKeys[i].menuItem));
        m_hotKeyActions[i] = action;
        if (action != nullptr) {
            action->setShortcut(hotKeySequence(kHotKeys[i].code));
            // Held by the window as well as by the menu, so the keys do not depend on the
            // menu bar being shown.
            addAction(action);
        }
    }
}

void MainWindow::setMenusLocked(bool locked) {
    m_menusLocked = locked;
    // The items are switched with their menus: the window holds the key items as well, and a
    // disabled menu alone would leave their keys working.
    for (QMenu* menu : {m_menu.File1, m_menu.options1}) {
        menu->menuAction()->setEnabled(!locked);
        for (QAction* action : menu->actions()) {
            // Undo and redo stay: they refuse with a message of their own while locked.
            if (action != m_menu.undo1 && action != m_menu.redo1)
                action->setEnabled(!locked);
        }
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && watched != this) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget != nullptr && widget->window() == this) {
            auto* key = static_cast<QKeyEvent*>(event);
            // Inside a text entry the select-all key (Ctrl+A, also "-> auto") selects its text:
            // an installer selecting a number must not switch the engine's fuel mode.
            if (key->matches(QKeySequence::SelectAll) && isTextEntry(widget))
                return QMainWindow::eventFilter(watched, event);
            if (isEnabledHotKey(key->keyCombination())) {
                // Unaccepted: the control does not claim the key and the shortcut runs.
                key->ignore();
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::isTextEntry(const QWidget* widget) {
    if (const auto* list = qobject_cast<const QComboBox*>(widget))
        return list->isEditable();
    return qobject_cast<const QLineEdit*>(widget) != nullptr ||
           qobject_cast<const QAbstractSpinBox*>(widget) != nullptr ||
           qobject_cast<const QTextEdit*>(widget) != nullptr ||
           qobject_cast<const QPlainTextEdit*>(widget) != nullptr;
}

bool MainWindow::isEnabledHotKey(const QKeyCombination& keys) const {
    const QKeySequence pressed(
        QKeyCombination(keys.keyboardModifiers() & ~Qt::KeypadModifier, keys.key()));
    for (const QAction* action : m_hotKeyActions) {
        if (action != nullptr && action->isEnabled() && !action->shortcut().isEmpty() &&
            action->shortcut() == pressed) {
            return true;
        }
    }
    return false;
}

}  // namespace kaldor
