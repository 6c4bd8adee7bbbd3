// ecu-sim: the virtual controller as a program, for demonstrations and for tests that start it
// as a process. Options are described by --help.
#include <signal.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <exception>
#include <string>
#include <vector>

#include "command_line.h"
#include "virtual_controller.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitSetUp = 1;
constexpr int kExitUsage = 2;
constexpr long kHangUpCheckNs = 100'000'000;

// Waits for SIGINT or SIGTERM, or for the controller to hang up by itself.
void waitForEnd(const sigset_t& signals, const kaldor::sim::VirtualController& controller) {
    const timespec interval{0, kHangUpCheckNs};
    for (;;) {
        const int sig = ::sigtimedwait(&signals, nullptr, &interval);
        if (sig == SIGINT || sig == SIGTERM) {
            return;
        }
        if (controller.hungUp()) {
            std::fprintf(stderr, "ecu-sim: hung up as asked\n");
            return;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    using namespace kaldor::sim;
    const std::vector<std::string> args(argv + 1, argv + argc);
    ParsedCommandLine parsed = parseCommandLine(args);
    if (!parsed.commandLine) {
        std::fprintf(stderr, "ecu-sim: %s\nTry 'ecu-sim --help'.\n", parsed.error.c_str());
        return kExitUsage;
    }
    CommandLine& cl = *parsed.commandLine;
    if (cl.help) {
        std::fputs(usageText().c_str(), stdout);
        return kExitOk;
    }
    if (!cl.imagePath.empty()) {
        std::string error;
        cl.options.image = loadImageFile(cl.imagePath, error);
        if (!cl.options.image) {
            std::fprintf(stderr, "ecu-sim: %s\n", error.c_str());
            return kExitUsage;
        }
    }

    // Blocked before the serving thread exists, so that only sigtimedwait below sees them.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    ::signal(SIGPIPE, SIG_IGN);

    VirtualController controller(cl.options);
    try {
        const std::string device = controller.start();
        std::printf("%s\n", device.c_str());
        std::fflush(stdout);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "ecu-sim: %s\n", e.what());
        return kExitSetUp;
    }
    waitForEnd(signals, controller);
    controller.stop();

    if (!cl.dumpPath.empty()) {
        std::string error;
        if (!saveImageFile(cl.dumpPath, controller.image(), error)) {
            std::fprintf(stderr, "ecu-sim: %s\n", error.c_str());
            return kExitSetUp;
        }
    }
    return kExitOk;
}
