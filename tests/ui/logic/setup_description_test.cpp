// The set-up's description against the window: every setting reads as its control shows it
// after the refresh, in the built-in texts and in a language's, so the description and the
// pages cannot drift apart.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

#include <algorithm>
#include <random>

#include "files/language_file.h"
#include "files/languages.h"
#include "maps/map_types.h"
#include "model/codec.h"
#include "service/setting_rows.h"
#include "service/setup_description.h"
#include "ui/accessibility/accessible_names.h"
#include "ui/bindings.h"
#include "ui/commands/language.h"
#include "widgets/ab_num_spin.h"
#include "window_logic_fixture.h"

namespace kaldor::test {
namespace {

// What the control shows: a list its item (or the note of a value it does not offer), a spin
// editor its text, a check box its tick.
std::string shownText(const QWidget* control) {
    if (const auto* box = qobject_cast<const QComboBox*>(control))
        return (box->currentIndex() < 0 ? box->placeholderText() : box->currentText())
            .toStdString();
    if (const auto* spin = qobject_cast<const AbNumSpin*>(control))
        return spin->textFromValue(spin->value()).toStdString();
    if (const auto* tick = qobject_cast<const QCheckBox*>(control))
        return tick->isChecked() ? "on" : "off";
    return "<not a setting's control>";
}

// Shown by their pages' own handlers rather than the binding table: any bits at all.
constexpr FieldId kShownByHandlers[] = {FieldId::CorrectionMapEnable, FieldId::EnabledErrors,
                                        FieldId::CdiEmulatorOn, FieldId::EmulatorRelayDigital,
                                        FieldId::TpsSwitch};

struct SetupDescriptionWindowTest : LogicTest {
    // An image every setting's control shows as it stands: each bound field at a value within
    // its editor's range or among its list's items, chosen at random, then connected. Outside
    // its range a spin editor shows the stored value clamped into it, while the description
    // gives the value stored (what the controller works with), so such values are left out.
    void connectWithSample(unsigned seed) {
        std::mt19937 random(seed);
        std::uniform_real_distribution<double> share(0.0, 1.0);
        EcuImage sample;
        storeField(sample, FieldId::RpmSignalType, 3);
        storeField(sample, FieldId::MainMapType, random() % kMapTypeCount);
        // An engine speed is stored by the rpm signal type: that one first.
        std::vector<ControlBinding> bindings = controlBindings();
        std::stable_partition(bindings.begin(), bindings.end(), [](const ControlBinding& b) {
            return b.field == FieldId::RpmSignalType;
        });
        for (const ControlBinding& b : bindings) {
            const QWidget* control = find<QWidget>(b.control);
            double shown = 1;
            if (const auto* spin = qobject_cast<const AbNumSpin*>(control))
                shown = spin->minimum() + share(random) * (spin->maximum() - spin->minimum());
            else if (const auto* box = qobject_cast<const QComboBox*>(control))
                shown = static_cast<double>(random() % static_cast<unsigned>(box->count()));
            else
                shown = random() % 2;
            (void)storeShown(sample, b.field, shown);
        }
        for (const FieldId field : kShownByHandlers)
            storeField(sample, field, random() & 0xFFFFu);
        std::copy(sample.bytes().begin(), sample.bytes().end(), controller.memory.begin());
        showActive();
        connect();
    }

    void expectControlsShow(const SetupTexts& texts) {
        const EcuImage& image = logic->session().image;
        for (const SetupLine& line : describeSetup(image, texts).settings) {
            const QWidget* control = find<QWidget>(line.control.c_str());
            ASSERT_NE(control, nullptr) << line.control;
            EXPECT_EQ(shownText(control), line.value) << line.control;
            // The name assistive technology reads is the caption the page gives it.
            QString name = accessibleNameOf(const_cast<QWidget*>(control)).trimmed();
            while (name.endsWith(QLatin1Char(':')))
                name.chop(1);
            EXPECT_EQ(name.trimmed().toStdString(), line.caption) << line.control;
        }
    }
};

// Every row of the settings table against the control the window builds from it: its editor's
// range, step and pattern, its list's entries, its caption and the name it is read by.
TEST_F(SetupDescriptionWindowTest, EveryRowIsTheControlItsPageBuilds) {
    showActive();
    CaptionTexts builtIn;
    builtIn.shown = [](std::string_view, std::string_view text) { return std::string(text); };
    builtIn.spoken = [](SpokenText text) { return std::string(spokenTextEnglish(text)); };
    for (const SettingRow& row : pageSettings()) {
        const std::string name(row.control);
        SCOPED_TRACE(name);
        auto* control = find<QWidget>(name.c_str());
        ASSERT_NE(control, nullptr);
        const QString caption = QString::fromStdString(std::string(row.caption));
        if (const auto* spin = qobject_cast<const AbNumSpin*>(control)) {
            EXPECT_EQ(row.editor, SettingEditor::Spin);
            EXPECT_EQ(spin->minimum(), row.spin.minimum);
            EXPECT_EQ(spin->maximum(), row.spin.maximum);
            EXPECT_EQ(spin->increment(), row.spin.step);
            EXPECT_EQ(spin->format().toStdString(), row.spin.pattern);
        } else if (const auto* box = qobject_cast<const QComboBox*>(control)) {
            EXPECT_EQ(row.editor, SettingEditor::List);
            std::vector<std::string> shown;
            for (int i = 0; i < box->count(); ++i)
                shown.push_back(box->itemText(i).toStdString());
            EXPECT_EQ(shown, settingItems(row));
        } else if (const auto* tick = qobject_cast<const QCheckBox*>(control)) {
            EXPECT_EQ(row.editor, SettingEditor::Tick);
            EXPECT_EQ(tick->text(), caption);
        } else {
            ADD_FAILURE() << "not a setting's editor";
        }
        if (row.captionFrom != CaptionFrom::Own && !row.label.empty()) {
            const auto* label = find<QLabel>(std::string(row.label).c_str());
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->text(), caption);
        }
        QString read = accessibleNameOf(control).trimmed();
        while (read.endsWith(QLatin1Char(':')))
            read.chop(1);
        EXPECT_EQ(read.trimmed().toStdString(), settingCaption(row, builtIn));
    }
}

TEST_F(SetupDescriptionWindowTest, EverySettingReadsAsItsControlShowsIt) {
    connectWithSample(1);
    expectControlsShow({});
}

TEST_F(SetupDescriptionWindowTest, InTheChosenLanguage) {
    installLanguageFile(QStringLiteral("pol.txt"));
    connectWithSample(4);
    logic->language().load(2);
    // A language load sets the cut-off and cruise lists to their first entry, as it always
    // has; the refresh shows the image's items again.
    logic->RefreshControls();
    const LanguageDef* polish = findLanguage(2);
    ASSERT_NE(polish, nullptr);
    const SetupTexts texts = setupTexts(readLanguageFile(
        (folder + QStringLiteral("/lang/pol.txt")).toStdString(), polish->codePage));
    EXPECT_FALSE(texts.captions.empty());
    expectControlsShow(texts);
}

}  // namespace
}  // namespace kaldor::test
