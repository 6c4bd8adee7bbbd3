#pragma once
// The drive the documentation's pictures show: 20 minutes of the virtual controller's engine
// model (its repeating cycle of idle, acceleration, cruise, full load and overrun) with the
// controller in automatic mode, so it runs on propane when warm and fast enough and on diesel
// at idle; at 12:00 the controller is switched to diesel for 90 seconds, as it falls back on a
// fault, then to automatic again. One record every 100 ms, as the data logger takes them.
#include <cmath>
#include <cstdio>
#include <string>

#include "controller_core.h"
#include "live/data_logger.h"
#include "protocol.h"

namespace kaldor::tools {

inline constexpr double kDriveSeconds = 20 * 60;
inline constexpr double kFallbackFrom = 12 * 60;
inline constexpr double kFallbackTo = kFallbackFrom + 90;
inline constexpr double kSecondsPerRecord = 0.1;

// The drive as "demo.log" in `folder`; its path, or empty (said on stderr by `tool`).
inline std::string recordDrive(const std::string& folder, const char* tool) {
    sim::ControllerCore controller(sim::CoreSettings{});
    DataLogger logger(folder);
    if (const auto failed = logger.StartLogging()) {
        std::fprintf(stderr, "%s: %s\n", tool, failed->c_str());
        return {};
    }
    LiveFrame frame;
    const auto records = static_cast<long>(kDriveSeconds / kSecondsPerRecord);
    for (long r = 0; r < records; ++r) {
        const double t = static_cast<double>(r) * kSecondsPerRecord;
        if (r == std::lround(kFallbackFrom / kSecondsPerRecord))
            (void)controller.handle(sim::makeCommand(sim::kCmdModeDiesel));
        if (r == std::lround(kFallbackTo / kSecondsPerRecord))
            (void)controller.handle(sim::makeCommand(sim::kCmdModeAuto));
        controller.advanceTo(t);
        const sim::LiveRecord record = controller.liveRecord();
        for (std::size_t w = 0; w < record.size(); ++w)
            frame.setWord(w, record[w]);
        logger.AppendLogLine(frame);
    }
    if (const auto failed = logger.StopLogging()) {
        std::fprintf(stderr, "%s: %s\n", tool, failed->c_str());
        return {};
    }
    return logger.filePath();
}

}  // namespace kaldor::tools
