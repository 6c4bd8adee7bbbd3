// The ecu-sim program as a process: its options, its first line, its exit on SIGTERM.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <fstream>
#include <iterator>
#include <thread>

#include "command_line.h"
#include "pty_client.h"

extern char** environ;

namespace kaldor::sim::test {
namespace {

struct Process {
    pid_t pid = -1;
    int out = -1;  // its standard output
    int err = -1;  // its standard error
};

Process spawnSim(const std::vector<std::string>& args) {
    int out[2];
    int err[2];
    if (::pipe(out) != 0 || ::pipe(err) != 0) {
        return {};
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, err[0]);
    std::vector<std::string> all{ECU_SIM_PROGRAM};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    Process p;
    if (::posix_spawn(&p.pid, ECU_SIM_PROGRAM, &actions, nullptr, argv.data(), environ) != 0) {
        p.pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(err[1]);
    p.out = out[0];
    p.err = err[0];
    return p;
}

std::string readAll(int fd, std::chrono::milliseconds timeout, bool lineOnly = false) {
    std::string text;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd p{fd, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) {
            return text;
        }
        char c = 0;
        if (::read(fd, &c, 1) != 1) {
            return text;
        }
        if (lineOnly && c == '\n') {
            return text;
        }
        text += c;
    }
}

// The exit status, or -1 if the process did not end in time (it is then killed).
int waitExit(pid_t pid, std::chrono::milliseconds timeout = kReplyTimeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string tempPath(const std::string& name) {
    return ::testing::TempDir() + "ecu_sim_" + std::to_string(::getpid()) + "_" + name;
}

TEST(Program, PrintsDeviceServesAndExitsCleanlyOnSigterm) {
    const std::string link = tempPath("link");
    const std::string dump = tempPath("dump.bin");
    Process sim = spawnSim({"--link", link, "--dump", dump, "--serial", "987654321"});
    ASSERT_GT(sim.pid, 0);
    const std::string device = readAll(sim.out, kReplyTimeout, true);
    ASSERT_EQ(device.rfind("/dev/", 0), 0u) << "first line: '" << device << "'";
    char target[256] = {};
    ASSERT_GT(::readlink(link.c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(device, target);

    {
        PtyClient client(link);
        ASSERT_TRUE(client.isOpen());
        EXPECT_EQ(client.exchange(makeCommand(kCmdIdentify), 5).size(), 5u);
        client.send(makeCommand(0xD1, 184, 0x05, 0xDC));
        EXPECT_EQ(client.exchange(makeCommand(kCmdIdentify), 5).size(), 5u) << "write handled";
    }
    ::kill(sim.pid, SIGTERM);
    EXPECT_EQ(waitExit(sim.pid), 0);
    struct stat st {};
    EXPECT_NE(::lstat(link.c_str(), &st), 0) << "link removed";

    std::string error;
    const auto image = loadImageFile(dump, error);
    ASSERT_TRUE(image) << error;
    EXPECT_EQ(loadWord(*image, 184), 1500);
    EXPECT_EQ(loadWord(*image, 242) | (loadWord(*image, 243) << 16), 987654321);
    ::close(sim.out);
    ::close(sim.err);
}

TEST(Program, RefusesAnImageOfTheWrongSize) {
    for (const std::size_t size : {767u, 769u}) {
        const std::string path = tempPath("image.bin");
        std::ofstream(path, std::ios::binary) << std::string(size, '\x01');
        Process sim = spawnSim({"--image", path});
        ASSERT_GT(sim.pid, 0);
        EXPECT_EQ(waitExit(sim.pid), 2) << size;
        EXPECT_NE(readAll(sim.err, kReplyTimeout).find("768"), std::string::npos);
        ::close(sim.out);
        ::close(sim.err);
    }
}

TEST(Program, HelpDocumentsEveryOptionAndBadOptionsExitWith2) {
    Process help = spawnSim({"--help"});
    const std::string text = readAll(help.out, kReplyTimeout);
    EXPECT_EQ(waitExit(help.pid), 0);
    for (const char* option : {"--link",
                               "--log",
                               "--dump",
                               "--hw",
                               "--sw",
                               "--confirm-status",
                               "--serial",
                               "--pin",
                               "--image",
                               "--mode",
                               "--errors",
                               "--error-every",
                               "--time-scale",
                               "--drop-every",
                               "--corrupt-every",
                               "--stray-every",
                               "--wrong-subcode-every",
                               "--ignore-write-every",
                               "--delay-ms",
                               "--silent-after",
                               "--hang-up-after"}) {
        EXPECT_NE(text.find(option), std::string::npos) << option;
    }
    ::close(help.out);
    ::close(help.err);

    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{"--bogus"},
                                               {"--hw", "256"},
                                               {"--pin", "12a4"},
                                               {"--serial"},
                                               {"--mode", "petrol"},
                                               {"--time-scale", "0"},
                                               {"--errors", "7,,15"}}) {
        Process sim = spawnSim(bad);
        EXPECT_EQ(waitExit(sim.pid), 2) << bad[0];
        ::close(sim.out);
        ::close(sim.err);
    }
}

TEST(Program, HangUpEndsTheProgramByItself) {
    Process sim = spawnSim({"--hang-up-after", "1"});
    const std::string device = readAll(sim.out, kReplyTimeout, true);
    PtyClient client(device);
    ASSERT_TRUE(client.isOpen()) << device;
    client.send(makeCommand(kCmdIdentify));
    EXPECT_EQ(waitExit(sim.pid), 0);
    ::close(sim.out);
    ::close(sim.err);
}

TEST(CommandLine, OptionsReachTheController) {
    const ParsedCommandLine parsed = parseCommandLine(
        {"--hw", "1", "--sw=9", "--confirm-status", "3", "--pin", "1234", "--errors", "7,15",
         "--mode", "diesel", "--drop-every", "4", "--silent-after", "0", "--delay-ms", "20",
         "--hang-up-after-writes", "200"});
    ASSERT_TRUE(parsed.commandLine) << parsed.error;
    const VirtualController::Options& o = parsed.commandLine->options;
    EXPECT_EQ(o.hardwareRevision, 1);
    EXPECT_EQ(o.softwareRevision, 9);
    EXPECT_EQ(o.confirmStatus, 3);
    EXPECT_EQ(o.pin, 0x1234);
    EXPECT_EQ(o.errors, (std::vector<std::uint16_t>{7, 15}));
    EXPECT_EQ(o.mode, FuelMode::Diesel);
    EXPECT_EQ(o.faults.dropEvery, 4u);
    EXPECT_EQ(o.faults.silentAfter, std::optional<std::size_t>(0));
    EXPECT_EQ(o.faults.delayMs, 20u);
    EXPECT_EQ(o.faults.hangUpAfterWrites, std::optional<std::size_t>(200));
    EXPECT_FALSE(o.serialNumber) << "the image's own serial number stays unless asked";
}

}  // namespace
}  // namespace kaldor::sim::test
