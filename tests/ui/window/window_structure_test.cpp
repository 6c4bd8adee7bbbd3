// What creation builds: caption, pages in order, every named control, the live gauges as their
// signals' rows draw them and the fixed grid headings.
#include <QLocale>
#include <QTabWidget>
#include <QTableWidget>

#include "ui/live_gauges.h"
#include "ui/map_grid/grid_headers.h"
#include "ui/ui_build.h"
#include "widgets/ab_bar.h"
#include "widgets/ab_meter.h"
#include "widgets/instrument_accessibility.h"
#include "window_fixture.h"

namespace kaldor::test {
namespace {

TEST_F(WindowTest, CarriesItsNameAndStartCaption) {
    EXPECT_EQ(window->objectName(), QStringLiteral("TForm1"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("KALDOR DIESEL v4.706"));
}

TEST_F(WindowTest, PagesInOrderWithBuiltInCaptionsAndTabsShownAsGiven) {
    auto* pages = find<QTabWidget>("PageControl1");
    ASSERT_NE(pages, nullptr);
    struct Page {
        const char* name;
        const char* caption;
        bool tabShownAtStart;
    };
    const Page expected[] = {
        {"TabSheet1", "[F2]readings", true},
        {"TabSheet2", "[F3]parameters", true},
        {"TabSheet3", "[F4]adjustment", true},
        {"TabSheet4", "[F5]diagnostic", true},
        {"TabSheet5", "", false},
        {"TabSheet9", "", false},
        {"TabSheet10", "EMU", true},
        {"TabSheet11", "", true},
    };
    ASSERT_EQ(pages->count(), 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(pages->widget(i)->objectName(), QString::fromLatin1(expected[i].name)) << i;
        EXPECT_EQ(pages->tabText(i), QString::fromLatin1(expected[i].caption)) << i;
        EXPECT_EQ(pages->isTabVisible(i), expected[i].tabShownAtStart) << i;
    }
    EXPECT_EQ(window->currentPage(), 0);

    auto* diag = find<QTabWidget>("PageControlDiag");
    ASSERT_NE(diag, nullptr);
    ASSERT_EQ(diag->count(), 3);
    EXPECT_EQ(diag->tabText(0), QStringLiteral("ECU"));
    EXPECT_EQ(diag->tabText(1), QStringLiteral("EOBD/OBD/OBDII"));
    EXPECT_EQ(diag->tabText(2), QStringLiteral("DataLogger"));
    EXPECT_EQ(diag->widget(1)->objectName(), QStringLiteral("TabSheet7"));
}

TEST_F(WindowTest, EveryNamedControlExists) {
    const char* const names[] = {
        // side panel
        "PanelPasek",
        "PanelV2",
        "PanelV4",
        "PanelV5",
        "PanelV6",
        "PanelV1",
        "PanelV7",
        "AbBarPasRpm",
        "Ab180MeterPasDifP",
        "AbBarPasDifP",
        "AbBarPasVacum",
        "AbBarPasAbs",
        "AbBarPasTg",
        "AbBarPasTr",
        "AbBarPasAir",
        "AbBarPasTps",
        "AbBarPasRail",
        "AbBarPasLevel",
        "AbLedPasLev1",
        "AbLedPasLev2",
        "AbLedPasLev3",
        "AbLedPasLev4",
        "AbLedPasLev5",
        "AbLEDReduktor",
        "AbLEDZaworEzaw",
        "AbLEDdiesel",
        "AbBarPasStep",
        "AbBarPasStepProc",
        "AbBarEGT",
        "AbBarEGT1",
        "LabelPasStatus",
        "AbColBitBtnPasBenzyna",
        "AbColBitBtnPasAutomat",
        "AbColBitBtnPasGaz",
        "AbLEDStatus",
        "ProgressBar1",
        "LabelPasDif",
        "LabelPasVac",
        "LabelPasAbs",
        "LabelPasRpm",
        "LabelTempG",
        "LabelTempR",
        "LabelAirFlow",
        "LabelTPSpas",
        "LabelRailPresPas",
        "LabelPasLevel",
        "LabelPasLevel2",
        // readings page
        "Ab270MeterRPM",
        "Ab180MeterDIFP",
        "AbBarTPS",
        "AbBarLambda",
        "AbBarRail",
        "AbBarOdTg",
        "AbBarOdTR",
        "AbBarOdRez",
        "AbBarStep",
        "AbLEDOdPoz0",
        "AbLEDOdPoz1",
        "AbLEDOdPoz2",
        "AbLEDOdPoz3",
        "AbLEDOdPoz4",
        "AbLEDRed",
        "AbLEDEzaw",
        "AbLEDdies",
        "AbLEDStac",
        "LabelWTG",
        "LabelWTD",
        "EditAkum",
        "ButtonSetPin",
        "PanelOsc",
        "PaintBoxScope",
        "ComboBoxScopType",
        "ComboBoxScopeTypeRed",
        "ComboBoxScopeTypeGreen",
        "ComboBoxScopeTypeBlue",
        "EditDieselL",
        "EditGazL",
        "Button2",
        "Button3",
        "Button4",
        "Button5",
        "Button6",
        "Button7",
        "Button8",
        "Button9",
        "Button10",
        "LabelOdLambda",
        "LabelTPS",
        "LabelCommonRail",
        "LabelOdT",
        "LabelOdTg",
        "LabelOdTR",
        "LabelOdLevel",
        "LabelStep",
        // other pages
        "EditAlter",
        "GroupBoxPar3",
        "GroupBoxDoubleInjectionTime",
        "PanelAdj",
        "PanelMapAdj",
        "StringGridMapa",
        "StringGridMapaTempomatu",
        "PanelTpsCrus",
        "AbLEDCutOff",
        "AbLEDCruise",
        "ButtonTempoP5",
        "ButtonTempoP1",
        "ButtonTempoM1",
        "ButtonTempoM5",
        "PageControlDiag",
        "TabSheet6",
        "TabSheet7",
        "TabSheet8",
        "AbLEDobd",
        "PanelAdvanced",
        "PanelAdvanced2",
        "GroupBoxCutOff",
        "GroupBoxCdiEmu",
        "GroupBoxEnError",
        "GroupBoxAdvanced",
        "StringGridMapaEGT",
        "StringGridMapaLambda_5V",
        "StringGridMapaTempGazu",
        "StringGridMapaCisnienieKolektora",
        "StringGridMapaCisnienieGazu",
        "StringGridMapaTempReduktora",
        "StringGridMapaCisnienieRoznicowe",
        "PanelDNADigitAll",
        "GroupBoxDNA",
        "PaintBoxMapowanie",
        "GroupBoxDnaSimple",
        "LabelK1",
        "LabelK2",
        "LabelDTPS1",
        "LabelDTPS2",
        "LabelDTPSout1",
        "LabelDTPSout2",
        "LabelFreq1Val",
        "LabelFreq1ValOut",
        "LabelOperationsPer100",
        "LabelVemu1",
        "LabelVemu2",
        "LabelDnaMaxMinK1",
        "LabelDnaMaxMinK2",
        "GroupBoxMapsEmu",
        "StringGridTpsEmulator",
        "StringGridStepEmu",
        "StringGridBenz",
        "StringGridGaz",
        "StringGrid3dKor",
        "StringGridKorektuj",
        "Button19",
        "Button18",
        "Button20",
        "ButtonNaniesPunkty",
        "Timer1",
    };
    for (const char* name : names) {
        const QList<QObject*> found = window->findChildren<QObject*>(QString::fromLatin1(name));
        EXPECT_EQ(found.size(), 1) << name;
    }
}

TEST_F(WindowTest, ControlsHiddenAtStartAreHidden) {
    for (const char* name : {"AbLEDReduktor",
                             "AbLEDZaworEzaw",
                             "ButtonSetPin",
                             "EditAlter",
                             "EditDieselL",
                             "EditGazL",
                             "Button2",
                             "Button10",
                             "ButtonFormColor",
                             "PanelAdvanced",
                             "PanelAdvanced2",
                             "GroupBoxCutOff",
                             "PanelTpsCrus",
                             "StringGridMapaTempomatu",
                             "ButtonTempoP5",
                             "ButtonTempoM5",
                             "PanelDNADigitAll",
                             "StringGridBenz",
                             "StringGridKorektuj",
                             "Button19",
                             "ButtonNaniesPunkty"}) {
        ASSERT_NE(find<QWidget>(name), nullptr) << name;
        EXPECT_TRUE(find<QWidget>(name)->isHidden()) << name;
    }
    for (const char* name : {"AbLEDdiesel", "AbLEDStatus", "ProgressBar1", "AbLEDobd"}) {
        EXPECT_FALSE(find<QWidget>(name)->isHidden()) << name;
    }
}

TEST_F(WindowTest, FixedTextsOfControls) {
    EXPECT_EQ(find<QObject>("Ab180MeterDIFP")->property("caption"),
              QStringLiteral("DIFF. PRESSURE [BAR]"));
    EXPECT_EQ(find<QObject>("AbLEDReduktor")->property("caption"),
              QStringLiteral("Regulator Valve"));
    EXPECT_EQ(find<QObject>("AbLEDZaworEzaw")->property("caption"),
              QStringLiteral("Tank + Filter Valve"));
    EXPECT_EQ(find<QObject>("AbLEDdiesel")->property("caption"),
              QStringLiteral("Diesel ECO Valve"));
    EXPECT_EQ(find<QObject>("AbLEDobd")->property("caption"), QStringLiteral("MIL status"));
    EXPECT_EQ(find<QObject>("LabelPasStatus")->property("text"), QStringLiteral("STATUS:"));
    EXPECT_EQ(find<QObject>("ButtonSetPin")->property("text"), QStringLiteral("SET PIN"));
    EXPECT_EQ(find<QObject>("EditAlter")->property("text"), QStringLiteral("pwr"));
    EXPECT_EQ(find<QObject>("Button9")->property("text"), QStringLiteral("CTx1"));
    EXPECT_TRUE(find<QObject>("EditAkum")->property("readOnly").toBool());
    EXPECT_EQ(find<QObject>("AbColBitBtnPasGaz")->property("TextOn"), QStringLiteral("propane"));
    EXPECT_EQ(find<QObject>("AbColBitBtnPasBenzyna")->property("TextOff"),
              QStringLiteral("diesel"));
}

// The text a gauge shows for a reading, with its unit (a bar draws the unit after the number,
// a round meter on its dial).
QString shownText(QWidget* gauge, double value) {
    gauge->setProperty("value", value);
    if (auto* bar = qobject_cast<AbBar*>(gauge)) {
        return bar->valueText();
    }
    auto* meter = qobject_cast<AbRoundMeter*>(gauge);
    return meter != nullptr ? meter->valueText() + meter->unitText() : QString();
}

// Every bound control is built under its name. A bar or round meter draws its signal's row: a
// reading beyond the scale shows as the scale's end, with the row's decimals and its gauge unit
// text (a meter's dial where the row gives one), and is read aloud in the unit and decimals of
// the signal it is spoken as. A scale that never reached its gauge, or was overwritten later,
// shows the wrong end, pattern or unit.
TEST_F(WindowTest, EveryBoundGaugeDrawsItsSignalsRow) {
    for (const GaugeBinding& b : kGaugeBindings) {
        QWidget* control = find<QWidget>(b.name);
        ASSERT_NE(control, nullptr) << b.name;
        const bool meter = qobject_cast<AbRoundMeter*>(control) != nullptr;
        ASSERT_EQ(b.feed == GaugeFeed::Value, meter || qobject_cast<AbBar*>(control) != nullptr)
            << b.name;
        if (b.feed != GaugeFeed::Value)
            continue;
        const LiveSignalDef& s = liveSignalDef(b.signal);
        const LiveGauge& look = s.gauge;
        const bool dial = meter && look.dial.unitText != nullptr;
        const double minimum = dial ? look.dial.minimum : s.minimum;
        const QString unit = QString::fromUtf8(
            dial ? look.dial.unitText : (look.unitText != nullptr ? look.unitText : s.unit));
        const double span = s.maximum - minimum;
        EXPECT_EQ(shownText(control, s.maximum + span),
                  QString::number(s.maximum, 'f', s.decimals) + unit)
            << b.name;
        EXPECT_EQ(shownText(control, minimum - span),
                  QString::number(minimum, 'f', s.decimals) + unit)
            << b.name;
        const LiveSignalDef& spoken = liveSignalDef(look.spokenAs.value_or(b.signal));
        const QString number = QString::number(minimum * look.spokenScale, 'f', spoken.decimals);
        EXPECT_EQ(instrument_accessibility::valueTextOf(control),
                  *spoken.unit == '\0' ? number : number + ' ' + QString::fromUtf8(spoken.unit))
            << b.name;
    }
    // The temperatures keep two digits before the point.
    EXPECT_EQ(shownText(find<QWidget>("AbBarOdTg"), 5), QStringLiteral("05\u00B0C"));
}

TEST_F(WindowTest, GridsHaveTheirDimensions) {
    const std::tuple<const char*, int, int> expected[] = {
        {"StringGridMapa", 17, 9},    {"StringGridMapaTempomatu", 2, 24},
        {"StringGridStepEmu", 3, 13}, {"StringGridTpsEmulator", 3, 13},
        {"StringGridMapaEGT", 2, 24}, {"StringGridMapaCisnienieRoznicowe", 2, 16},
        {"StringGridBenz", 17, 9},    {"StringGridKorektuj", 17, 9},
    };
    for (const auto& [name, rows, columns] : expected) {
        auto* grid = find<QTableWidget>(name);
        ASSERT_NE(grid, nullptr) << name;
        EXPECT_EQ(grid->rowCount(), rows) << name;
        EXPECT_EQ(grid->columnCount(), columns) << name;
    }
}

TEST_F(WindowTest, CreationWritesTheFixedGridHeadings) {
    struct Cell {
        const char* grid;
        int column;
        int row;
        const char* text;
    };
    const Cell expected[] = {
        {"StringGridMapa", 1, 0, "800"},
        {"StringGridMapa", 8, 0, "4000"},
        {"StringGridStepEmu", 0, 0, "Step"},
        {"StringGridStepEmu", 0, 1, "K1"},
        {"StringGridStepEmu", 0, 2, "K2"},
        {"StringGridStepEmu", 1, 0, "14"},
        {"StringGridStepEmu", 12, 0, "200"},
        {"StringGridMapaCisnienieRoznicowe", 0, 0, "0.50"},
        {"StringGridMapaCisnienieRoznicowe", 6, 0, "1.00"},
        {"StringGridMapaCisnienieRoznicowe", 15, 0, "2.60"},
        {"StringGridMapaTempReduktora", 1, 0, "-20"},
        {"StringGridMapaTempReduktora", 2, 0, "-15"},
        {"StringGridMapaTempReduktora", 23, 0, "90"},
        {"StringGridMapaCisnienieGazu", 1, 0, "0.90"},
        {"StringGridMapaCisnienieGazu", 2, 0, "1.00"},
        {"StringGridMapaCisnienieGazu", 22, 0, "3.00"},
        {"StringGridMapaCisnienieGazu", 23, 0, "3.20"},
        {"StringGridMapaCisnienieKolektora", 5, 0, "0.50"},
        {"StringGridMapaCisnienieKolektora", 6, 0, "0.60"},
        {"StringGridMapaCisnienieKolektora", 20, 0, "2.00"},
        {"StringGridMapaCisnienieKolektora", 23, 0, "2.60"},
        {"StringGridMapaTempGazu", 6, 0, "5"},
        {"StringGridMapaLambda_5V", 3, 0, "0.80"},
        {"StringGridMapaLambda_5V", 4, 0, "1.00"},
        {"StringGridMapaLambda_5V", 23, 0, "4.80"},
        {"StringGridMapaEGT", 0, 0, "171"},
        {"StringGridMapaEGT", 23, 0, "972"},
        {"StringGridMapaTempomatu", 0, 0, "0.9"},
        {"StringGridMapaTempomatu", 2, 0, "1"},
        {"StringGridMapaTempomatu", 3, 0, "1.05"},
        {"StringGridMapaTempomatu", 16, 0, "1.7"},
        {"StringGridMapaTempomatu", 19, 0, "2"},
        {"StringGridMapaTempomatu", 23, 0, "2.7"},
    };
    for (const Cell& c : expected) {
        EXPECT_EQ(cellText(find<QTableWidget>(c.grid), c.column, c.row),
                  QString::fromLatin1(c.text))
            << c.grid << " (" << c.column << ", " << c.row << ")";
    }
    EXPECT_EQ(cellText(find<QTableWidget>("StringGridMapa"), 0, 0), QString())
        << "the corner of the main map has no heading";
    EXPECT_EQ(cellText(find<QTableWidget>("StringGridMapaTempomatu"), 0, 1), QString())
        << "headings go into row 0 only";
}

TEST(GridHeadings, FollowTheSystemsDecimalSeparator) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    MainWindow window(Folders{QStringLiteral("/tmp"), QStringLiteral("/tmp"), QStringLiteral("t")});
    QLocale::setDefault(QLocale::c());
    const auto* diff =
        window.findChild<QTableWidget*>(QStringLiteral("StringGridMapaCisnienieRoznicowe"));
    const auto* cruise = window.findChild<QTableWidget*>(QStringLiteral("StringGridMapaTempomatu"));
    EXPECT_EQ(cellText(diff, 0, 0), QStringLiteral("0,50"));
    EXPECT_EQ(cellText(cruise, 3, 0), QStringLiteral("1,05"));
    EXPECT_EQ(cellText(cruise, 2, 0), QStringLiteral("1"));
}

}  // namespace
}  // namespace kaldor::test
