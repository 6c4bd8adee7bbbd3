// Every shipped language file: all its texts, decoded without a replacement character, and
// every caption drawn whole in its control at the window's built-in size, in the font the
// language gives it.
#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QTabWidget>

#include <algorithm>
#include <set>
#include <sstream>

#include "files/language_file.h"
#include "files/languages.h"
#include "files/text_ids.h"
#include "ui/commands/language.h"
#include "ui/commands/language_targets.h"
#include "ui/pages/diagnostic/diagnostic_page.h"
#include "widgets/ab_col_bit_btn.h"
#include "widgets/ab_led.h"
#include "window_logic_fixture.h"

namespace kaldor::test {
namespace {

// The room a control gives its caption beside what the style draws around it.
int textRoom(const QWidget& widget) {
    const QStyle* style = widget.style();
    if (const auto* box = qobject_cast<const QCheckBox*>(&widget)) {
        return box->width() - style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box) -
               style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, box);
    }
    if (const auto* button = qobject_cast<const QPushButton*>(&widget)) {
        // What the style adds to the text of a button at its own size.
        return button->width() - style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) -
               2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
    }
    if (const auto* label = qobject_cast<const QLabel*>(&widget))
        return label->contentsRect().width() - 2 * label->margin() - std::max(0, label->indent());
    if (qobject_cast<const QGroupBox*>(&widget) != nullptr)
        return widget.width() - 2 * style->pixelMetric(QStyle::PM_LayoutLeftMargin);
    return widget.width();
}

// Why a visible caption does not fit; empty when it does (or when its kind is not measured:
// page tabs, menu items and list entries).
std::string misfit(const QWidget& widget, const TextTarget& target, const QString& text) {
    std::ostringstream out;
    if (const auto* led = qobject_cast<const AbLED*>(&widget)) {
        if (!led->captionFits())
            out << "cut short in a lamp " << led->width() << " wide";
    } else if (const auto* button = qobject_cast<const AbColBitBtn*>(&widget)) {
        if (!button->fits(text))
            out << "cut short in a button " << button->width() << " wide";
    } else if (const auto* label = qobject_cast<const QLabel*>(&widget);
               label != nullptr && label->wordWrap()) {
        // A caption that wraps fits when its longest word does and its lines fit the height.
        int longest = 0;
        // A line may break after a blank or a hyphen.
        static const QRegularExpression breaks(QStringLiteral("(?<=-)|\\s+"));
        for (const QString& word : text.split(breaks, Qt::SkipEmptyParts))
            longest = std::max(longest, label->fontMetrics().horizontalAdvance(word));
        const int lines = label->heightForWidth(label->width());
        if (longest > textRoom(*label) || lines > label->height())
            out << "a word of " << longest << " px in " << textRoom(*label) << " px, " << lines
                << " px high in " << label->height() << " px";
    } else if (target.kind == TextKind::Caption && (qobject_cast<const QLabel*>(&widget) ||
                                                    qobject_cast<const QAbstractButton*>(&widget) ||
                                                    qobject_cast<const QGroupBox*>(&widget))) {
        const int needed = widget.fontMetrics().horizontalAdvance(text);
        const int room = textRoom(widget);
        if (needed > room)
            out << needed << " px in " << room << " px (font "
                << widget.font().family().toStdString() << ")";
    }
    return out.str();
}

struct LanguageFitTest : LogicTest {
    void SetUp() override {
        LogicTest::SetUp();
        for (const LanguageDef& language : languages())
            installLanguageFile(QString::fromLatin1(
                language.fileName.data(), static_cast<qsizetype>(language.fileName.size())));
        showActive();
        // The first activation without a settings file leaves the window at its least size;
        // the captions are measured at the size the window is built with.
        window->resize(MainWindow::kBuiltInWidth, MainWindow::kBuiltInHeight);
        QApplication::processEvents();
    }

    // Shows every page in turn (and the diagnostic page's three), checking the captions of the
    // controls each shows, once each.
    std::vector<std::string> misfits(const LanguageFile& file) {
        std::vector<std::string> found;
        std::set<TextId> checked;
        QTabWidget* pages = window->pageControl();
        QTabWidget* diagnostic = window->diagnosticPage().PageControlDiag;
        for (int page = 0; page < pages->count(); ++page) {
            if (!pages->isTabVisible(page))
                continue;
            pages->setCurrentIndex(page);
            const int views = page == MainWindow::kPageDiagnostic ? diagnostic->count() : 1;
            for (int view = 0; view < views; ++view) {
                if (page == MainWindow::kPageDiagnostic)
                    diagnostic->setCurrentIndex(view);
                QApplication::processEvents();
                QApplication::processEvents();
                for (const LanguageEntry& entry : file.entries) {
                    const TextTarget* target = findTextId(entry.id);
                    // Error, status and report texts are shown by no control of the window.
                    if (target->control.empty())
                        continue;
                    auto* widget = qobject_cast<QWidget*>(findTextTarget(*window, target->control));
                    if (widget == nullptr || !widget->isVisible() || checked.count(entry.id))
                        continue;
                    checked.insert(entry.id);
                    const std::string why =
                        misfit(*widget, *target, QString::fromStdString(entry.text));
                    if (!why.empty())
                        found.push_back(std::to_string(entry.id) + " " +
                                        std::string(target->control) + " \"" + entry.text +
                                        "\": " + why);
                }
            }
        }
        pages->setCurrentIndex(MainWindow::kPageReadings);
        return found;
    }
};

TEST_F(LanguageFitTest, EveryShippedFileIsWholeDecodesAndFits) {
    const QSize builtIn = window->size();
    for (const LanguageDef& language : languages()) {
        SCOPED_TRACE(std::string(language.fileName));
        const LanguageFile file = readLanguageFile(
            KALDOR_LANG_DIR "/" + std::string(language.fileName), language.codePage);
        ASSERT_FALSE(file.error) << *file.error;
        std::set<TextId> ids;
        for (const LanguageEntry& entry : file.entries) {
            ids.insert(entry.id);
            EXPECT_FALSE(QString::fromStdString(entry.text).contains(QChar::ReplacementCharacter))
                << entry.id;
        }
        // Every shipped language has the window's own texts as well as the pages', the
        // report's, the cell view's and what a screen reader says.
        const auto windowIds =
            static_cast<std::size_t>(std::count_if(ids.begin(), ids.end(), [](TextId id) {
                return id >= kFirstWindowTextId && id < kFirstWindowTextId + kWindowTextIdCount;
            }));
        EXPECT_EQ(windowIds, std::size_t{kWindowTextIdCount});
        EXPECT_EQ(ids.size() - windowIds, std::size_t{kTextIdCount + kReportTextIdCount +
                                                      kCellTextIdCount + kSpokenTextIdCount});

        logic->language().load(language.code);
        EXPECT_TRUE(messages.empty()) << messages.front();
        for (const std::string& why : misfits(file))
            ADD_FAILURE() << why;
        // No caption made the window ask for more room than it has, down to its least size.
        EXPECT_EQ(window->size(), builtIn);
        window->resize(MainWindow::kMinWidth, MainWindow::kMinHeight);
        QApplication::processEvents();
        EXPECT_EQ(window->size(), QSize(MainWindow::kMinWidth, MainWindow::kMinHeight));
        window->resize(builtIn);
        QApplication::processEvents();
    }
}

}  // namespace
}  // namespace kaldor::test
