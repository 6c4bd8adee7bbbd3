#include "maps/axis_statistics.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "live/log_csv.h"
#include "maps/cell_view.h"
#include "maps/correction_editor.h"
#include "maps/correction_maps.h"
#include "maps/cruise_map.h"
#include "support/demo_lines.h"

using namespace kaldor;

namespace {

using test::demoLines;
using test::recordingOf;

// A record with the engine turning and `value` (two's complement for a negative one) in `word`.
LiveFrame turning(std::size_t word, int value) {
    LiveFrame f;
    f.setWord(21, 20000);
    f.setWord(word, static_cast<std::uint16_t>(value));
    return f;
}

RecordingSetup setupOfRevision(unsigned revision) {
    RecordingSetup setup = defaultSetup();
    setup.context.softwareRevision = revision;
    return setup;
}

}  // namespace

// Every correction map: below its first edge, at it, between the first two, just below and at
// the last, far past it; each record where the grid's live column stands for it.
TEST(AxisStatistics, PlacesEachRecordInTheLiveColumnOfEveryCorrectionMap) {
    for (int m = 0; m < kCorrectionMapCount; ++m) {
        const CorrectionMapDef& def = correctionMaps()[static_cast<std::size_t>(m)];
        const int last = def.columns - 1;
        const int* edges = def.thresholds;
        const int past = liveSignalDef(def.input).raw == LiveRawType::S16 ? 32767 : 65535;
        const std::vector<std::pair<int, int>> cases = {
            {edges[0] - 1, 0},       {edges[0], 1},
            {edges[0] + 1, 1},       {edges[last - 1] - 1, last - 1},
            {edges[last - 1], last}, {past, last},
        };
        const std::size_t word = liveSignalDef(def.input).word;
        for (const auto& [value, column] : cases) {
            const LiveFrame frame = turning(word, value);
            const AxisTable table =
                correctionStatistics(*recordingOf(demoLines({frame})), defaultSetup(), m);
            ASSERT_EQ(table.columns(), def.columns);
            EXPECT_EQ(table.column(column).records, 1u) << def.grid << " at " << value;
            EXPECT_EQ(table.placed(), 1u);
            EXPECT_EQ(correctionLiveColumn(def, frame), column);
        }
    }
}

// The cruise map's edges depend on the revision; before revision 3 it has no live column.
TEST(AxisStatistics, PlacesEachRecordInTheCruiseMapsLiveColumnByRevision) {
    struct Case {
        unsigned revision;
        int millibar;
        int column;
    };
    const Case cases[] = {
        {3, 899, 0}, {3, 900, 1},  {3, 1025, 2}, {3, 2699, 22}, {3, 2700, 23},  {3, 9000, 23},
        {4, 999, 0}, {4, 1000, 1}, {4, 1199, 4}, {4, 3600, 23}, {4, 65535, 23},
    };
    for (const Case& c : cases) {
        const auto recording = recordingOf(demoLines({turning(79, c.millibar)}));
        const AxisTable table = cruiseStatistics(*recording, setupOfRevision(c.revision));
        EXPECT_EQ(table.column(c.column).records, 1u) << c.revision << ": " << c.millibar;
        EXPECT_EQ(table.placed(), 1u);
    }
    const auto recording = recordingOf(demoLines({turning(79, 1500), turning(79, 1600)}));
    const AxisTable hidden = cruiseStatistics(*recording, setupOfRevision(2));
    EXPECT_EQ(hidden.columns(), kCruiseMapColumns);
    EXPECT_EQ(hidden.outside().mapHidden, 2u);
    EXPECT_EQ(hidden.placed(), 0u);
}

// Time and the signal per column as the main map's cells count them; the engine stopped counted
// apart; the view's statistic row and range; the CSV export alike.
TEST(AxisStatistics, CountsTimeAndSignalPerColumnAndTheRestApart) {
    // Gas temperature -20 (column 1) twice with 100 and 300 on the EGT signal, 90 (column 23)
    // once with 200; one record with the engine stopped.
    std::vector<LiveFrame> frames = {turning(1, -20), turning(1, -20), turning(1, 90),
                                     turning(1, 0)};
    frames[0].setWord(80, 100);
    frames[1].setWord(80, 300);
    frames[2].setWord(80, 200);
    frames[3].setWord(21, 65535);
    const auto recording = recordingOf(demoLines(frames));
    const RecordingSetup setup = defaultSetup();
    const AxisTable table = correctionStatistics(*recording, setup, 2, LiveSignal::ExhaustSignal);
    EXPECT_EQ(table.records(), 4u);
    EXPECT_EQ(table.outside().engineStopped, 1u);
    EXPECT_DOUBLE_EQ(table.column(1).seconds(), 0.2);
    const SignalStatistics& low = table.column(1).signal;
    EXPECT_EQ(low.count, 2u);
    EXPECT_DOUBLE_EQ(low.minimum, liveValue(frames[0], LiveSignal::ExhaustSignal, setup.context));
    EXPECT_DOUBLE_EQ(low.maximum, liveValue(frames[1], LiveSignal::ExhaustSignal, setup.context));
    EXPECT_EQ(table.column(23).records, 1u);

    GridTexts map(24, 2);
    map.setText(1, 0, "-20");
    map.setText(1, 1, "5");
    AxisCellViewModel view(map);
    view.show(table, CellStatistic::Seconds);
    EXPECT_EQ(view.texts().text(1, 0), "-20");
    EXPECT_EQ(view.texts().text(1, 1), "5");
    EXPECT_EQ(view.texts().text(1, AxisCellViewModel::kStatisticRow), "0.2");
    EXPECT_EQ(view.texts().text(0, AxisCellViewModel::kStatisticRow), "");
    // The most used column deepest, an unused one white.
    EXPECT_EQ(view.cellLook(1, 2, false).fill, cellStatisticColour(1, 0, 1));
    EXPECT_EQ(view.cellLook(0, 2, false).fill, (Rgb{255, 255, 255}));

    // Its CSV export places the records alike.
    const auto csv = recordingOf(logCsv(demoLines(frames), 0));
    const AxisTable fromCsv = correctionStatistics(*csv, setup, 2);
    EXPECT_EQ(fromCsv.column(1).records, 2u);
    EXPECT_EQ(fromCsv.column(23).records, 1u);
    EXPECT_EQ(fromCsv.outside().engineStopped, 1u);
    EXPECT_EQ(correctionStatistics(*recording, setup, 7).outside().unknownMapType, 4u);
}
