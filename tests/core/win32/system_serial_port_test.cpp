// The Windows port on the system's own calls (under Wine in the cross build): a port that is not
// there says so, whether opened or only checked.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "link/serial_port_factory.h"

using namespace kaldor;

TEST(SystemSerialPort, APortThatIsNotThereIsNoSuchDevice) {
    const std::string missing = "\\\\.\\COM251";
    const std::unique_ptr<SerialPort> port =
        makeSerialPort(PortMap([&missing](int) { return missing; }));
    EXPECT_FALSE(port->open(1));
    EXPECT_EQ(port->lastOpenResult().error, PortOpenError::NoSuchDevice)
        << port->lastOpenResult().detail;
    EXPECT_EQ(port->lastOpenResult().device, missing);
    EXPECT_TRUE(port->lastOpenResult().named);
    EXPECT_EQ(checkSerialDevice(missing).error, PortOpenError::NoSuchDevice);
}
