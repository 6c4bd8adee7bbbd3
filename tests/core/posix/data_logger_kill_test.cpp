// What only a POSIX system can show: a recording's program killed outright. Windows builds
// leave this folder out.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include "live/data_logger.h"
#include "support/temp_folder.h"

using namespace kaldor;

namespace {

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::size_t lineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

struct KilledLogger : ::testing::Test {
    test::TempFolder temp{"demolog"};
    std::string folder = temp.string();
};

// A program killed mid-recording (SIGKILL: no stop, no destructor) leaves on the disk every line
// it logged but at most the last second's, in order.
TEST_F(KilledLogger, ARecordingSurvivesSigkillToItsLastSecond) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(fds[0]);
        DataLogger recorder(folder);
        if (recorder.StartLogging())
            ::_exit(2);
        LiveFrame frame;
        for (std::uint32_t n = 0;; ++n) {
            frame.setWord(0, static_cast<std::uint16_t>(n));
            recorder.AppendLogLine(frame);
            // Tells the test how many lines are logged.
            if (::write(fds[1], &n, sizeof n) != sizeof n)
                ::_exit(3);
            ::usleep(500);
        }
    }
    ::close(fds[1]);
    std::uint32_t n = 0;
    std::size_t logged = 0;
    while (logged < 300 && ::read(fds[0], &n, sizeof n) == sizeof n)
        logged = n + 1;
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    while (::read(fds[0], &n, sizeof n) == sizeof n)
        logged = n + 1;
    ::close(fds[0]);
    ASSERT_TRUE(WIFSIGNALED(status));

    const std::string text = slurp(folder + "/demo.log.partial");
    const std::size_t lines = lineCount(text);
    EXPECT_GE(lines + DataLogger::kSyncEveryLines, logged);
    EXPECT_LE(lines, logged + 1);  // killed between a line and its report
    std::size_t at = 0;
    for (std::size_t i = 0; i < lines; ++i) {
        ASSERT_EQ(text.compare(at, std::to_string(i).size() + 1, std::to_string(i) + ","), 0)
            << "line " << i;
        at = text.find('\n', at) + 1;
    }
}

}  // namespace
