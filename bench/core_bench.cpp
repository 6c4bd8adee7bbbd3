// The core half of one collect tick: validating and reversing a live reply, the calibration
// slice, and working out every reading.
#include <benchmark/benchmark.h>

#include "link/frame.h"
#include "live/live_frame.h"
#include "live/readings.h"

using namespace kaldor;

namespace {

std::array<std::uint8_t, 196> realisticReply() {
    LiveFrame f;
    const std::uint16_t words[][2] = {
        {0, 62},      {1, 35},      {3, 120},     {4, 800},  {5, 1200},  {6, 2300},  {9, 1500},
        {10, 900},    {18, 100},    {21, 5529},   {24, 900}, {26, 2000}, {27, 2300}, {30, 1700},
        {35, 0x0500}, {36, 0x0600}, {39, 0x0100}, {49, 3},   {50, 2},    {78, 2200}, {79, 1400},
        {80, 700},    {86, 900},    {88, 3600},   {90, 1800}};
    for (const auto& w : words)
        f.setWord(w[0], w[1]);
    std::array<std::uint8_t, 196> reply{};
    reply[0] = 0x56;
    reply[1] = 0x05;
    for (std::size_t k = 0; k < LiveFrame::kBytes; ++k)
        reply[2 + k] = f.bytes()[LiveFrame::kBytes - 1 - k];
    reply[194] = payloadChecksum(reply.data() + 2, LiveFrame::kBytes);
    reply[195] = 0xF2;
    return reply;
}

void BM_DecodeAndComputeReadings(benchmark::State& s) {
    const auto reply = realisticReply();
    LiveFrame frame;
    CalibrationBlock block;
    EcuImage image;
    image.setByte(125, 4);
    ConnectionState connection;
    connection.hardwareRevision = 2;
    connection.softwareRevision = 11;
    DisplayState state;
    StatusTexts texts;
    DisplayVisibility visible{true, true};
    for (auto _ : s) {
        if (validateReply(ReplyKind::Live, reply.data(), reply.size(), true) == ReplyStatus::Ok)
            reversePayload(reply.data() + 2, LiveFrame::kBytes, frame.bytes().data());
        block.takeSlice(frame);
        Readings r = computeReadings(frame, image, connection, visible, texts, state);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_DecodeAndComputeReadings);

}  // namespace
