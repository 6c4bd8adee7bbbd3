#include "ui/grid_headers.h"

#include "ui/ui_build.h"

#include <QTableWidget>

#include <cstdlib>
#include <iterator>

namespace kaldor {

namespace {

constexpr int kMainMapColumns[] = {800, 1000, 1500, 2000, 2500, 3000, 3500, 4000};
constexpr int kStepEmuColumns[] = {14, 15, 30, 45, 60, 80, 100, 120, 140, 160, 180, 200};

// Hundredths of a bar.
constexpr int kDiffPressureAxis[] = {50,  50,  60,  70,  80,  90,  100, 110,
                                     120, 140, 160, 180, 200, 220, 240, 260};
constexpr int kGasPressureAxis[] = {90,  90,  100, 110, 120, 130, 140, 150, 160, 170, 180, 190,
                                    200, 210, 220, 230, 240, 250, 260, 270, 280, 290, 300, 320};
constexpr int kManifoldPressureAxis[] = {25,  25,  35,  40,  45,  50,  60,  70,
                                         80,  90,  100, 110, 120, 130, 140, 150,
                                         160, 170, 180, 190, 200, 220, 240, 260};
// Hundredths of a volt.
constexpr int kAirFlowAxis[] = {20,  20,  50,  80,  100, 120, 140, 160, 180, 200, 220, 240,
                                260, 280, 300, 320, 340, 360, 380, 400, 420, 440, 460, 480};
// Degrees Celsius.
constexpr int kTemperatureAxis[] = {-20, -20, -15, -10, -5, 0,  5,  10, 15, 20, 25, 30,
                                    35,  40,  45,  50,  55, 60, 65, 70, 75, 80, 85, 90};
constexpr int kEgtAxis[] = {171, 171, 200, 228, 257, 286, 343, 400, 457, 514, 543, 572,
                            600, 629, 686, 743, 772, 800, 829, 858, 886, 915, 943, 972};
// Hundredths of a bar; the refresh from a controller of revision 4 or later replaces it.
constexpr int kCruiseAxis[] = {90,  90,  100, 105, 110, 115, 120, 125, 130, 135, 140, 145,
                               150, 155, 160, 165, 170, 180, 190, 200, 210, 230, 250, 270};

template <std::size_t N>
constexpr GridHeader along(const char* grid, int firstColumn, HeaderFormat format,
                           const int (&values)[N]) {
    return {grid, firstColumn, format, values, static_cast<int>(N)};
}

constexpr std::array<GridHeader, 10> kGridHeaders{{
    along("StringGridMapa", 1, HeaderFormat::Integer, kMainMapColumns),
    along("StringGridStepEmu", 1, HeaderFormat::Integer, kStepEmuColumns),
    along("StringGridMapaCisnienieRoznicowe", 0, HeaderFormat::TwoDecimals, kDiffPressureAxis),
    along("StringGridMapaTempReduktora", 0, HeaderFormat::Integer, kTemperatureAxis),
    along("StringGridMapaCisnienieGazu", 0, HeaderFormat::TwoDecimals, kGasPressureAxis),
    along("StringGridMapaCisnienieKolektora", 0, HeaderFormat::TwoDecimals, kManifoldPressureAxis),
    along("StringGridMapaTempGazu", 0, HeaderFormat::Integer, kTemperatureAxis),
    along("StringGridMapaLambda_5V", 0, HeaderFormat::TwoDecimals, kAirFlowAxis),
    along("StringGridMapaEGT", 0, HeaderFormat::Integer, kEgtAxis),
    along("StringGridMapaTempomatu", 0, HeaderFormat::Shortest, kCruiseAxis),
}};

constexpr std::array<GridHeaderText, 3> kGridHeaderTexts{{
    {"StringGridStepEmu", 0, 0, "Step"},
    {"StringGridStepEmu", 0, 1, "K1"},
    {"StringGridStepEmu", 0, 2, "K2"},
}};

}  // namespace

QString headerText(int value, HeaderFormat format) {
    if (format == HeaderFormat::Integer) {
        return QString::number(value);
    }
    // Integer arithmetic keeps the texts exact: no binary fraction ever decides a digit.
    const long magnitude = std::labs(static_cast<long>(value));
    QString text = QString::number(magnitude / 100) + QLatin1Char('.') +
                   QStringLiteral("%1").arg(magnitude % 100, 2, 10, QLatin1Char('0'));
    if (format == HeaderFormat::Shortest) {
        while (text.endsWith(QLatin1Char('0'))) {
            text.chop(1);
        }
        if (text.endsWith(QLatin1Char('.'))) {
            text.chop(1);
        }
    }
    return value < 0 ? QLatin1Char('-') + text : text;
}

void writeFixedGridHeaders(QWidget* root) {
    if (root == nullptr) {
        return;
    }
    for (const GridHeader& header : kGridHeaders) {
        auto* grid = root->findChild<QTableWidget*>(QString::fromLatin1(header.grid));
        for (int i = 0; grid != nullptr && i < header.count; ++i) {
            setCellText(grid, header.firstColumn + i, 0,
                        headerText(header.values[i], header.format));
        }
    }
    for (const GridHeaderText& cell : kGridHeaderTexts) {
        if (auto* grid = root->findChild<QTableWidget*>(QString::fromLatin1(cell.grid))) {
            setCellText(grid, cell.column, cell.row, QString::fromLatin1(cell.text));
        }
    }
}

}  // namespace kaldor
