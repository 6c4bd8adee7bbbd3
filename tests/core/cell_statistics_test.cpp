#include "maps/cell_statistics.h"
#include "maps/scatter_plot.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "live/log_csv.h"
#include "model/fields.h"
#include "model/units.h"
#include "support/demo_lines.h"

using namespace kaldor;

namespace {

using test::demoLines;
using test::recordingOf;

// The defaults with another map type and, for it, axes 1000, 2000 ... in every word.
RecordingSetup setupOfType(unsigned type) {
    RecordingSetup setup = defaultSetup();
    storeField(setup.image, FieldId::MainMapType, type);
    for (std::size_t i = 0; i < 16; ++i)
        storeField(setup.image, FieldId::MainMapRowAxis, 1000 + 100 * i, i);
    return setup;
}

LiveFrame running(std::size_t word, std::uint16_t column, std::size_t rowWord, std::uint16_t row) {
    LiveFrame f;
    f.setWord(21, 20000);  // an engine turning
    f.setWord(word, column);
    f.setWord(rowWord, row);
    return f;
}

struct Placement {
    unsigned type;
    std::array<std::uint16_t, 8> columnAxis;
    std::uint16_t columnValue;
    std::uint16_t rowValue;
    int column;
    int row;
};

}  // namespace

// The rows of every type are 1000, 1100 ... 2500; the record is placed where the live grid
// highlights it, values past the ends in the edge cells.
TEST(CellStatistics, PlacesEachRecordInTheCellTheGridHighlightsForEveryMapType) {
    constexpr std::array<std::uint16_t, 8> kPeriods{40000, 30000, 20000, 15000,
                                                    12000, 10000, 8000,  6000};
    constexpr std::array<std::uint16_t, 8> kCounts{100, 200, 300, 400, 500, 600, 700, 800};
    const std::vector<Placement> cases = {
        {0, kPeriods, 0, 999, 0, 0},        // below the first row value
        {0, kPeriods, 0, 1000, 0, 1},       // at it
        {0, kPeriods, 0, 2399, 0, 14},      // between the last two but one
        {0, kPeriods, 0, 2400, 0, 15},      // the last row compared
        {0, kPeriods, 0, 65535, 0, 15},     // past the end
        {1, kPeriods, 65000, 1050, 0, 1},   // slower than the first column
        {1, kPeriods, 40000, 1050, 0, 1},   // at it
        {1, kPeriods, 39999, 1050, 1, 1},   // between the first two
        {1, kPeriods, 6000, 1050, 7, 1},    // the last column
        {1, kPeriods, 100, 1050, 7, 1},     // faster than the last
        {2, kCounts, 0, 1500, 0, 6},        // below every throttle value
        {2, kCounts, 200, 1500, 1, 6},      // the first column value compared
        {2, kCounts, 799, 1500, 6, 6},      // between the last two
        {2, kCounts, 65535, 65535, 7, 15},  // past both ends
        {3, kCounts, 450, 1000, 3, 1},      // air flow between values
        {3, kCounts, 100, 999, 0, 0},       // at the first value: no second reached
        {3, kCounts, 800, 2500, 7, 15},     // at the last column and the last row value
        {3, kCounts, 65535, 1100, 7, 2},    // past the last column
        {4, kPeriods, 12000, 0, 4, 0},      // throttle rows below the first value
        {4, kPeriods, 12001, 1100, 4, 2},   // between columns, at a row value
        {4, kPeriods, 50000, 2500, 0, 15},  // slower than the first column, the last row value
        {4, kPeriods, 6000, 65535, 7, 15},  // the last column value, past the last row
        {4, kPeriods, 1, 2399, 7, 14},      // faster than the last column
    };
    for (const Placement& c : cases) {
        RecordingSetup setup = setupOfType(c.type);
        for (std::size_t i = 0; i < 8; ++i)
            storeField(setup.image, FieldId::MainMapColumnAxis, c.columnAxis[i], i);
        const MapTypeDef& def = *mapTypeDef(c.type);
        const std::size_t columnWord =
            def.columns == AxisKind::None ? 4 : liveSignalDef(def.columnSignal).word;
        const std::size_t rowWord = liveSignalDef(def.rowSignal).word;
        LiveFrame frame = running(columnWord, c.columnValue, rowWord, c.rowValue);
        if (columnWord == 21)  // the engine speed is the column itself
            frame.setWord(21, c.columnValue);
        const auto recording = recordingOf(demoLines({frame}));
        const CellTable table = cellStatistics(*recording, setup);
        EXPECT_EQ(table.cell(c.column, c.row).records, 1u)
            << "type " << c.type << " " << c.columnValue << "/" << c.rowValue;
        EXPECT_EQ(table.placed(), 1u);
        // The live grid agrees.
        EXPECT_EQ(operatingColumn(frame, setup.image), c.column);
        EXPECT_EQ(operatingRow(frame, setup.image), c.row);
    }
}

TEST(CellStatistics, StoppedEngineUnknownTypeAndMissingAxesAreCountedApart) {
    LiveFrame stopped = running(4, 0, 79, 1500);
    stopped.setWord(21, 65535);  // no pulses: 0 rpm
    const LiveFrame turning = running(4, 0, 79, 1500);
    const auto recording = recordingOf(demoLines({stopped, turning, turning}));
    const CellTable table = cellStatistics(*recording, defaultSetup());
    EXPECT_EQ(table.records(), 3u);
    EXPECT_EQ(table.placed(), 2u);
    EXPECT_EQ(table.outside().engineStopped, 1u);
    EXPECT_EQ(table.mapType(), "2:VACUM/RPM");
    EXPECT_EQ(table.columns(), 8);
    EXPECT_EQ(table.columnHeading(0), "800");
    EXPECT_EQ(table.rowHeading(15), "2.1");

    EXPECT_EQ(cellStatistics(*recording, setupOfType(7)).outside().unknownMapType, 3u);
    EXPECT_EQ(cellStatistics(*recording, setupOfType(0)).columns(), 1);
    const CellTable empty = cellStatistics(Recording{}, defaultSetup(), LiveSignal::Throttle);
    EXPECT_EQ(empty.records(), 0u);
    EXPECT_EQ(empty.placed(), 0u);

    // A CSV export has no air-flow input column: the air-flow map places nothing.
    const auto csv = recordingOf(logCsv(demoLines({turning, turning}), 0));
    ASSERT_EQ(csv->format(), RecordingFormat::Csv);
    EXPECT_EQ(cellStatistics(*csv, setupOfType(3)).outside().axisSignalMissing, 2u);
    const CellTable noSignal = cellStatistics(*csv, defaultSetup(), LiveSignal::AirFlowInput);
    EXPECT_FALSE(noSignal.signalCarried());
    EXPECT_EQ(noSignal.placed(), 2u);
}

// A random drive against a direct walk over its frames with the live lookup and the signal
// table; its CSV export gives the same table; a cut last line only loses that line; a range
// counts its records only.
TEST(CellStatistics, MatchesADirectComputationAndTheCsvExportGivesTheSameTable) {
    std::mt19937 random(35);
    std::vector<LiveFrame> frames(5000);
    for (LiveFrame& f : frames) {
        // Periods of whole rpm, as a CSV's rpm reads back without a tie at an axis value.
        const auto rpm = static_cast<std::uint32_t>(600 + random() % 3400);
        f.setWord(21, static_cast<std::uint16_t>(random() % 10 == 0 ? 65535 : RpmToPeriod(rpm, 0)));
        f.setWord(79, static_cast<std::uint16_t>(700 + random() % 1700));
        f.setWord(80, static_cast<std::uint16_t>(random() % 3000));
    }
    const RecordingSetup setup = defaultSetup();
    const std::string text = demoLines(frames);
    const auto log = recordingOf(text);
    const CellTable table = cellStatistics(*log, setup, LiveSignal::ExhaustTemperature);

    std::array<SignalStatistics, kMainMapCells> direct{};
    std::size_t stopped = 0;
    for (const LiveFrame& f : frames) {
        if (liveValue(f, LiveSignal::EngineSpeed, setup.context) == 0) {
            ++stopped;
            continue;
        }
        direct[static_cast<std::size_t>(operatingRow(f, setup.image) * 8 +
                                        operatingColumn(f, setup.image))]
            .add(liveValue(f, LiveSignal::ExhaustTemperature, setup.context));
    }
    EXPECT_EQ(table.outside().engineStopped, stopped);
    const auto csv = recordingOf(logCsv(text, 0));
    const CellTable fromCsv = cellStatistics(*csv, setup, LiveSignal::ExhaustTemperature);
    const auto cut = recordingOf(text + "1,2,3");
    const CellTable fromCut = cellStatistics(*cut, setup, LiveSignal::ExhaustTemperature);
    std::size_t used = 0;
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 8; ++c) {
            const SignalStatistics& want = direct[static_cast<std::size_t>(r * 8 + c)];
            const CellStatistics& got = table.cell(c, r);
            ASSERT_EQ(got.records, want.count) << c << "," << r;
            used += got.records > 0;
            EXPECT_EQ(got.signal.count, want.count);
            EXPECT_DOUBLE_EQ(got.signal.mean(), want.mean());
            EXPECT_EQ(got.signal.minimum, want.minimum);
            EXPECT_EQ(got.signal.maximum, want.maximum);
            EXPECT_EQ(fromCut.cell(c, r).records, got.records);
            // The CSV holds whole rpm and whole degrees: the same cells, the same times.
            EXPECT_EQ(fromCsv.cell(c, r).records, got.records) << c << "," << r;
            EXPECT_NEAR(fromCsv.cell(c, r).signal.mean(), got.signal.mean(), 0.5);
        }
    EXPECT_GT(used, 40u);

    const CellTable part = cellStatistics(*log, setup, std::nullopt, 100, 200);
    EXPECT_EQ(part.records(), 100u);
    EXPECT_EQ(cellStatistics(*log, setup, std::nullopt, 4990, 99999).records(), 10u);
}

TEST(CellStatistics, SignalsAreNamedAsTheTableNamesThemInAnyCase) {
    EXPECT_EQ(liveSignalNamed("exhaust gas temperature"), LiveSignal::ExhaustTemperature);
    EXPECT_EQ(liveSignalNamed("Manifold Pressure"), LiveSignal::ManifoldPressure);
    EXPECT_FALSE(liveSignalNamed("exhaust"));
    EXPECT_FALSE(liveSignalNamed(""));
}

TEST(ScatterPlot, PointsGridLinesOfTheMapAxesAndAHistogram) {
    std::vector<LiveFrame> frames;
    for (std::uint16_t i = 0; i < 100; ++i) {
        LiveFrame f;
        f.setWord(21, static_cast<std::uint16_t>(10000 + 100 * i));
        f.setWord(79, static_cast<std::uint16_t>(900 + 10 * i));
        f.setWord(80, i < 50 ? 1000 : 2000);
        frames.push_back(f);
    }
    const auto recording = recordingOf(demoLines(frames));
    const RecordingSetup setup = defaultSetup();
    const ScatterPlot plot =
        scatterPlot(*recording, setup, kScatterX, kScatterY, kScatterColour, 10, 90, 20);
    ASSERT_EQ(plot.points.size(), 20u);  // every fourth of 80
    EXPECT_EQ(plot.points[0].y, 1.0);
    EXPECT_EQ(plot.y.minimum, 1.0);
    EXPECT_EQ(plot.colour.maximum, liveValueOfRaw(kScatterColour, 2000, setup.context));
    // The default map: engine speed columns at 800 ... 3500 rpm, pressure rows at 0.9 ... 2.1 bar.
    ASSERT_EQ(plot.xLines.size(), 8u);
    EXPECT_NEAR(plot.xLines.front(), 800, 1);
    ASSERT_EQ(plot.yLines.size(), 16u);
    EXPECT_EQ(plot.yLines.back(), 2.1);
    EXPECT_TRUE(mapAxisLines(setup, LiveSignal::Throttle).empty());

    const Histogram h = histogram(*recording, setup.context, kScatterColour, 0, 100, 4);
    EXPECT_EQ(h.counts, (std::vector<std::size_t>{50, 0, 0, 50}));
    EXPECT_EQ(histogram(*recording, setup.context, kScatterColour, 0, 50, 4).counts[0], 50u);
    EXPECT_TRUE(
        scatterPlot(*recording, setup, kScatterX, kScatterY, kScatterColour, 5, 5).points.empty());
}
