#include "ui/side_panel.h"

#include "live/live_display.h"
#include "live/live_signals.h"
#include "ui/live_gauges.h"
#include "ui/session.h"
#include "ui/ui_build.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace kaldor {

namespace {

// The status word stands out: taller than the other lamps (its caption grows with it), bold, and
// red while it reports trouble.
constexpr int kStatusLampHeight = 28;
constexpr QRgb kTroubleWordColour = 0xC01E1E;

constexpr int kMargin = 2;
constexpr int kSpacing = 1;

struct FuelButtonLook {
    const char* name;
    const char* text;
    QRgb colorOn;
    QRgb wordColour;  // the status word's colour in this mode: the lit colour, darkened to read
};

// The lit colour tells the three modes apart at a glance; unlit they are all grey.
constexpr FuelButtonLook kFuelButtons[] = {
    {"AbColBitBtnPasBenzyna", "diesel", 0xEBBE28, 0x8A6400},
    {"AbColBitBtnPasAutomat", "auto", 0x4696EB, 0x1A4F9C},
    {"AbColBitBtnPasGaz", "propane", 0x3CC83C, 0x17701A},
};

QGridLayout* panelGrid(QFrame* panel) {
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(kSpacing);
    grid->setColumnStretch(1, 1);
    return grid;
}

AbBar* sideBar(LiveGauges& gauges, QWidget* parent, const char* name) {
    auto* bar = gauges.bar(parent, name);
    bar->setOrientation(Qt::Horizontal);
    return bar;
}

// A labelled bar as one row of a panel grid.
AbBar* addBarRow(LiveGauges& gauges, QGridLayout* grid, QFrame* panel, QLabel*& label,
                 const char* labelName, const QString& labelText, const char* barName) {
    const int row = grid->rowCount();
    label = namedLabel(panel, labelName, labelText);
    AbBar* bar = sideBar(gauges, panel, barName);
    grid->addWidget(label, row, 0);
    grid->addWidget(bar, row, 1);
    return bar;
}

}  // namespace

SidePanel::SidePanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("PanelPasek"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setFixedWidth(kWidth);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);

    buildPressurePanel();
    buildTemperaturePanel();
    buildSignalPanel();
    buildLevelPanel();
    buildValvePanel();
    buildStatusPanel();

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    column->setSpacing(kMargin);
    // The pressure panel holds the round meter: it takes the spare height first.
    column->addWidget(PanelV2, 3);
    column->addWidget(PanelV4, 1);
    column->addWidget(PanelV5, 1);
    column->addWidget(PanelV6, 1);
    column->addWidget(PanelV1, 2);
    column->addWidget(PanelV7, 1);
}

void SidePanel::buildPressurePanel() {
    PanelV2 = namedPanel(this, "PanelV2");
    QGridLayout* grid = panelGrid(PanelV2);
    AbBarPasRpm = addBarRow(m_gauges, grid, PanelV2, LabelPasRpm, "LabelPasRpm",
                            QStringLiteral("RPM"), "AbBarPasRpm");
    Ab180MeterPasDifP = m_gauges.meter<Ab180Meter>(PanelV2, "Ab180MeterPasDifP");
    grid->addWidget(Ab180MeterPasDifP, grid->rowCount(), 0, 1, 2);
    grid->setRowStretch(grid->rowCount() - 1, 1);
    AbBarPasDifP = addBarRow(m_gauges, grid, PanelV2, LabelPasDif, "LabelPasDif",
                             QStringLiteral("diff."), "AbBarPasDifP");
    AbBarPasVacum = addBarRow(m_gauges, grid, PanelV2, LabelPasVac, "LabelPasVac",
                              QStringLiteral("boost"), "AbBarPasVacum");
    AbBarPasAbs = addBarRow(m_gauges, grid, PanelV2, LabelPasAbs, "LabelPasAbs",
                            QStringLiteral("abs."), "AbBarPasAbs");
}

void SidePanel::buildTemperaturePanel() {
    PanelV4 = namedPanel(this, "PanelV4");
    QGridLayout* grid = panelGrid(PanelV4);
    AbBarPasTg = addBarRow(m_gauges, grid, PanelV4, LabelTempG, "LabelTempG",
                           QStringLiteral("T.gas"), "AbBarPasTg");
    AbBarPasTr = addBarRow(m_gauges, grid, PanelV4, LabelTempR, "LabelTempR",
                           QStringLiteral("T.reg."), "AbBarPasTr");
}

void SidePanel::buildSignalPanel() {
    PanelV5 = namedPanel(this, "PanelV5");
    QGridLayout* grid = panelGrid(PanelV5);
    AbBarPasAir = addBarRow(m_gauges, grid, PanelV5, LabelAirFlow, "LabelAirFlow",
                            QStringLiteral("air flow"), "AbBarPasAir");
    AbBarPasTps = addBarRow(m_gauges, grid, PanelV5, LabelTPSpas, "LabelTPSpas",
                            QStringLiteral("TPS"), "AbBarPasTps");
    AbBarPasRail = addBarRow(m_gauges, grid, PanelV5, LabelRailPresPas, "LabelRailPresPas",
                             QStringLiteral("rail"), "AbBarPasRail");
}

void SidePanel::buildLevelPanel() {
    PanelV6 = namedPanel(this, "PanelV6");
    QGridLayout* grid = panelGrid(PanelV6);
    AbBarPasLevel = addBarRow(m_gauges, grid, PanelV6, LabelPasLevel, "LabelPasLevel",
                              QStringLiteral("level"), "AbBarPasLevel");

    LabelPasLevel2 = namedLabel(PanelV6, "LabelPasLevel2", QStringLiteral("tank"));
    auto* lamps = new QHBoxLayout;
    lamps->setSpacing(2);
    AbLED** const levelLeds[] = {&AbLedPasLev1, &AbLedPasLev2, &AbLedPasLev3, &AbLedPasLev4,
                                 &AbLedPasLev5};
    const char* const levelNames[] = {"AbLedPasLev1", "AbLedPasLev2", "AbLedPasLev3",
                                      "AbLedPasLev4", "AbLedPasLev5"};
    for (std::size_t i = 0; i < std::size(levelLeds); ++i) {
        *levelLeds[i] = m_gauges.lamp(PanelV6, levelNames[i]);
        lamps->addWidget(*levelLeds[i]);
    }
    const int row = grid->rowCount();
    grid->addWidget(LabelPasLevel2, row, 0);
    grid->addLayout(lamps, row, 1);
}

void SidePanel::buildValvePanel() {
    PanelV1 = namedPanel(this, "PanelV1");
    auto* column = new QVBoxLayout(PanelV1);
    column->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    column->setSpacing(kSpacing);
    AbLEDReduktor = m_gauges.lamp(PanelV1, "AbLEDReduktor", QStringLiteral("Regulator Valve"));
    AbLEDZaworEzaw =
        m_gauges.lamp(PanelV1, "AbLEDZaworEzaw", QStringLiteral("Tank + Filter Valve"));
    AbLEDdiesel = m_gauges.lamp(PanelV1, "AbLEDdiesel", QStringLiteral("Diesel ECO Valve"));
    AbLEDReduktor->hide();
    AbLEDZaworEzaw->hide();
    column->addWidget(AbLEDReduktor);
    column->addWidget(AbLEDZaworEzaw);
    column->addWidget(AbLEDdiesel);

    AbBarPasStep = sideBar(m_gauges, PanelV1, "AbBarPasStep");
    AbBarPasStep->setCaption(QStringLiteral("step"));
    AbBarPasStepProc = sideBar(m_gauges, PanelV1, "AbBarPasStepProc");
    AbBarPasStepProc->setCaption(QStringLiteral("step %"));
    AbBarEGT = sideBar(m_gauges, PanelV1, "AbBarEGT");
    AbBarEGT->setCaption(QStringLiteral("EGT"));
    AbBarEGT1 = sideBar(m_gauges, PanelV1, "AbBarEGT1");
    AbBarEGT1->setCaption(QStringLiteral("EGT"));
    for (AbBar* bar : {AbBarPasStep, AbBarPasStepProc, AbBarEGT, AbBarEGT1}) {
        column->addWidget(bar);
    }
}

void SidePanel::buildStatusPanel() {
    PanelV7 = namedPanel(this, "PanelV7");
    auto* column = new QVBoxLayout(PanelV7);
    column->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    column->setSpacing(kSpacing + 1);

    LabelPasStatus = namedLabel(PanelV7, "LabelPasStatus", QStringLiteral("STATUS:"));
    column->addWidget(LabelPasStatus);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(2);
    AbColBitBtn** const targets[] = {&AbColBitBtnPasBenzyna, &AbColBitBtnPasAutomat,
                                     &AbColBitBtnPasGaz};
    for (std::size_t i = 0; i < std::size(targets); ++i) {
        const FuelButtonLook& look = kFuelButtons[i];
        auto* button = named<AbColBitBtn>(PanelV7, look.name);
        button->setTextOn(QString::fromLatin1(look.text));
        button->setTextOff(QString::fromLatin1(look.text));
        button->setColorOn(QColor::fromRgb(look.colorOn));
        // One of three modes: read as a radio button, checked while the controller runs it.
        button->setChoice(true);
        *targets[i] = button;
        buttons->addWidget(button);
    }
    column->addLayout(buttons);

    AbLEDStatus = named<AbLED>(PanelV7, "AbLEDStatus");
    // Lit means trouble: no controller, ignition or a fault.
    AbLEDStatus->setColor(QColor(230, 40, 30));
    AbLEDStatus->setCursor(Qt::PointingHandCursor);
    AbLEDStatus->setMinimumHeight(kStatusLampHeight);
    // "STATUS" names the lamp, whose caption is what it reports.
    LabelPasStatus->setBuddy(AbLEDStatus);
    QFont statusFont = AbLEDStatus->font();
    statusFont.setBold(true);
    AbLEDStatus->setFont(statusFont);
    column->addWidget(AbLEDStatus);

    LabelPortProblems = namedLabel(PanelV7, "LabelPortProblems", QString());
    LabelPortProblems->setWordWrap(true);
    QPalette problemColours = LabelPortProblems->palette();
    problemColours.setColor(QPalette::WindowText, QColor::fromRgb(kTroubleWordColour));
    LabelPortProblems->setPalette(problemColours);
    LabelPortProblems->hide();
    column->addWidget(LabelPortProblems);

    ProgressBar1 = named<QProgressBar>(PanelV7, "ProgressBar1");
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setMaximumHeight(12);
    column->addWidget(ProgressBar1);
}

void SidePanel::showRecord(const LiveRecord& record) {
    m_gauges.show(record);
    const StatusIndicator status = statusIndicatorFor(record.frame, *m_texts);
    showStatus(status);
    // The mode the controller runs, unless the status says something is wrong instead.
    const FuelMode mode = fuelMode(record.frame);
    showFuelMode(status.status == 0 && mode != FuelMode::Error ? std::optional<FuelMode>(mode)
                                                               : std::nullopt);
}

void SidePanel::showStatus(const StatusIndicator& status) {
    AbLEDStatus->setStatus(status.status);
    AbLEDStatus->setFlashing(status.flashing);
    AbLEDStatus->setCaption(QString::fromStdString(status.caption));
    if (status.status != 0)
        showFuelMode(std::nullopt);
}

void SidePanel::showPortProblems(const std::vector<std::string>& briefs,
                                 const std::vector<std::string>& lines) {
    auto joined = [](const std::vector<std::string>& texts) {
        QStringList list;
        for (const std::string& text : texts)
            list << QString::fromStdString(text);
        return list.join(QLatin1Char('\n'));
    };
    LabelPortProblems->setText(joined(briefs));
    // The whole advice (the group to join, what to check) on hovering, and for a screen reader.
    LabelPortProblems->setToolTip(joined(lines));
    LabelPortProblems->setAccessibleDescription(joined(lines));
    LabelPortProblems->setVisible(!briefs.empty());
}

void SidePanel::showFuelMode(std::optional<FuelMode> mode) {
    // Only the display: the buttons' states never send anything.
    AbColBitBtn* const buttons[] = {AbColBitBtnPasBenzyna, AbColBitBtnPasAutomat,
                                    AbColBitBtnPasGaz};
    const FuelMode modes[] = {FuelMode::Diesel, FuelMode::Auto, FuelMode::Propane};
    QRgb word = kTroubleWordColour;
    for (std::size_t i = 0; i < std::size(buttons); ++i) {
        const bool running = mode == modes[i];
        buttons[i]->setState(running);
        if (running)
            word = kFuelButtons[i].wordColour;
    }
    QPalette palette = AbLEDStatus->palette();
    if (palette.color(QPalette::WindowText) == QColor::fromRgb(word))
        return;
    palette.setColor(QPalette::WindowText, QColor::fromRgb(word));
    AbLEDStatus->setPalette(palette);
}

void SidePanel::attach(ControllerSession& session) {
    m_texts = &session.texts;
    session.live.add(LiveStage::Display, [this](const LiveRecord& record) { showRecord(record); });
}

}  // namespace kaldor
