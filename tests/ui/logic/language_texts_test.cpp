// The window's own texts in every shipped language: each window and dialog the program opens
// shows no text left in English where the language has words of its own, each language has
// its own words for the window's texts, and a language file that lacks a window text gives its
// English.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTimer>

#include <fstream>
#include <set>

#include "files/languages.h"
#include "service/setup_description.h"
#include "ui/commands/language.h"
#include "ui/commands/verify_menu.h"
#include "ui/dialogs/difference_dialog.h"
#include "ui/dialogs/history_dialog.h"
#include "ui/log_viewer/log_viewer_window.h"
#include "ui/log_viewer/scatter_window.h"
#include "ui/pages/adjustment/cell_view_panel.h"
#include "ui/pages/advanced/axis_cell_view_panel.h"
#include "window_logic_fixture.h"

namespace kaldor::test {
namespace {

// Every text a person or a screen reader meets in a window: titles, captions, menu items, table
// headings, cells and accessible names.
QStringList shownTexts(QWidget& root) {
    QStringList texts{root.windowTitle(), root.accessibleName()};
    for (QWidget* w : root.findChildren<QWidget*>()) {
        texts << w->accessibleName() << w->toolTip();
        if (auto* label = qobject_cast<QLabel*>(w))
            texts << label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            texts << button->text();
        if (auto* group = qobject_cast<QGroupBox*>(w))
            texts << group->title();
        // A list of channels says each with its unit after it: the name is the text.
        if (auto* list = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < list->count(); ++i)
                texts << list->itemText(i).remove(QRegularExpression(QStringLiteral(" \\[.*\\]$")));
        if (auto* table = qobject_cast<QTableWidget*>(w))
            for (int c = 0; c < table->columnCount(); ++c) {
                if (QTableWidgetItem* h = table->horizontalHeaderItem(c))
                    texts << h->text();
                for (int r = 0; r < table->rowCount(); ++r)
                    if (QTableWidgetItem* cell = table->item(r, c))
                        texts << cell->text();
            }
    }
    for (QAction* action : root.findChildren<QAction*>())
        texts << action->text().section(QLatin1Char('\t'), 0, 0);
    for (QString& t : texts)
        t = t.trimmed();
    return texts;
}

// The English of each window text the language says otherwise, as a pattern ("%1" stands for
// anything the window puts in). Texts the language keeps (names such as "PC", units) never
// count.
std::vector<QRegularExpression> leftOverEnglish(const SetupTexts& texts) {
    std::vector<QRegularExpression> english;
    for (int i = 0; i < kWindowTextIdCount; ++i) {
        const auto text = static_cast<WindowText>(i);
        const std::string own(windowTextEnglish(text));
        if (windowText(texts, text) == own)
            continue;
        QString pattern = QRegularExpression::escape(QString::fromStdString(own));
        pattern.replace(QRegularExpression(QStringLiteral("%\\d")), QStringLiteral(".*"));
        english.emplace_back(QRegularExpression::anchoredPattern(pattern));
    }
    return english;
}

struct LanguageTextsTest : LogicTest {
    // The English texts among what the window shows.
    QStringList english(QWidget& root) {
        const auto patterns = leftOverEnglish(logic->session().setupTexts);
        QStringList found;
        for (const QString& text : shownTexts(root))
            for (const QRegularExpression& p : patterns)
                if (!text.isEmpty() && p.match(text).hasMatch())
                    found << text;
        return found;
    }
    // Switches the window to a shipped language; its file's name, for the trace.
    std::string choose(const LanguageDef& language) {
        const QString file = QString::fromLatin1(language.fileName.data(),
                                                 static_cast<qsizetype>(language.fileName.size()));
        installLanguageFile(file);
        logic->language().load(language.code);
        return file.toStdString();
    }
};

TEST_F(LanguageTextsTest, EveryShippedLanguageLeavesNoEnglishInTheWindowsItOpens) {
    connect();
    pollOnce();
    const QString log = folder + QStringLiteral("/drive.log");
    {
        std::ofstream out(log.toStdString(), std::ios::binary);
        for (int line = 0; line < 3; ++line) {
            for (int word = 0; word < 96; ++word)
                out << "0,";
            out << "\r\n";
        }
    }
    openAnswer = FileAnswer{log.toStdString(), 0};
    window->menu().viewlog1->trigger();
    auto* viewer = window->findChild<LogViewerWindow*>();
    ASSERT_NE(viewer, nullptr);
    QTRY_VERIFY(viewer->loaded());
    viewer->findChild<QAbstractButton*>(QStringLiteral("ButtonScatter"))->click();
    auto* scatter = viewer->findChild<ScatterWindow*>();
    ASSERT_NE(scatter, nullptr);
    auto* cells = window->findChild<CellViewPanel*>();
    ASSERT_NE(cells, nullptr);

    for (const LanguageDef& language : languages()) {
        if (language.code == kDefaultLanguageCode)
            continue;
        SCOPED_TRACE(choose(language));
        emit window->menu().File1->aboutToShow();
        emit window->menu().options1->aboutToShow();
        // The window's menus and the grids' tools (the pages' own captions are the kit's).
        for (QMenu* menu : window->findChildren<QMenu*>())
            EXPECT_EQ(english(*menu), QStringList()) << menu->objectName().toStdString();
        EXPECT_EQ(english(*viewer), QStringList()) << "log viewer";
        EXPECT_EQ(english(*scatter), QStringList()) << "scatter plot";
        EXPECT_EQ(english(*cells), QStringList()) << "cell view";
        // The one-row maps' views say what the main map's says.
        for (AxisCellViewPanel* axis : window->findChildren<AxisCellViewPanel*>()) {
            EXPECT_EQ(english(*axis), QStringList()) << axis->objectName().toStdString();
            EXPECT_EQ(axis->ButtonCellsOpen->text(), cells->ButtonCellsOpen->text());
            EXPECT_EQ(axis->ComboBoxCellsStatistic->itemText(2),
                      cells->ComboBoxCellsStatistic->itemText(2));
        }

        window->menu().verifyECU1->trigger();
        ASSERT_FALSE(differences.empty());
        DifferenceDialog result(nullptr, logic->session().setupTexts);
        result.setView(differences.back());
        EXPECT_EQ(english(result), QStringList()) << "verification";

        bool shown = false;
        QTimer::singleShot(0, window.get(), [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(qobject_cast<HistoryDialog*>(dialog), nullptr);
            shown = true;
            EXPECT_EQ(english(*dialog), QStringList()) << "history";
            dialog->close();
        });
        window->menu().history1->trigger();
        EXPECT_TRUE(shown);
    }
}

// Each shipped language says every window text in words of its own, but for the few that are
// the same word there (names, and words such as "minimum" many languages share).
TEST_F(LanguageTextsTest, EveryShippedLanguageHasItsOwnWordsForEachWindowText) {
    const std::set<WindowText> shared{
        WindowText::ColumnMinimum,    WindowText::ColumnMaximum,       WindowText::HeadingProgram,
        WindowText::HeadingPc,        WindowText::HistoryCompareTitle, WindowText::UnreadBytes,
        WindowText::ScatterHistogram, WindowText::HistogramName,       WindowText::NoRecording};
    for (const LanguageDef& language : languages()) {
        if (language.code == kDefaultLanguageCode)
            continue;
        SCOPED_TRACE(choose(language));
        for (int i = 0; i < kWindowTextIdCount; ++i) {
            const auto text = static_cast<WindowText>(i);
            if (shared.count(text) != 0)
                continue;
            EXPECT_NE(windowText(logic->session().setupTexts, text), windowTextEnglish(text))
                << windowTextId(text);
        }
    }
}

TEST_F(LanguageTextsTest, AFileWithoutAWindowTextGivesItsEnglish) {
    installLanguageFile(QStringLiteral("pol.txt"));
    logic->language().load(2);
    EXPECT_EQ(window->menu().viewlog1->text().toStdString(),
              windowText(logic->session().setupTexts, WindowText::ViewLog));
    ASSERT_NE(window->menu().viewlog1->text().toStdString(),
              windowTextEnglish(WindowText::ViewLog));
    // A language of the installer's own with one window text: the others are English again,
    // not Polish.
    std::ofstream(folder.toStdString() + "/lang/pol.txt", std::ios::binary)
        << "100001 odczyty\n"
        << windowTextId(WindowText::History) << " dzieje...\n";
    logic->language().load(2);
    EXPECT_EQ(window->menu().history1->text(), QStringLiteral("dzieje..."));
    EXPECT_EQ(window->menu().viewlog1->text().toStdString(),
              windowTextEnglish(WindowText::ViewLog));
    EXPECT_EQ(window->menu().undo1->text().toStdString(), windowTextEnglish(WindowText::Undo));
}

}  // namespace
}  // namespace kaldor::test
