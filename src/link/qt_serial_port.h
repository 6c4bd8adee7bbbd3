#pragma once
// The serial port seam on QSerialPort. Used without an event loop between calls: every read
// first asks the port for what the driver has queued.
#include <QSerialPort>

#include "link/port_map.h"
#include "link/serial_port.h"

namespace kaldor {

class QtSerialPort final : public SerialPort {
public:
    // How long a frame may take to reach the driver; six bytes take about 1 ms at 57600 baud.
    static constexpr int kWriteTimeoutMs = 200;

    explicit QtSerialPort(PortMap map);
    ~QtSerialPort() override;

    [[nodiscard]] bool open(int number) override;
    [[nodiscard]] PortOpenResult lastOpenResult() const override { return m_lastOpen; }
    void close() override;
    void setRts(bool high) override;
    [[nodiscard]] bool write(const std::uint8_t* data, std::size_t count) override;
    void waitTransmitEmpty() override;
    void drain() override;
    [[nodiscard]] std::size_t queuedCount() override;
    [[nodiscard]] std::size_t readQueued(std::uint8_t* destination, std::size_t maximum) override;

    [[nodiscard]] QString portName() const { return m_port.portName(); }

private:
    void pullQueued();

    PortMap m_map;
    QSerialPort m_port;
    int m_lockFd = -1;
    PortOpenResult m_lastOpen;
};

// Whether the device could be opened by this user, without opening it: there, and readable and
// writable (the group that may open it named when not). A device that is there but held by
// another program shows only when opened.
[[nodiscard]] PortOpenResult checkDevice(const std::string& device);

}  // namespace kaldor
