#include "service/broken_write.h"

namespace kaldor {

std::string brokenWriteMessage(const WriteRun& run, std::string_view advice) {
    // Frames count from 1 for the installer: the refused one is the one after those sent.
    const std::string of = run.planned > 0 ? " of " + std::to_string(run.planned) : "";
    return "The write to the ECU broke off at frame " + std::to_string(run.sent + 1) + of +
           ": the port refused it, so only the first " + std::to_string(run.sent) +
           " frames reached the ECU. The ECU may now hold a mix of old and new values and is no "
           "longer connected. " +
           std::string(advice);
}

}  // namespace kaldor
