#pragma once
// The serial port seam. The real adapter wraps QSerialPort (qt_serial_port.h); tests use a
// scripted fake. Nothing here blocks for input: reads only take what the driver already queued.
#include <cstddef>
#include <cstdint>

#include "link/port_problems.h"

namespace kaldor {

class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Opens port `number` (1..16) exclusively, only if it exists, at 57600 baud 8N1 with parity
    // checking off and DTR inactive. False when absent or held by someone else.
    [[nodiscard]] virtual bool open(int number) = 0;
    // Why the last open() failed (ok after one that succeeded). A port that cannot tell says
    // nothing, and its failure passes for a port that is not there.
    [[nodiscard]] virtual PortOpenResult lastOpenResult() const { return {}; }
    virtual void close() = 0;
    // Drives the RTS line (high = the interface transmits). A device without the line (a
    // pseudo-terminal) ignores the call.
    virtual void setRts(bool high) = 0;
    [[nodiscard]] virtual bool write(const std::uint8_t* data, std::size_t count) = 0;
    // Blocks until the last byte written has left the transmitter.
    virtual void waitTransmitEmpty() = 0;
    // Blocks until everything handed to the driver has been transmitted; received bytes stay.
    virtual void drain() = 0;
    // Bytes waiting in the receive queue; the same call clears any line-error state.
    [[nodiscard]] virtual std::size_t queuedCount() = 0;
    // Reads up to `maximum` queued bytes without waiting; returns how many were read.
    [[nodiscard]] virtual std::size_t readQueued(std::uint8_t* destination,
                                                 std::size_t maximum) = 0;
};

// Every fixed pause of the protocol goes through this clock, so tests run in virtual time.
class PauseClock {
public:
    virtual ~PauseClock() = default;
    virtual void pause(int milliseconds) = 0;
};

// A plain sleep of the calling thread.
class SleepClock final : public PauseClock {
public:
    void pause(int milliseconds) override;
};

}  // namespace kaldor
