// The menu: its items in order with their captions, the eight keys stored as data and copied
// into the items, and the keys working from anywhere in the window unless their menu is locked.
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>

#include "ui/hot_keys.h"
#include "widgets/ab_num_spin.h"
#include "window_fixture.h"

namespace kaldor::test {
namespace {

struct StoredKey {
    std::uint16_t code;
    const char* sequence;
};

TEST(HotKeySequence, StoredCodesBecomeTheirKeys) {
    const StoredKey cases[] = {
        {0x71, "F2"},
        {0x72, "F3"},
        {0x73, "F4"},
        {0x74, "F5"},
        {0x79, "F10"},
        {16464, "Ctrl+P"},
        {0x4041, "Ctrl+A"},
        {0x404C, "Ctrl+L"},
        {0x2000 | 0x41, "Shift+A"},
        {0x8000 | 0x74, "Alt+F5"},
        {0x35, "5"},
        {0x87, "F24"},
    };
    for (const StoredKey& c : cases) {
        EXPECT_EQ(hotKeySequence(c.code), QKeySequence::fromString(QString::fromLatin1(c.sequence)))
            << "code 0x" << std::hex << c.code;
    }
}

TEST(HotKeySequence, CodesWithoutAKnownKeyGiveNoShortcut) {
    for (const std::uint16_t code : {0x0000, 0x4000, 0x0020, 0x00FF, 0x006F, 0x0088, 0xFFFF}) {
        EXPECT_TRUE(hotKeySequence(code).isEmpty()) << "code 0x" << std::hex << code;
    }
}

TEST_F(WindowTest, MenuHoldsEveryItemInOrderWithItsBuiltInCaption) {
    auto* bar = find<QMenuBar>("MainMenu1");
    ASSERT_NE(bar, nullptr);
    struct Entry {
        const char* name;
        const char* caption;
    };
    const std::vector<Entry> top = {{"File1", "file"},
                                    {"port1", "port"},
                                    {"options1", "options"},
                                    {"language1", "language"},
                                    {"help1", "help"}};
    const QList<QAction*> topActions = bar->actions();
    ASSERT_EQ(topActions.size(), static_cast<qsizetype>(top.size()));
    for (std::size_t i = 0; i < top.size(); ++i) {
        QAction* item = topActions[static_cast<qsizetype>(i)];
        const QString name =
            item->menu() != nullptr ? item->menu()->objectName() : item->objectName();
        EXPECT_EQ(name, QString::fromLatin1(top[i].name));
        EXPECT_EQ(item->text(), QString::fromLatin1(top[i].caption));
    }

    const std::map<std::string, std::vector<Entry>> items = {
        {"File1",
         {{"savetodisk1", "save to disk"},
          {"loadtoECU1", "load to ECU"},
          {"exit1", "exit"},
          {"LoadMap1", "LoadMap"},
          {"verifyECU1", "verify ECU"},
          {"comparewithfile1", "compare with file..."},
          {"exportlogasCSV1", "export log as CSV"},
          {"viewlog1", "view log..."},
          {"history1", "history..."},
          {"PrintReport1", "print report..."}}},
        {"port1", {{"F10autoconnect1", "[F10] autoconnect (COM1-16)"}}},
        {"options1",
         {{"F2readings1", "[F2]readings"},
          {"F3parameters1", "[F3]parameters"},
          {"F4adjustment1", "[F4]adjustment"},
          {"F5diagnostic1", "[F5]diagnostic"},
          {"petro1", "-> diesel"},
          {"auto1", "-> auto"},
          {"propane1", "-> propane"},
          {"RESET1", "RESET ECU"},
          {"undo1", "undo"},
          {"redo1", "redo"}}},
    };
    for (const auto& [menuName, entries] : items) {
        auto* menu = find<QMenu>(menuName.c_str());
        ASSERT_NE(menu, nullptr) << menuName;
        const QList<QAction*> actions = menu->actions();
        ASSERT_EQ(actions.size(), static_cast<qsizetype>(entries.size())) << menuName;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            EXPECT_EQ(actions[static_cast<qsizetype>(i)]->objectName(),
                      QString::fromLatin1(entries[i].name));
            EXPECT_EQ(actions[static_cast<qsizetype>(i)]->text(),
                      QString::fromLatin1(entries[i].caption));
        }
    }
}

TEST_F(WindowTest, EachHotKeySitsOnItsMenuItem) {
    const std::pair<const char*, const char*> expected[] = {
        {"F2readings1", "F2"},   {"F3parameters1", "F3"},    {"F4adjustment1", "F4"},
        {"F5diagnostic1", "F5"}, {"F10autoconnect1", "F10"}, {"petro1", "Ctrl+P"},
        {"auto1", "Ctrl+A"},     {"propane1", "Ctrl+L"},
    };
    for (const auto& [name, keys] : expected) {
        ASSERT_NE(action(name), nullptr) << name;
        EXPECT_EQ(action(name)->shortcut(), QKeySequence::fromString(QString::fromLatin1(keys)))
            << name;
    }
    for (const char* name : {"savetodisk1", "loadtoECU1", "exit1", "LoadMap1", "RESET1", "help1"}) {
        EXPECT_TRUE(action(name)->shortcut().isEmpty()) << name;
    }
}

TEST_F(WindowTest, PageKeysShowTheirPagesWhileFocusIsInsideAPage) {
    showActive();
    auto* combo = find<QComboBox>("ComboBoxScopType");
    combo->setFocus();
    ASSERT_TRUE(combo->hasFocus());
    const std::pair<Qt::Key, int> keys[] = {
        {Qt::Key_F3, 1}, {Qt::Key_F4, 2}, {Qt::Key_F5, 3}, {Qt::Key_F2, 0}};
    for (const auto& [key, page] : keys) {
        QTest::keyClick(QApplication::focusWidget(), key);
        EXPECT_EQ(window->currentPage(), page)
            << "key " << QKeySequence(key).toString().toStdString();
    }
}

TEST_F(WindowTest, FuelModeAndConnectKeysWinOverATextFieldsOwnKeysButCtrlASelects) {
    showActive();
    auto* edit = find<QLineEdit>("EditAkum");
    edit->setText(QStringLiteral("12.6V"));
    edit->setFocus();
    ASSERT_TRUE(edit->hasFocus());
    QTest::keyClick(edit, Qt::Key_L, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_P, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_F10);
    EXPECT_EQ(calls["propane"], 1);
    EXPECT_EQ(calls["diesel"], 1);
    EXPECT_EQ(calls["autoconnect"], 1);
    EXPECT_EQ(calls["auto"], 0) << "Ctrl+A in a text entry selects its text";
    EXPECT_EQ(edit->selectedText(), QStringLiteral("12.6V"));

    // In a number box likewise; elsewhere Ctrl+A is "-> auto".
    auto* spin = find<AbNumSpin>("AbNumSpinMinPsys");
    ASSERT_NE(spin, nullptr);
    window->showPage(1);
    spin->setFocus();
    ASSERT_TRUE(spin->hasFocus());
    QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(calls["auto"], 0);
    EXPECT_EQ(spin->findChild<QLineEdit*>()->selectedText(), spin->text());
    EXPECT_FALSE(spin->text().isEmpty());
    auto* list = find<QComboBox>("ComboBoxScopType");
    window->showPage(0);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(calls["auto"], 1);
}

TEST_F(WindowTest, LockedMenusSilenceTheirItemsAndKeysButNotTheConnectKey) {
    showActive();
    window->setMenusLocked(true);
    EXPECT_FALSE(find<QMenu>("File1")->menuAction()->isEnabled());
    EXPECT_FALSE(find<QMenu>("options1")->menuAction()->isEnabled());
    EXPECT_TRUE(find<QMenu>("port1")->menuAction()->isEnabled());
    EXPECT_TRUE(find<QMenu>("language1")->menuAction()->isEnabled());
    EXPECT_TRUE(action("help1")->isEnabled());

    QTest::keyClick(window.get(), Qt::Key_F3);
    QTest::keyClick(window.get(), Qt::Key_L, Qt::ControlModifier);
    QTest::keyClick(window.get(), Qt::Key_F10);
    EXPECT_EQ(window->currentPage(), 0);
    EXPECT_EQ(calls["propane"], 0);
    EXPECT_EQ(calls["autoconnect"], 1);

    window->setMenusLocked(false);
    QTest::keyClick(window.get(), Qt::Key_F3);
    EXPECT_EQ(window->currentPage(), 1);
}

}  // namespace
}  // namespace kaldor::test
