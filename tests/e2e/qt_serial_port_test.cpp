// The real port adapter against a pseudo-terminal: what the program does to a serial device.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>
#include <QCoreApplication>

#include <chrono>
#include <thread>

#include "files/settings_file.h"
#include "link/qt_serial_port.h"
#include "link/serial_link.h"

using namespace kaldor;

namespace {

struct Pty {
    int master = -1;
    int slave = -1;
    std::string name;
    Pty() {
        char buf[256] = {};
        if (::openpty(&master, &slave, buf, nullptr, nullptr) != 0)
            return;
        name = buf;
        termios t{};
        ::tcgetattr(slave, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(slave, TCSANOW, &t);
        ::fcntl(master, F_SETFL, O_NONBLOCK);
    }
    ~Pty() {
        if (master >= 0)
            ::close(master);
        if (slave >= 0)
            ::close(slave);
    }
    std::vector<std::uint8_t> readMaster(std::size_t want) const {
        std::vector<std::uint8_t> got;
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (got.size() < want && std::chrono::steady_clock::now() < until) {
            std::uint8_t b[256];
            const ssize_t n = ::read(master, b, sizeof b);
            if (n > 0)
                got.insert(got.end(), b, b + n);
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return got;
    }
};

struct QtSerialPortTest : ::testing::Test {
    Pty pty;
    SettingsFile settings;
    void SetUp() override {
        ASSERT_FALSE(pty.name.empty());
        settings.parse("[Ports]\nCOM1=" + pty.name + "\n");
    }
};

TEST_F(QtSerialPortTest, OpensExclusivelyWritesWholeFramesAndReadsQueuedReplies) {
    QtSerialPort port{PortMap(portDevices(settings))};
    ASSERT_TRUE(port.open(1));

    QtSerialPort second{PortMap(portDevices(settings))};
    EXPECT_FALSE(second.open(1));
    EXPECT_FALSE(second.open(2));  // /dev/ttyUSB1: not here

    ConnectionState state;
    SleepClock clock;
    SerialLink link(port, clock, state);
    ASSERT_TRUE(link.open(1));
    const std::uint8_t frame[6] = {0xAA, 0x05, 0x00, 0x00, 0x59, 0xF2};
    ASSERT_TRUE(link.send(frame, sizeof frame));  // RTS on a pty is harmless
    EXPECT_EQ(pty.readMaster(6), std::vector<std::uint8_t>(frame, frame + 6));

    std::vector<std::uint8_t> reply(196);
    for (std::size_t i = 0; i < reply.size(); ++i)
        reply[i] = static_cast<std::uint8_t>(i);
    ASSERT_EQ(::write(pty.master, reply.data(), reply.size()), 196);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(link.receiveWindow(196));
    EXPECT_TRUE(std::equal(reply.begin(), reply.end(), link.replyBuffer().begin()));

    EXPECT_FALSE(link.receiveWindow(5));  // nothing more queued

    link.close();
    EXPECT_TRUE(second.open(1));  // released on close
    second.close();
}

}  // namespace
