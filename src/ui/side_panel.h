#pragma once
// The always-visible summary panel at the left of the main window: six stacked panels with the
// engine's main readings, the tank level, the valves, the fuel-mode buttons, the status lamp and
// the progress bar of long transfers. The live display fills it; the window connects the buttons
// and the status lamp.
#include <QFrame>
#include <QLabel>
#include <QProgressBar>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ui/live_gauges.h"
#include "widgets/ab_bar.h"
#include "widgets/ab_col_bit_btn.h"
#include "widgets/ab_led.h"
#include "widgets/ab_meter.h"

namespace kaldor {

struct ControllerSession;

struct LiveRecord;
struct StatusIndicator;
struct StatusTexts;
enum class FuelMode : std::uint8_t;

class SidePanel : public QFrame {
    Q_OBJECT

public:
    static constexpr int kWidth = 196;

    explicit SidePanel(QWidget* parent = nullptr);

    // Registers the page's share of the live display with the session.
    void attach(ControllerSession& session);

    // The live display's share: the main readings, tank level, valves and the status lamp.
    void showRecord(const LiveRecord& record);
    void showStatus(const StatusIndicator& status);
    // The running mode's button is shown selected and the status word takes the mode's colour;
    // nothing selected (and the word red) while no mode is known.
    void showFuelMode(std::optional<FuelMode> mode);
    // Under the status lamp: the ports the last scan could not open, a few words each (`lines`,
    // the whole advice, as its tool tip); hidden when there are none.
    void showPortProblems(const std::vector<std::string>& briefs,
                          const std::vector<std::string>& lines);

    // PanelV2: engine speed and pressures.
    QFrame* PanelV2 = nullptr;
    QLabel* LabelPasRpm = nullptr;
    AbBar* AbBarPasRpm = nullptr;
    Ab180Meter* Ab180MeterPasDifP = nullptr;
    QLabel* LabelPasDif = nullptr;
    AbBar* AbBarPasDifP = nullptr;
    QLabel* LabelPasVac = nullptr;
    AbBar* AbBarPasVacum = nullptr;
    QLabel* LabelPasAbs = nullptr;
    AbBar* AbBarPasAbs = nullptr;

    // PanelV4: temperatures.
    QFrame* PanelV4 = nullptr;
    QLabel* LabelTempG = nullptr;
    AbBar* AbBarPasTg = nullptr;
    QLabel* LabelTempR = nullptr;
    AbBar* AbBarPasTr = nullptr;

    // PanelV5: air flow, throttle and rail pressure signals.
    QFrame* PanelV5 = nullptr;
    QLabel* LabelAirFlow = nullptr;
    AbBar* AbBarPasAir = nullptr;
    QLabel* LabelTPSpas = nullptr;
    AbBar* AbBarPasTps = nullptr;
    QLabel* LabelRailPresPas = nullptr;
    AbBar* AbBarPasRail = nullptr;

    // PanelV6: propane level; AbLedPasLev1 is the empty tank, AbLedPasLev5 the full one.
    QFrame* PanelV6 = nullptr;
    QLabel* LabelPasLevel = nullptr;
    AbBar* AbBarPasLevel = nullptr;
    QLabel* LabelPasLevel2 = nullptr;
    AbLED* AbLedPasLev1 = nullptr;
    AbLED* AbLedPasLev2 = nullptr;
    AbLED* AbLedPasLev3 = nullptr;
    AbLED* AbLedPasLev4 = nullptr;
    AbLED* AbLedPasLev5 = nullptr;

    // PanelV1: valves, gas stepper and exhaust-gas temperature. The regulator and tank valve
    // lamps stay hidden until something shows them.
    QFrame* PanelV1 = nullptr;
    AbLED* AbLEDReduktor = nullptr;
    AbLED* AbLEDZaworEzaw = nullptr;
    AbLED* AbLEDdiesel = nullptr;
    AbBar* AbBarPasStep = nullptr;
    AbBar* AbBarPasStepProc = nullptr;
    AbBar* AbBarEGT = nullptr;
    AbBar* AbBarEGT1 = nullptr;

    // PanelV7: fuel mode, status and progress.
    QFrame* PanelV7 = nullptr;
    QLabel* LabelPasStatus = nullptr;
    AbColBitBtn* AbColBitBtnPasBenzyna = nullptr;
    AbColBitBtn* AbColBitBtnPasAutomat = nullptr;
    AbColBitBtn* AbColBitBtnPasGaz = nullptr;
    AbLED* AbLEDStatus = nullptr;
    QLabel* LabelPortProblems = nullptr;
    QProgressBar* ProgressBar1 = nullptr;

private:
    void buildPressurePanel();
    void buildTemperaturePanel();
    void buildSignalPanel();
    void buildLevelPanel();
    void buildValvePanel();
    void buildStatusPanel();

    LiveGauges m_gauges;
    const StatusTexts* m_texts = nullptr;
};

}  // namespace kaldor
