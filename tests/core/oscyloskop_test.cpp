#include <gtest/gtest.h>

#include <memory>

#include "live/oscyloskop.h"

using namespace kaldor;

namespace {

enum Item { kOff = 0, kRpm = 1, kTps = 2, kEgt = 7 };

using Kind = ScopeStep::Kind;

std::vector<const ScopeStep*> stepsOf(const ScopePicture& p, Kind kind) {
    std::vector<const ScopeStep*> out;
    for (const ScopeStep& s : p.steps)
        if (s.kind == kind)
            out.push_back(&s);
    return out;
}

// A record's engine speed; the other quantities read 0.
struct Rpm {
    double value;
};
Rpm rpm(std::int64_t value) {
    return {static_cast<double>(value)};
}

struct ScopeFixture : ::testing::Test {
    std::unique_ptr<OSCYLOSKOP> scope = std::make_unique<OSCYLOSKOP>();
    const ScopePicture& step(std::array<int, 4> items, Rpm r, int width = 832, int height = 246,
                             int focused = -1) {
        OSCYLOSKOP::Values values{};
        for (std::size_t i = 0; i < items.size(); ++i)
            values[i] = items[i] == kRpm ? r.value : 0;
        scope->Feed(items, focused, values);
        return scope->Draw(width, height);
    }
};

TEST_F(ScopeFixture, AllChannelsOffDrawOnlyTheGrid) {
    const ScopePicture& p = step({kOff, kOff, -1, kOff}, rpm(3000));
    EXPECT_EQ(p.background, kScopeWhite);
    ASSERT_EQ(p.steps.size(), 20u);
    for (const ScopeStep& s : p.steps) {
        EXPECT_EQ(s.kind, Kind::Line);
        EXPECT_EQ(s.pen, ScopePen::Dotted);
        EXPECT_EQ(s.colour, kScopeBlack);
    }
    // Ten rows from y = 24 and ten columns from x = 83, in whole tenths of the box.
    EXPECT_EQ(p.steps[0].from, (ScopePoint{0, 24}));
    EXPECT_EQ(p.steps[0].to, (ScopePoint{831, 24}));
    EXPECT_EQ(p.steps[9].from.y, 240);
    EXPECT_EQ(p.steps[10].from, (ScopePoint{83, 0}));
    EXPECT_EQ(p.steps[19].to, (ScopePoint{830, 245}));
}

TEST_F(ScopeFixture, EachDrawAddsOnePointFromTheLeftEdge) {
    for (int i = 0; i < 5; ++i)
        step({kRpm, kOff, kTps, kEgt}, rpm(1000 * i));
    const auto traces = stepsOf(scope->picture(), Kind::Polyline);
    ASSERT_EQ(traces.size(), 3u);
    for (const ScopeStep* t : traces) {
        ASSERT_EQ(t->pointCount, 5u);
        for (std::size_t x = 0; x < 5; ++x)
            EXPECT_EQ(t->points[x].x, static_cast<int>(x));
    }
    // Newest first: 4000 rpm at the left edge, 0 rpm at x = 4.
    EXPECT_EQ(traces[0]->points[0].y, 245 - 4000 * 246 / 6000);
    EXPECT_EQ(traces[0]->points[4].y, 245);
    EXPECT_EQ(scope->channel(0).samples[1], 3000.0f);
    EXPECT_EQ(scope->channel(1).pointCount, 0u);

    // A box narrower than the history shows only what fits.
    const ScopePicture& narrow = step({kRpm, kOff, kOff, kOff}, rpm(0), 3);
    EXPECT_EQ(stepsOf(narrow, Kind::Polyline)[0]->pointCount, 3u);
    EXPECT_EQ(scope->sampleCount(), 6u);
}

TEST_F(ScopeFixture, ValuesLandOnTheirPixelAndAboveTheRangeAreClamped) {
    const ScopePicture& half = step({kRpm, kOff, kOff, kOff}, rpm(3000));
    EXPECT_EQ(stepsOf(half, Kind::Polyline)[0]->points[0].y, 122);

    const ScopePicture& over = step({kRpm, kOff, kOff, kOff}, rpm(9000));
    EXPECT_EQ(stepsOf(over, Kind::Polyline)[0]->points[0].y, -1);
    EXPECT_EQ(scope->channel(0).samples[0], 6000.0f);
    EXPECT_EQ(scope->channel(0).largest, 6000.0f);

    const ScopePicture& under = step({kRpm, kOff, kOff, kOff}, rpm(-5));
    EXPECT_EQ(stepsOf(under, Kind::Polyline)[0]->points[0].y, 245);
}

TEST_F(ScopeFixture, LargestAndSmallestAreMarkedWithTheLaterOneWinningATie) {
    // Fed oldest first: x = 4 .. 0 hold 1000, 5000, 2000, 5000, 1000.
    for (std::int64_t v : {1000, 5000, 2000, 5000, 1000})
        step({kOff, kRpm, kOff, kOff}, rpm(v));
    const OSCYLOSKOP::Channel& c = scope->channel(1);
    EXPECT_EQ(c.largestX, 3);
    EXPECT_EQ(c.smallestX, 4);
    const ScopePicture& p = scope->picture();
    const auto texts = stepsOf(p, Kind::Text);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0]->text, "5000.00");
    EXPECT_EQ(texts[0]->from, c.points[3]);
    EXPECT_EQ(texts[1]->text, "1000.00");
    EXPECT_EQ(texts[1]->from, c.points[4]);
    EXPECT_EQ(texts[1]->fontSize, 12);
    EXPECT_EQ(texts[1]->colour, kScopeMaroon);
    const auto marks = stepsOf(p, Kind::Rectangle);
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks[0]->from, (ScopePoint{2, c.points[4].y - 2}));
    EXPECT_EQ(marks[0]->to, (ScopePoint{6, c.points[4].y + 2}));
    EXPECT_EQ(marks[0]->penWidth, 3);
    EXPECT_EQ(marks[0]->brush, ScopeBrush::DiagonalCross);
}

TEST_F(ScopeFixture, TracesTakeTheirChannelColourAndTheFocusedOneIsThicker) {
    const ScopePicture& p = step({kRpm, kRpm, kRpm, kRpm}, rpm(100), 832, 246, 1);
    const auto traces = stepsOf(p, Kind::Polyline);
    ASSERT_EQ(traces.size(), 4u);
    const ScopeColour colours[] = {kScopeBlack, kScopeMaroon, kScopeGreen, kScopeBlue};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(traces[i]->colour, colours[i]) << i;
        EXPECT_EQ(traces[i]->penWidth, i == 1 ? 4 : 2) << i;
    }
}

TEST(ScopeValue, EachItemReadsItsQuantity) {
    LiveFrame f;
    for (std::size_t w = 0; w < LiveFrame::kWords; ++w)
        f.setWord(w, static_cast<std::uint16_t>(1000 + 7 * w));
    const LiveRecord r{f, LiveContext{3}};
    const std::optional<LiveSignal> expected[] = {std::nullopt,
                                                  LiveSignal::EngineSpeed,
                                                  LiveSignal::Throttle,
                                                  LiveSignal::AirFlow,
                                                  LiveSignal::ManifoldPressure,
                                                  LiveSignal::IgnitionVoltage,
                                                  LiveSignal::SupplyVoltage,
                                                  LiveSignal::ExhaustTemperature};
    for (int item = 0; item < 8; ++item) {
        EXPECT_EQ(scopeSignal(item), expected[item]) << kScopeQuantities[item].item;
        EXPECT_EQ(scopeValue(item, r), expected[item] ? r.value(*expected[item]) : 0)
            << kScopeQuantities[item].item;
    }
    EXPECT_EQ(scopeValue(-1, r), 0);
    EXPECT_EQ(scopeValue(8, r), 0);
}

}  // namespace
