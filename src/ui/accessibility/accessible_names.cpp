#include "ui/accessibility/accessible_names.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QScrollArea>
#include <QTabBar>

#include <array>

#include "files/text_ids.h"
#include "service/setting_rows.h"
#include "ui/accessibility/accessible_names_internal.h"
#include "widgets/ab_led.h"
#include "widgets/instrument_accessibility.h"

namespace kaldor {
namespace {

constexpr std::size_t kSpokenCount = static_cast<std::size_t>(SpokenText::Count);

QString englishSpoken(std::size_t index) {
    const std::string_view text = spokenTextEnglish(static_cast<SpokenText>(index));
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::array<QString, kSpokenCount>& spokenTexts() {
    static std::array<QString, kSpokenCount> texts = [] {
        std::array<QString, kSpokenCount> english;
        for (std::size_t i = 0; i < kSpokenCount; ++i)
            english[i] = englishSpoken(i);
        return english;
    }();
    return texts;
}

// The scope's selectors by the trace they choose, numbered as the recorder numbers its channels
// (0 the black trace, 1 the red one, 2 and 3 the green and the blue), and its colour as drawn
// (the selectors' names do not say their colours).
struct TraceName {
    const char* control;
    int trace;
    SpokenText colour;
};
constexpr TraceName kTraceNames[] = {
    {"ComboBoxScopType", 0, SpokenText::Black},
    {"ComboBoxScopeTypeRed", 1, SpokenText::Red},
    {"ComboBoxScopeTypeBlue", 2, SpokenText::Green},
    {"ComboBoxScopeTypeGreen", 3, SpokenText::Blue},
};

// Gauges without caption or label, read by the quantity they show.
struct QuantityName {
    const char* control;
    SpokenText name;
};
constexpr QuantityName kQuantityNames[] = {
    {"Ab270MeterRPM", SpokenText::EngineSpeed},
    {"Ab180MeterPasDifP", SpokenText::PressureDifference},
};

// Grids without a caption, read by what they hold (as the set-up report heads them).
constexpr QuantityName kGridNames[] = {
    {"StringGridErrorMemory", SpokenText::ErrorMemory},
    {"StringGridMapa", SpokenText::MainMap},
    {"StringGridMapaTempomatu", SpokenText::CruiseMap},
};

// Controls of no setting without a caption, label or tool tip, read by what they hold (the
// settings' controls are named by their rows); a family of numbered controls shares one text
// with its number for "%1" (0: none).
struct HeldName {
    const char* control;
    SpokenText name;
    int number;
};
constexpr HeldName kHeldNames[] = {
    {"ComboBoxLevel", SpokenText::AssumedRevision, 0},
    {"ComboBoxRpmDefs", SpokenText::ColumnPresets, 0},
    {"ComboBoxInjTdefs", SpokenText::RowPresets, 0},
    {"EditDieselL", SpokenText::DieselConsumption, 0},
    {"EditGazL", SpokenText::PropaneConsumption, 0},
    {"StringGridBenz", SpokenText::DieselTable, 0},
    {"StringGridGaz", SpokenText::GasTable, 0},
    {"StringGrid3dKor", SpokenText::CorrectionTable, 0},
    {"StringGridKorektuj", SpokenText::GasDieselDifference, 0},
    {"StringGridTpsEmulator", SpokenText::TpsEmulatorTable, 0},
    {"StringGridStepEmu", SpokenText::StepEmulatorTable, 0},
};

// Pages without a caption of their own and nothing on them to name their tab by.
constexpr QuantityName kTabNames[] = {{"TabSheet11", SpokenText::CalibrationTables}};

// The side panel's tank lamps have no captions; they are named by their row's label and the
// caption of the readings page's lamp for the same level ("tank 3/4").
struct BorrowedName {
    const char* control;
    const char* label;
    const char* captionOf;
};
constexpr BorrowedName kBorrowedNames[] = {
    {"AbLedPasLev1", "LabelPasLevel2", "AbLEDOdPoz0"},
    {"AbLedPasLev2", "LabelPasLevel2", "AbLEDOdPoz1"},
    {"AbLedPasLev3", "LabelPasLevel2", "AbLEDOdPoz2"},
    {"AbLedPasLev4", "LabelPasLevel2", "AbLEDOdPoz3"},
    {"AbLedPasLev5", "LabelPasLevel2", "AbLEDOdPoz4"},
};

QString shownCaption(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return plainText(label->text());
    if (const auto* led = qobject_cast<const AbLED*>(widget))
        return plainText(led->caption());
    return {};
}

void nameByTable(QWidget* control, const QString& name) {
    control->setAccessibleName(name);
    control->setProperty(kNamedByTableProperty, true);
}

QWidget* findNamed(QWidget& window, std::string_view name) {
    return window.findChild<QWidget*>(
        QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
}

// What the window shows under an objectName, as a name reads it: a label's, a check box's or a
// group's text.
std::string shownText(QWidget& window, std::string_view name, std::string_view builtIn) {
    const QWidget* widget = findNamed(window, name);
    QString text;
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        text = label->text();
    else if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        text = button->text();
    else if (const auto* group = qobject_cast<const QGroupBox*>(widget))
        text = group->title();
    else
        return std::string(builtIn);
    return plainText(text).toStdString();
}


// A setting's control with a label beside it is the label's buddy, read by the label as Qt reads
// a buddy (a sibling); inside a wrapper it is named by the label's text.
void settingBuddies(QWidget& window) {
    for (const SettingRow& row : pageSettings()) {
        QWidget* control = findNamed(window, row.control);
        auto* label = qobject_cast<QLabel*>(findNamed(window, row.label));
        if (row.captionFrom == CaptionFrom::Label && control != nullptr && label != nullptr &&
            label->parentWidget() == control->parentWidget())
            label->setBuddy(control);
    }
}

// The other settings' controls by the caption their rows compose, in the texts now shown.
void nameSettings(QWidget& window) {
    CaptionTexts texts;
    texts.shown = [&window](std::string_view name, std::string_view builtIn) {
        return shownText(window, name, builtIn);
    };
    texts.spoken = [](SpokenText text) { return spokenText(text).toStdString(); };
    for (const SettingRow& row : pageSettings()) {
        QWidget* control = findNamed(window, row.control);
        if (control == nullptr || row.captionFrom == CaptionFrom::Own)
            continue;
        if (row.captionFrom != CaptionFrom::Label) {
            nameByTable(control, QString::fromStdString(settingCaption(row, texts)));
            continue;
        }
        const auto* label = qobject_cast<const QLabel*>(findNamed(window, row.label));
        if (label != nullptr && label->parentWidget() != control->parentWidget())
            nameByTable(control, plainText(label->text()));
    }
}

// The names of the tables above, in the texts of the language loaded.
void nameFromTables(QWidget& window) {
    auto find = [&window](const char* name) {
        return window.findChild<QWidget*>(QString::fromLatin1(name));
    };
    for (const TraceName& entry : kTraceNames)
        if (QWidget* control = find(entry.control))
            nameByTable(
                control,
                spokenText(SpokenText::ScopeTrace).arg(entry.trace).arg(spokenText(entry.colour)));
    for (const QuantityName& entry : kQuantityNames)
        if (QWidget* control = find(entry.control))
            instrument_accessibility::setFallbackName(control, spokenText(entry.name));
    for (const QuantityName& entry : kGridNames)
        if (QWidget* control = find(entry.control))
            nameByTable(control, spokenText(entry.name));
    nameSettings(window);
    for (const HeldName& entry : kHeldNames)
        if (QWidget* control = find(entry.control))
            nameByTable(control, entry.number > 0 ? spokenText(entry.name).arg(entry.number)
                                                  : spokenText(entry.name));
    for (const BorrowedName& entry : kBorrowedNames) {
        QWidget* control = find(entry.control);
        const QWidget* label = find(entry.label);
        const QWidget* captioned = find(entry.captionOf);
        if (control != nullptr && label != nullptr && captioned != nullptr)
            nameByTable(control, shownCaption(label) + QLatin1Char(' ') + shownCaption(captioned));
    }
    // The transfers' progress bars have no caption and no label.
    for (QProgressBar* bar : window.findChildren<QProgressBar*>())
        if (bar->accessibleName().isEmpty() || bar->property(kNamedByTableProperty).toBool())
            nameByTable(bar, spokenText(SpokenText::Progress));
    instrument_accessibility::setLampWords(spokenText(SpokenText::LampOn),
                                           spokenText(SpokenText::LampOff));
}

}  // namespace

void resetSpokenTexts() {
    for (std::size_t i = 0; i < kSpokenCount; ++i)
        spokenTexts()[i] = englishSpoken(i);
}

void setSpokenText(int index, const std::string& text) {
    if (index >= 0 && static_cast<std::size_t>(index) < kSpokenCount)
        spokenTexts()[static_cast<std::size_t>(index)] = QString::fromStdString(text);
}

QString spokenText(SpokenText text) {
    return spokenTexts()[static_cast<std::size_t>(text)];
}

QString accessibleNameOf(QWidget* widget) {
    if (QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget))
        return iface->text(QAccessible::Name);
    return widget->accessibleName();
}

QString tabNameByTable(const QWidget* page) {
    QString name;
    for (const QuantityName& entry : kTabNames)
        if (page != nullptr && page->objectName() == QLatin1String(entry.control))
            name = spokenText(entry.name);
    return name;
}

void nameControls(QWidget& window) {
    for (QTabBar* bar : window.findChildren<QTabBar*>())
        nameTabs(*bar);
    nameFromTables(window);
    composeNames(window);
}

void prepareAccessibility(QWidget& window) {
    instrument_accessibility::install();
    resetSpokenTexts();
    instrument_accessibility::adopt(window);
    for (QComboBox* list : window.findChildren<QComboBox*>())
        instrument_accessibility::nameByLabel(list);
    // A scroll frame passes the focus on to its controls and scrolls to them; it is no stop.
    for (QScrollArea* scroll : window.findChildren<QScrollArea*>())
        scroll->setFocusPolicy(Qt::NoFocus);
    settingBuddies(window);
    setBuddies(window);
    const std::vector<QWidget*> chain = tabChain(window);
    for (std::size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
    nameControls(window);
}

}  // namespace kaldor
