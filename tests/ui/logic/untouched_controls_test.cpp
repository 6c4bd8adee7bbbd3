// Controls the user leaves as they are write nothing, whatever the controller holds: words
// outside the spins' ranges, list values without an item, presets the refresh recognised from a
// part of what they set. And the groups an old software revision hid come back with a newer one.
#include <QApplication>
#include <QComboBox>
#include <QTabWidget>

#include "model/controller_defaults.h"
#include "ui/pages/advanced/advanced_page.h"
#include "ui/pages/parameters/parameters_page.h"
#include "widgets/ab_num_spin.h"
#include "window_logic_fixture.h"

namespace kaldor::test {
namespace {

// Every frame the controller took but the questions (identify, confirm, reads), as text.
std::vector<std::string> changesSent(const ScriptedController& controller) {
    std::vector<std::string> changes;
    for (const Bytes& frame : controller.received)
        if (frame.empty() || (frame[0] != 0x01 && frame[0] != 0x02 && frame[0] != 0xAA))
            changes.push_back(hex(frame.data(), frame.size()));
    return changes;
}

bool tabStop(const QWidget* w) {
    return w->isVisible() && w->isEnabled() && w->focusProxy() == nullptr &&
           (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
}

struct UntouchedControlsTest : LogicTest {
    // Presses Tab from `from` until the focus comes round again; the controls it reached.
    QSet<QWidget*> tabAround(QWidget* from) {
        from->setFocus(Qt::TabFocusReason);
        QSet<QWidget*> reached;
        for (QWidget* w = QApplication::focusWidget(); w != nullptr && !reached.contains(w);
             w = QApplication::focusWidget()) {
            reached.insert(w);
            QTest::keyClick(w, Qt::Key_Tab);
        }
        return reached;
    }
    // Every page the window shows, and every tab of the pages within a page, tabbed through.
    void tabThroughEveryPage() {
        QTabWidget* pages = window->pageControl();
        for (int page = 0; page < pages->count(); ++page) {
            if (!pages->isTabVisible(page))
                continue;
            window->showPage(page);
            std::vector<std::pair<QTabWidget*, int>> views{{nullptr, 0}};
            for (QTabWidget* inner : pages->widget(page)->findChildren<QTabWidget*>())
                for (int i = 0; i < inner->count(); ++i)
                    views.emplace_back(inner, i);
            for (const auto& [inner, index] : views) {
                if (inner != nullptr)
                    inner->setCurrentIndex(index);
                QList<QWidget*> stops;
                for (QWidget* w : pages->widget(page)->findChildren<QWidget*>())
                    if (tabStop(w))
                        stops.append(w);
                if (stops.isEmpty())
                    continue;
                const QSet<QWidget*> reached = tabAround(stops.front());
                for (QWidget* w : stops)
                    EXPECT_TRUE(reached.contains(w)) << "page " << page << ": Tab never reached "
                                                     << w->objectName().toStdString();
            }
        }
        window->pageControl()->tabBar()->setFocus(Qt::TabFocusReason);
    }
};

// The factory defaults store 16 where the list offers multiples of 10; the second image holds
// words outside every spin's range; the third a CDi preset with a level of the installer's own
// and a step preset the refresh recognised from one cell.
TEST_F(UntouchedControlsTest, TabbingThroughEveryPageWritesNothing) {
    const struct {
        const char* what;
        void (*fill)(ScriptedController&);
    } cases[] = {
        {"factory defaults",
         [](ScriptedController& c) {
             EcuImage image;
             applyControllerDefaults(image, {}, 0);
             std::copy(image.bytes().begin(), image.bytes().end(), c.memory.begin());
         }},
        {"every word outside the ranges",
         [](ScriptedController& c) {
             std::fill_n(c.memory.begin(), EcuImage::kSize, 0xEE);
             const std::pair<std::size_t, std::uint16_t> words[] = {
                 {181, 65000}, {184, 9000}, {185, 4000}, {187, 4095}, {188, 4095},
                 {189, 4095},  {190, 4095}, {191, 0},    {193, 9999}, {237, 7},
                 {206, 16},    {207, 15},   {216, 100},  {374, 0}};
             for (const auto& [word, value] : words)
                 c.setWord(word, value);
         }},
        {"presets with values of their own",
         [](ScriptedController& c) {
             EcuImage image;
             applyControllerDefaults(image, {}, 0);
             std::copy(image.bytes().begin(), image.bytes().end(), c.memory.begin());
             c.memory[549] = 0x01;  // CDi emulator on, sensor type: "CDi (Mode 3)" by word 371
             c.setWord(371, 30);
             c.setWord(373, 75);
             c.memory[547] = 0x01;  // the step emulator on; cell (7,1) 20 reads as "MODE-3"
             for (std::size_t b = 27; b <= 50; ++b)
                 c.memory[b] = static_cast<std::uint8_t>(b);
             c.memory[33] = 20;
         }},
    };
    controller.hardware = 4;  // the CDi list and the frequency group both shown
    showActive();
    for (const auto& c : cases) {
        c.fill(controller);
        connect();
        const auto memory = controller.memory;
        const EcuImage image = logic->session().image;
        controller.received.clear();
        tabThroughEveryPage();
        EXPECT_EQ(changesSent(controller), std::vector<std::string>{}) << c.what;
        EXPECT_TRUE(controller.memory == memory) << c.what;
        EXPECT_EQ(logic->session().image, image) << c.what;
    }
    // The last image's presets were recognised, and the list without an item says so.
    EXPECT_EQ(find<QComboBox>("ComboBoxDciEn")->currentIndex(), 3);
    EXPECT_EQ(find<QComboBox>("ComboBoxDnaType")->currentIndex(), 3);
    auto* delta = find<QComboBox>("ComboBoxMappingTpsDelta");
    EXPECT_EQ(delta->currentIndex(), -1);
    EXPECT_EQ(delta->placeholderText(), QStringLiteral("raw 16"));
}

// A later controller of a newer revision, connected in the same run, gets its groups back.
TEST_F(UntouchedControlsTest, GroupsHiddenForAnOldRevisionComeBack) {
    showActive();
    const QWidget* groups[] = {window->advancedPage().PanelAdvanced,
                               window->advancedPage().GroupBoxCdiEmu,
                               window->advancedPage().GroupBoxAdvanced,
                               window->parametersPage().GroupBoxDoubleInjectionTime};
    for (const unsigned software : {1u, 5u}) {
        controller.software = static_cast<std::uint8_t>(software);
        connect();
        for (const QWidget* group : groups)
            EXPECT_EQ(group->isHidden(), software < 2)
                << group->objectName().toStdString() << ", revision " << software;
    }
}

}  // namespace
}  // namespace kaldor::test
