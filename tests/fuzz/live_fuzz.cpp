// Live records of every shape through the calibration slice and the readings: records with edge
// words (0, 0x7FFF, 0x8000, 0xFFFF), random images, revisions and visible pages, one display state
// carried from record to record. Outcome: no crash, finite values, and each documented clamp.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "diagnostics/error_counter_watch.h"
#include "fuzz/fuzz_support.h"
#include "live/live_display.h"
#include "live/live_frame.h"
#include "live/live_signals.h"
#include "model/fields.h"
#include "model/units.h"

using namespace kaldor;
using namespace kaldor::fuzz;

namespace {

std::uint16_t liveWord(Fuzzer& f) {
    static const std::vector<std::uint16_t> kEdges{0, 1, 5, 6, 320, 321, 0x7FFF, 0x8000, 0xFFFF};
    return f.chance(30) ? f.pick(kEdges) : f.word();
}

// Every signal of the table converts to a finite value with a text.
void expectFinite(const LiveRecord& r, std::size_t i) {
    for (const LiveSignalDef& d : liveSignals()) {
        ASSERT_TRUE(std::isfinite(r.value(d.id))) << i << " " << d.name;
        ASSERT_FALSE(r.text(d.id).empty()) << i << " " << d.name;
    }
}

}  // namespace

TEST(LiveFuzz, CalibrationSliceLandsOnlyWhereItsPositionSays) {
    Fuzzer f(11);
    CalibrationBlock block;
    for (std::size_t i = 0; i < rounds(20000); ++i) {
        LiveFrame frame;
        for (std::size_t w = 0; w < LiveFrame::kWords; ++w)
            frame.setWord(w, liveWord(f));
        const auto before = block.bytes();
        block.takeSlice(frame);
        const std::size_t p = frame.word(CalibrationBlock::kPositionWord);
        for (std::size_t w = 0; w < CalibrationBlock::kWords; ++w) {
            const bool inSlice = p > 5 && p <= CalibrationBlock::kWords && w + 6 >= p && w < p;
            const std::uint16_t expected =
                inSlice ? frame.word(CalibrationBlock::kSliceFirstWord + w + 6 - p)
                        : static_cast<std::uint16_t>(before[2 * w] | (before[2 * w + 1] << 8));
            ASSERT_EQ(block.word(w), expected) << i << " word " << w;
        }
    }
}

TEST(LiveFuzz, ReadingsOfAnyRecordAreFiniteAndKeepTheirRules) {
    Fuzzer f(12);
    const StatusTexts texts;
    const std::set<std::string> captions{texts.diesel, texts.autoMode,      texts.propane,
                                         texts.error,  texts.errorPressure, texts.errorRpmIgnition};
    EcuImage image;
    ConsumptionEstimate consumption;
    ErrorCounterWatch watch;
    std::uint16_t lastCounter = 0;
    for (std::size_t i = 0; i < rounds(20000); ++i) {
        if (i % 500 == 0) {
            for (std::size_t b = 0; b < EcuImage::kSize; ++b)
                image.setByte(b, f.byte());
            // Mostly the signal types that exist, sometimes any byte.
            if (f.chance(80))
                storeField(image, FieldId::RpmSignalType, f.below(kRpmSignalTypeCount));
        }
        ConnectionState connection;
        connection.hardwareRevision = static_cast<std::uint8_t>(f.below(4));
        connection.softwareRevision = static_cast<std::uint8_t>(f.below(14));
        LiveFrame frame;
        for (std::size_t w = 0; w < LiveFrame::kWords; ++w)
            frame.setWord(w, liveWord(f));

        const LiveRecord r{frame, liveContext(image, connection)};
        expectFinite(r, i);
        const double rpm = r.value(LiveSignal::EngineSpeed);
        ASSERT_GE(rpm, 0) << i;
        ASSERT_EQ(static_cast<std::int64_t>(rpm) % 25, 0) << i;
        // The five LEDs exist for level steps 0..4; other steps leave them as they are.
        ASSERT_EQ(tankLevelLeds(frame).has_value(), frame.low(49) < 5) << i;
        const StatusIndicator status = statusIndicatorFor(frame, texts);
        ASSERT_EQ(captions.count(status.caption), 1u) << i;
        ASSERT_EQ(status.status == 0, status.caption == texts.diesel ||
                                          status.caption == texts.autoMode ||
                                          status.caption == texts.propane)
            << i;
        const WorkTimeShares shares = workTimeShares(frame, texts);
        if (frame.dword(88) != 0 && frame.dword(90) != 0)
            ASSERT_NEAR(shares.diesel + shares.propane, 100.0, 1e-9) << i;
        else
            ASSERT_TRUE(shares.diesel == 0 && shares.propane == 0) << i;
        // The consumption factor moves in half steps inside its band.
        consumption.update(frame);
        ASSERT_GE(consumption.factor(), 6.5) << i;
        ASSERT_LE(consumption.factor(), 12.5) << i;
        const auto counter = static_cast<std::uint16_t>(r.raw(LiveSignal::ErrorCounter));
        ASSERT_EQ(watch.moved(counter), frame.word(50) != lastCounter) << i;
        lastCounter = frame.word(50);
    }
}
