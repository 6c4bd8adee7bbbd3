// Live records of every shape through the calibration slice and the readings: records with edge
// words (0, 0x7FFF, 0x8000, 0xFFFF), random images, revisions and visible pages, one display state
// carried from record to record. Outcome: no crash, finite values, and each documented clamp.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "fuzz/fuzz_support.h"
#include "live/live_frame.h"
#include "live/readings.h"
#include "model/fields.h"
#include "model/units.h"

using namespace kaldor;
using namespace kaldor::fuzz;

namespace {

std::uint16_t liveWord(Fuzzer& f) {
    static const std::vector<std::uint16_t> kEdges{0, 1, 5, 6, 320, 321, 0x7FFF, 0x8000, 0xFFFF};
    return f.chance(30) ? f.pick(kEdges) : f.word();
}

void expectFinite(const Readings& r, std::size_t i) {
    for (const double v : {r.supplyVolts, r.contactVolts, r.dieselShare, r.propaneShare, r.egtVolts,
                           r.egtCelsius, r.rpmThousands, r.pressureDifference, r.airFlow, r.tps,
                           r.rail, r.vacuum, r.absolutePressure, r.step, r.stepPercent,
                           r.propaneTemperature, r.regulatorTemperature, r.level})
        ASSERT_TRUE(std::isfinite(v)) << i;
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
    DisplayState state;
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
        const DisplayVisibility visible{f.chance(50), f.chance(50)};
        LiveFrame frame;
        for (std::size_t w = 0; w < LiveFrame::kWords; ++w)
            frame.setWord(w, liveWord(f));
        const std::uint16_t lastCounter = state.lastErrorCounter;

        const Readings r = computeReadings(frame, image, connection, visible, texts, state);
        expectFinite(r, i);
        ASSERT_GE(r.rpm, 0) << i;
        ASSERT_EQ(r.rpm % 25, 0) << i;
        // The five LEDs exist for level steps 0..4; other steps leave them as they are.
        ASSERT_EQ(r.levelLeds.has_value(), frame.low(49) < 5) << i;
        ASSERT_EQ(captions.count(r.status.caption), 1u) << i;
        ASSERT_EQ(r.status.status == 0, r.status.caption == texts.diesel ||
                                            r.status.caption == texts.autoMode ||
                                            r.status.caption == texts.propane)
            << i;
        if (frame.dword(88) != 0 && frame.dword(90) != 0)
            ASSERT_NEAR(r.dieselShare + r.propaneShare, 100.0, 1e-9) << i;
        else
            ASSERT_TRUE(r.dieselShare == 0 && r.propaneShare == 0) << i;
        // The consumption factor moves in half steps inside its band.
        ASSERT_GE(state.consumptionFactor, 6.5) << i;
        ASSERT_LE(state.consumptionFactor, 12.5) << i;
        ASSERT_EQ(r.errorCounterChanged, frame.word(50) != lastCounter) << i;
        ASSERT_EQ(state.lastErrorCounter, frame.word(50)) << i;
        ASSERT_EQ(r.emulatorTexts, visible.emulatorPage) << i;
    }
}
