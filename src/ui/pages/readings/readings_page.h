#pragma once
// Page 0, "[F2]readings": the live gauges, valve, level and state lamps, the work-time texts,
// the battery voltage and the oscilloscope panel. The live display and the oscilloscope fill
// it; the controls carry their names for them.
#include <QComboBox>
#include <QFrame>
#include <QLabel>

#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include "widgets/live_label.h"

#include <array>
#include <memory>

#include "live/live_display.h"
#include "ui/live_gauges.h"
#include "widgets/ab_bar.h"
#include "widgets/ab_led.h"
#include "widgets/ab_meter.h"

namespace kaldor {

struct ControllerSession;

struct LiveRecord;
struct StatusTexts;
class Oscilloscope;
class ScopeBox;

class ReadingsPage : public QWidget {
    Q_OBJECT

public:
    explicit ReadingsPage(QWidget* parent = nullptr);
    ~ReadingsPage() override;

    // Registers the page's share of the live display with the session.
    void attach(ControllerSession& session);

    // The live display's share: gauges, lamps, work times, the battery voltage and the
    // consumption estimate.
    void showRecord(const LiveRecord& record);
    // "SET PIN" is offered from software 11 on, once the PIN of this connection is accepted: at
    // refresh step SetPinButton, and hidden when a scan starts.
    void refreshSetPinButton();
    // The recorder on PaintBoxScope with its four channel selectors.
    [[nodiscard]] Oscilloscope& oscilloscope() const { return *m_scope; }

    Ab270Meter* Ab270MeterRPM = nullptr;
    Ab180Meter* Ab180MeterDIFP = nullptr;

    QLabel* LabelOdLambda = nullptr;
    AbBar* AbBarLambda = nullptr;
    QLabel* LabelTPS = nullptr;
    AbBar* AbBarTPS = nullptr;
    QLabel* LabelCommonRail = nullptr;
    AbBar* AbBarRail = nullptr;
    QLabel* LabelOdT = nullptr;
    QLabel* LabelOdTg = nullptr;
    AbBar* AbBarOdTg = nullptr;
    QLabel* LabelOdTR = nullptr;
    AbBar* AbBarOdTR = nullptr;
    QLabel* LabelOdLevel = nullptr;
    AbBar* AbBarOdRez = nullptr;
    QLabel* LabelStep = nullptr;
    AbBar* AbBarStep = nullptr;

    // Tank level: AbLEDOdPoz0 is the reserve lamp, AbLEDOdPoz1..4 the quarters.
    AbLED* AbLEDOdPoz0 = nullptr;
    AbLED* AbLEDOdPoz1 = nullptr;
    AbLED* AbLEDOdPoz2 = nullptr;
    AbLED* AbLEDOdPoz3 = nullptr;
    AbLED* AbLEDOdPoz4 = nullptr;
    AbLED* AbLEDRed = nullptr;
    AbLED* AbLEDEzaw = nullptr;
    AbLED* AbLEDdies = nullptr;
    AbLED* AbLEDStac = nullptr;

    LiveLabel* LabelWTG = nullptr;
    LiveLabel* LabelWTD = nullptr;
    QLineEdit* EditAkum = nullptr;
    QPushButton* ButtonSetPin = nullptr;

    QFrame* PanelOsc = nullptr;
    ScopeBox* PaintBoxScope = nullptr;
    QComboBox* ComboBoxScopType = nullptr;
    QComboBox* ComboBoxScopeTypeRed = nullptr;
    QComboBox* ComboBoxScopeTypeGreen = nullptr;
    QComboBox* ComboBoxScopeTypeBlue = nullptr;

    // Hidden: the consumption estimate and the display-colour buttons (Button2 .. Button10,
    // ButtonFormColor).
    QLineEdit* EditDieselL = nullptr;
    QLineEdit* EditGazL = nullptr;
    std::array<QPushButton*, 10> colourButtons{};

private:
    QLayout* buildMeters();
    QLayout* buildBars();
    QLayout* buildLamps();
    QFrame* buildOscilloscope();
    void buildHiddenControls();

    LiveGauges m_gauges;
    std::unique_ptr<Oscilloscope> m_scope;
    const ControllerSession* m_session = nullptr;
    const StatusTexts* m_texts = nullptr;
    ConsumptionEstimate m_consumption;
};

}  // namespace kaldor
