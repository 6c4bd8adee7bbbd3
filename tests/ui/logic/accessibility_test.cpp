// What assistive technology reads of the window: every Tab stop named in its own words (in two
// languages), the instruments valued as they show, their changes announced at most twice a
// second.
#include <QAccessible>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QRegularExpression>
#include <QTabWidget>

#include "live/live_display.h"
#include "model/units.h"
#include "ui/accessibility/accessible_names.h"
#include "ui/commands/language.h"
#include "widgets/ab_bar.h"
#include "widgets/ab_meter.h"
#include "widgets/instrument_accessibility.h"
#include "window_logic_fixture.h"

namespace kaldor::test {
namespace {

QString groupTitle(const QWidget* widget) {
    for (const QWidget* w = widget->parentWidget(); w != nullptr; w = w->parentWidget())
        if (const auto* group = qobject_cast<const QGroupBox*>(w))
            return group->title().remove(QLatin1Char('&')).trimmed();
    return {};
}

QString accessibleText(QWidget* widget, QAccessible::Text kind) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    return iface != nullptr ? iface->text(kind) : QString();
}

struct AccessibilityTest : LogicTest {
    // "page: objectName" of every Tab stop on a shown page (and the side panel) whose name is
    // empty or only its group's title; and every name, to compare languages.
    std::vector<std::string> unnamed;
    std::map<std::string, QString> names;

    void walk() {
        unnamed.clear();
        names.clear();
        QTabWidget* pages = window->pageControl();
        for (int page = 0; page < pages->count(); ++page) {
            if (!pages->isTabVisible(page))
                continue;
            window->showPage(page);
            for (QWidget* control : tabChain(*window)) {
                if (!control->isVisible())
                    continue;
                const QString name = accessibleNameOf(control).trimmed();
                const std::string where = std::to_string(page) + ": " +
                                          control->objectName().toStdString() + " (" +
                                          control->metaObject()->className() + ")";
                // Not empty, not merely the group's title, not a list's current item (as Qt
                // names lists on Linux), not the window's caption.
                const auto* list = qobject_cast<QComboBox*>(control);
                if (name.isEmpty() || name == groupTitle(control) ||
                    (list != nullptr && name == list->currentText()) ||
                    name.startsWith(window->windowTitle()))
                    unnamed.push_back(where + " \"" + name.toStdString() + "\"");
                names[where] = name;
            }
        }
    }
};

TEST_F(AccessibilityTest, EveryTabStopOnEveryPageHasANameOfItsOwnInEitherLanguage) {
    showActive();
    window->FormActivate();
    walk();
    EXPECT_TRUE(unnamed.empty()) << ::testing::PrintToString(unnamed);
    EXPECT_GT(names.size(), 150u);
    if (qEnvironmentVariableIsSet("DUMP_NAMES"))
        for (const auto& [where, name] : names)
            std::printf("%s = %s\n", where.c_str(), name.toUtf8().constData());
    const std::map<std::string, QString> english = names;

    installLanguageFile(QStringLiteral("ger.txt"));
    logic->language().load(6);
    walk();
    EXPECT_TRUE(unnamed.empty()) << ::testing::PrintToString(unnamed);
    // The names follow the language: most of them change with it.
    std::size_t changed = 0;
    for (const auto& [where, name] : names)
        changed += english.count(where) != 0 && english.at(where) != name ? 1 : 0;
    EXPECT_GT(changed, names.size() / 3) << changed << " of " << names.size();
}

TEST_F(AccessibilityTest, InstrumentsReadAsTheyShow) {
    showActive();
    controller.memory[125] = 3;  // the engine speed signal the readings below are made for
    connect();
    controller.setRecordWord(36, 0x0400);  // ignition on
    SidePanel& side = window->sidePanel();
    struct Reading {
        double rpm;
        const char* rpmText;
    };
    for (const Reading& r : {Reading{2500, "2500"}, Reading{800, "800"}, Reading{1200, "1200"}}) {
        controller.setRecordWord(21, static_cast<std::uint16_t>(RpmToPeriod(r.rpm, 3)));
        pollOnce();
        const QString shown = accessibleText(side.AbBarPasRpm, QAccessible::Value);
        EXPECT_TRUE(shown.startsWith(QString::fromLatin1(r.rpmText)))
            << shown.toStdString() << " for " << r.rpm;
    }
    // Every bar's value is the number it shows (in its live signal's decimals and unit), and it
    // is named.
    static const QRegularExpression number(QStringLiteral("^-?[0-9]+(\\.[0-9]+)?"));
    for (AbBar* bar : window->findChildren<AbBar*>()) {
        const QString value = accessibleText(bar, QAccessible::Value);
        const double read = number.match(value).captured().toDouble();
        const double shown = number.match(bar->valueText().trimmed()).captured().toDouble();
        EXPECT_NEAR(read, shown, 0.051)
            << bar->objectName().toStdString() << ": " << value.toStdString() << " vs "
            << bar->valueText().toStdString();
        EXPECT_FALSE(accessibleText(bar, QAccessible::Name).isEmpty())
            << bar->objectName().toStdString();
    }
    for (AbLED* led : window->findChildren<AbLED*>()) {
        if (!led->isVisibleTo(window.get()))
            continue;
        EXPECT_FALSE(accessibleText(led, QAccessible::Name).isEmpty())
            << led->objectName().toStdString();
    }
    controller.setRecordWord(39, static_cast<std::uint16_t>(2u << 7));  // propane
    pollOnce();
    EXPECT_EQ(accessibleText(side.AbLEDStatus, QAccessible::Value), QStringLiteral("propane"));
    EXPECT_EQ(accessibleText(side.AbLEDStatus, QAccessible::Name), QStringLiteral("STATUS"));
}

TEST_F(AccessibilityTest, ChangesAreAnnouncedAtMostTwiceASecondWithTheLatestValue) {
    std::vector<QString> heard;
    instrument_accessibility::setAnnouncementSink(
        [&heard](QWidget*, const QString& value) { heard.push_back(value); });
    AbBar* rpm = window->sidePanel().AbBarPasRpm;
    for (int value : {1000, 1500, 2000, 2500})
        rpm->setValue(value);
    EXPECT_TRUE(heard.empty());
    // The first announcement comes once the interval is over, not before.
    QElapsedTimer since;
    since.start();
    EXPECT_TRUE(QTest::qWaitFor([&heard] { return !heard.empty(); }, 10000));
    EXPECT_GE(since.elapsed(), instrument_accessibility::kAnnounceIntervalMs - 50);
    instrument_accessibility::setAnnouncementSink({});
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_TRUE(heard[0].startsWith(QStringLiteral("2500"))) << heard[0].toStdString();
}

}  // namespace
}  // namespace kaldor::test
