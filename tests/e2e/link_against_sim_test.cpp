// The program's real link code (QtSerialPort, scan, image read, live polling) against the
// virtual controller on a pseudo-terminal, in real time.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "files/settings_file.h"
#include "link/connection_scan.h"
#include "link/image_transfer.h"
#include "link/qt_serial_port.h"
#include "live/live_poller.h"
#include "virtual_controller.h"

using namespace kaldor;

namespace {

struct SilentPrompts : Prompts {
    std::vector<std::string> messages;
    void message(const std::string& t) override { messages.push_back(t); }
};

struct LinkAgainstSim : ::testing::Test, ScanHooks {
    sim::VirtualController controller{[] {
        sim::VirtualController::Options o;
        o.hardwareRevision = 2;
        o.softwareRevision = 11;
        o.serialNumber = 770123;
        return o;
    }()};
    SettingsFile settings;
    std::unique_ptr<QtSerialPort> port;
    SleepClock clock;
    ConnectionState state;
    std::unique_ptr<SerialLink> link;
    std::unique_ptr<CommandSet> commands;
    EcuImage image;
    SilentPrompts prompts;
    std::unique_ptr<ImageTransfer> transfer;
    PlainProgress bar;
    std::string title;
    int records = 0;

    void SetUp() override {
        const std::string device = controller.start();
        settings.parse("[Ports]\nCOM1=" + device + "\n");
        port = std::make_unique<QtSerialPort>(PortMap(portDevices(settings)));
        link = std::make_unique<SerialLink>(*port, clock, state);
        commands = std::make_unique<CommandSet>(*link);
        transfer = std::make_unique<ImageTransfer>(*commands, state, image, prompts);
    }

    void setWindowTitle(const std::string& t) override { title = t; }
    void appendConnectCaption(const std::string&) override {}
    bool readImage() override { return transfer->readImage(bar); }
};

TEST_F(LinkAgainstSim, ScanFindsTheControllerReadsItsImageAndPollsLiveRecords) {
    ConnectionScan scan(*commands, state, image, prompts, *this);
    ASSERT_EQ(scan.scan(), ScanOutcome::Connected);
    scan.goLive();
    EXPECT_EQ(title, "KALDOR DIESEL v4.706 Rev.H:2 Rev.S:11 TR770  COM1 SN: 770123");
    const auto simImage = controller.image();
    EXPECT_TRUE(std::equal(simImage.begin(), simImage.end(), image.bytes().begin()));
    EXPECT_TRUE(prompts.messages.empty());

    LiveFrame frame;
    CalibrationBlock block;
    LivePoller poller(*commands, state, frame, block);
    poller.addRecordSink([this] { ++records; });
    int valid = 0;
    for (int tick = 0; tick < 20; ++tick) {
        poller.TimerTick();
        if (!poller.requestPhase())
            valid += frame.word(39) != 0 || frame.word(21) != 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_EQ(records, 10);
    EXPECT_GE(valid, 9);

    const auto before = controller.frameCount();
    commands->simple(Command::CmdModePropane);
    ASSERT_TRUE(controller.waitForFrames(before + 1, std::chrono::seconds(2)));
    const auto frames = controller.receivedFrames();
    const auto& last = frames.back().bytes;
    EXPECT_EQ(std::vector<std::uint8_t>(last.begin(), last.end()),
              (std::vector<std::uint8_t>{0x51, 0, 0, 0, 0xFB, 0xF2}));

    image.setWord(184, 1500);
    transfer->writeWord(184);
    ASSERT_TRUE(controller.waitForFrames(before + 2, std::chrono::seconds(2)));
    EXPECT_EQ(controller.readWord(184), 1500);
}

}  // namespace
