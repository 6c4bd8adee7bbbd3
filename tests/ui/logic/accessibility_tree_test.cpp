// The accessibility tree Qt builds for every window and dialog, walked as a screen reader walks
// it: every control a person can reach or read has a role, a name of its own, its value and an
// action; pressing through that action does what a click does; a list announces its new entry.
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTimer>

#include <fstream>
#include <set>

#include "ui/accessibility/accessible_names.h"
#include "ui/commands/language.h"
#include "ui/commands/verify_menu.h"
#include "ui/dialogs/difference_dialog.h"
#include "ui/dialogs/history_dialog.h"
#include "ui/dialogs/report_dialog.h"
#include "ui/log_viewer/log_viewer_window.h"
#include "window_logic_fixture.h"

namespace kaldor::test {
namespace {

// What a role promises: a value to read, an action to take.
struct RoleRule {
    QAccessible::Role role;
    bool value;
    bool action;
};
constexpr RoleRule kRules[] = {
    {QAccessible::Button, false, true},      {QAccessible::CheckBox, false, true},
    {QAccessible::RadioButton, false, true}, {QAccessible::ComboBox, true, true},
    {QAccessible::SpinBox, true, false},     {QAccessible::ProgressBar, true, false},
    {QAccessible::Indicator, true, false},   {QAccessible::PageTab, false, true},
    {QAccessible::MenuItem, false, true},    {QAccessible::Slider, true, false},
    {QAccessible::Chart, false, false},
};

const RoleRule* ruleOf(QAccessible::Role role) {
    for (const RoleRule& rule : kRules)
        if (rule.role == role)
            return &rule;
    return nullptr;
}

// The titles a control sits under, as a person reads them: its groups' and its pages' (without
// the key hint "[F2]").
std::set<QString> titlesAbove(const QWidget* widget) {
    std::set<QString> titles;
    auto plain = [](QString text) {
        text.remove(QLatin1Char('&'));
        text.remove(QRegularExpression(QStringLiteral("^\\[[^]]*\\]")));
        return text.trimmed();
    };
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        if (const auto* group = qobject_cast<const QGroupBox*>(w))
            titles.insert(plain(group->title()));
        const QWidget* stack = w->parentWidget();
        if (const auto* tabs =
                stack != nullptr ? qobject_cast<const QTabWidget*>(stack->parentWidget()) : nullptr)
            titles.insert(plain(tabs->tabText(tabs->indexOf(const_cast<QWidget*>(w)))));
    }
    titles.erase(QString());
    return titles;
}

struct Walk {
    QString title;
    std::vector<std::string> problems;
    std::vector<QAccessibleInterface*> nodes;
};

std::string describe(QAccessibleInterface* node) {
    QObject* object = node->object();
    return (object != nullptr ? object->objectName().toStdString() : std::string("(item)")) +
           " role " + std::to_string(node->role()) + " \"" +
           node->text(QAccessible::Name).toStdString() + "\"";
}

// The rows, cells and entries of grids and lists are the toolkit's own and not walked.
void walk(QAccessibleInterface* node, Walk& out, int depth = 0) {
    if (node == nullptr || depth > 40)
        return;
    out.nodes.push_back(node);
    const QAccessible::Role role = node->role();
    const QString name = node->text(QAccessible::Name).trimmed();
    const RoleRule* rule = ruleOf(role);
    QObject* object = node->object();
    // A widget that hands its focus on (a page control to its tab bar) is no stop of its own.
    const auto* widget = qobject_cast<QWidget*>(object);
    const bool reachable = node->state().focusable && !node->state().invisible &&
                           widget != nullptr && widget->focusProxy() == nullptr;
    // The window's title, alone or with a number, is no control's name.
    static const QRegularExpression numbered(QStringLiteral("^(.*?)( \\d+)?$"));
    if (depth > 0 && !name.isEmpty() && numbered.match(name).captured(1) == out.title)
        out.problems.push_back(describe(node) + ": named after the window");
    // Nor is the title of its group or page with a number: a control is read by what it holds.
    static const QRegularExpression placed(QStringLiteral("^(.+) \\d+$"));
    if (const QRegularExpressionMatch match = placed.match(name);
        widget != nullptr && match.hasMatch() && titlesAbove(widget).count(match.captured(1)) > 0)
        out.problems.push_back(describe(node) + ": named by its group and place");
    if (rule != nullptr || reachable) {
        if (rule == nullptr && role != QAccessible::Table && role != QAccessible::List &&
            role != QAccessible::EditableText && role != QAccessible::PageTabList &&
            role != QAccessible::MenuBar && role != QAccessible::Tree)
            out.problems.push_back(describe(node) + ": no fitting role");
        if (name.isEmpty() || (object != nullptr && name == object->objectName()))
            out.problems.push_back(describe(node) + ": no name of its own");
        if (rule != nullptr && rule->value && node->text(QAccessible::Value).isEmpty()) {
            const auto* list = qobject_cast<QComboBox*>(object);
            if (list == nullptr || list->currentIndex() >= 0)
                out.problems.push_back(describe(node) + ": no value");
        }
        if (rule != nullptr && rule->action && node->state().disabled == false &&
            (node->actionInterface() == nullptr ||
             node->actionInterface()->actionNames().isEmpty()))
            out.problems.push_back(describe(node) + ": no action");
    }
    if (role == QAccessible::ComboBox || role == QAccessible::Table || role == QAccessible::List ||
        role == QAccessible::Tree)
        return;
    for (int i = 0; i < node->childCount(); ++i)
        walk(node->child(i), out, depth + 1);
}

Walk walkWindow(QWidget& window) {
    Walk out;
    out.title = window.windowTitle();
    walk(QAccessible::queryAccessibleInterface(&window), out);
    return out;
}

// The entry a list's popup has selected, as a screen reader finds it among the list's children.
QString selectedEntry(QAccessibleInterface* list) {
    QAccessibleInterface* popup = list->childCount() > 0 ? list->child(0) : nullptr;
    if (popup == nullptr || popup->tableInterface() == nullptr)
        return {};
    const QList<QAccessibleInterface*> cells = popup->tableInterface()->selectedCells();
    return cells.isEmpty() ? QString() : cells.first()->text(QAccessible::Name);
}

QAccessibleInterface* byName(const Walk& walked, const QString& name, QAccessible::Role role) {
    for (QAccessibleInterface* node : walked.nodes)
        if (node->role() == role && node->text(QAccessible::Name) == name)
            return node;
    return nullptr;
}

struct AccessibilityTreeTest : LogicTest {
    void SetUp() override {
        LogicTest::SetUp();
        showActive();
        controller.setRecordWord(36, 0x0400);  // ignition on
        connect();
        pollOnce();
    }
    std::vector<std::string> commandsAfter(const std::function<void()>& act) {
        log.events.clear();
        act();
        // The press is a click, which the button finishes after its animation.
        QTest::qWait(200);
        std::vector<std::string> out = log.writes();
        out.erase(std::remove(out.begin(), out.end(), std::string("AA 05 00 00 59 F2")), out.end());
        return out;
    }
    static void press(QAccessibleInterface* node) {
        ASSERT_NE(node, nullptr);
        ASSERT_NE(node->actionInterface(), nullptr);
        node->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    }
};

TEST_F(AccessibilityTreeTest, EveryWindowAndDialogHasRolesNamesValuesAndActions) {
    QApplication::processEvents();
    Walk main = walkWindow(*window);
    EXPECT_TRUE(main.problems.empty()) << ::testing::PrintToString(main.problems);
    EXPECT_GT(main.nodes.size(), 400u);

    // Lists read their entry as value and as the popup's selected row, keeping their own names.
    int lists = 0;
    for (QComboBox* list : window->findChildren<QComboBox*>()) {
        if (list->currentIndex() < 0 || list->window() != window.get())
            continue;
        QAccessibleInterface* node = QAccessible::queryAccessibleInterface(list);
        EXPECT_EQ(node->text(QAccessible::Value), list->currentText()) << describe(node);
        EXPECT_EQ(selectedEntry(node), list->currentText()) << describe(node);
        EXPECT_NE(node->text(QAccessible::Name), list->currentText()) << describe(node);
        ++lists;
    }
    EXPECT_GT(lists, 40);

    // The engine speed reads in rpm as the live table gives it, the lamps as indicators.
    QAccessibleInterface* rpm =
        QAccessible::queryAccessibleInterface(find<QWidget>("Ab270MeterRPM"));
    EXPECT_TRUE(rpm->text(QAccessible::Value).endsWith(QStringLiteral(" rpm")))
        << rpm->text(QAccessible::Value).toStdString();
    EXPECT_EQ(QAccessible::queryAccessibleInterface(window->sidePanel().AbLEDStatus)->role(),
              QAccessible::Indicator);

    // The log viewer, the history, report and verification dialogs.
    const QString logFile = folder + QStringLiteral("/drive.log");
    {
        std::ofstream out(logFile.toStdString(), std::ios::binary);
        for (int line = 0; line < 3; ++line) {
            for (int word = 0; word < 96; ++word)
                out << "0,";
            out << "\r\n";
        }
    }
    openAnswer = FileAnswer{logFile.toStdString(), 0};
    window->menu().viewlog1->trigger();
    auto* viewer = window->findChild<LogViewerWindow*>();
    ASSERT_NE(viewer, nullptr);
    QTRY_VERIFY(viewer->loaded());
    Walk walked = walkWindow(*viewer);
    EXPECT_TRUE(walked.problems.empty())
        << "log viewer " << ::testing::PrintToString(walked.problems);

    window->menu().verifyECU1->trigger();
    ASSERT_FALSE(differences.empty());
    DifferenceDialog result(nullptr, logic->session().setupTexts);
    result.setView(differences.back());
    walked = walkWindow(result);
    EXPECT_TRUE(walked.problems.empty())
        << "verification " << ::testing::PrintToString(walked.problems);

    for (QAction* opens : {window->menu().history1, window->menu().PrintReport1}) {
        bool shown = false;
        QTimer::singleShot(0, window.get(), [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            shown = true;
            const Walk inDialog = walkWindow(*dialog);
            EXPECT_TRUE(inDialog.problems.empty()) << opens->objectName().toStdString() << " "
                                                   << ::testing::PrintToString(inDialog.problems);
            dialog->close();
        });
        opens->trigger();
        EXPECT_TRUE(shown) << opens->objectName().toStdString();
    }
}

TEST_F(AccessibilityTreeTest, PressingThroughTheActionDoesWhatAClickDoes) {
    Walk main = walkWindow(*window);
    QAccessibleInterface* propane =
        byName(main, QStringLiteral("propane"), QAccessible::RadioButton);
    EXPECT_EQ(commandsAfter([&] { press(propane); }),
              std::vector<std::string>{"51 00 00 00 FB F2"});
    // The mode is chosen once the controller reports it.
    controller.setRecordWord(39, static_cast<std::uint16_t>(2u << 7));
    pollOnce();
    EXPECT_TRUE(propane->state().checked);

    window->showPage(MainWindow::kPageDiagnostic);
    QAccessibleInterface* erase = byName(main, QStringLiteral("erase errors"), QAccessible::Button);
    EXPECT_EQ(commandsAfter([&] { press(erase); }),
              (std::vector<std::string>{"61 00 00 00 0B F2", "52 00 00 00 FC F2"}));
}

// Controls without a caption are read by what they hold, numbered families by their number, in
// the language loaded.
TEST_F(AccessibilityTreeTest, ControlsWithoutACaptionAreReadByWhatTheyHold) {
    const std::pair<const char*, QString> english[] = {
        {"AbNumSpinCdi2", QStringLiteral("CDi threshold 2")},
        {"StringGridKorektuj", QStringLiteral("gas and diesel difference [%]")},
        {"EditGazL", QStringLiteral("propane consumption [l/h]")},
    };
    for (const auto& [control, name] : english)
        EXPECT_EQ(accessibleNameOf(find<QWidget>(control)), name) << control;
    installLanguageFile(QStringLiteral("pol.txt"));
    logic->language().load(2);
    EXPECT_EQ(accessibleNameOf(find<QWidget>("AbNumSpinCdi2")), QStringLiteral("próg CDi 2"));
    const Walk polish = walkWindow(*window);
    EXPECT_TRUE(polish.problems.empty()) << ::testing::PrintToString(polish.problems);
}

// A new entry is the list's value and its popup's selected row at once (the toolkit announces
// the value; a screen reader then reads the selected row).
TEST_F(AccessibilityTreeTest, AListFollowsItsNewEntry) {
    auto* trace = find<QComboBox>("ComboBoxScopeTypeRed");
    trace->setCurrentIndex(2);
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(trace);
    EXPECT_EQ(node->text(QAccessible::Value), trace->currentText());
    EXPECT_EQ(selectedEntry(node), trace->currentText());
    EXPECT_EQ(node->text(QAccessible::Name), QStringLiteral("scope trace 1 (red)"));
    // Entries replaced with the list's signals blocked (a language load): selected again.
    {
        const QSignalBlocker quiet(trace);
        const QString entry = trace->itemText(3);
        trace->clear();
        trace->addItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), entry});
        trace->setCurrentIndex(3);
    }
    QApplication::processEvents();
    EXPECT_EQ(selectedEntry(node), trace->currentText());
}

}  // namespace
}  // namespace kaldor::test
