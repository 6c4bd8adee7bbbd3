#include "link/qt_serial_port.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace kaldor {

PortOpenResult checkDevice(const std::string& device) {
    PortOpenResult result;
    result.device = device;
    struct stat info {};
    if (::stat(device.c_str(), &info) != 0) {
        result.error =
            errno == EACCES ? PortOpenError::PermissionDenied : PortOpenError::NoSuchDevice;
        return result;
    }
    if (::access(device.c_str(), R_OK | W_OK) != 0) {
        if (errno != EACCES && errno != EPERM) {
            result.error = PortOpenError::Other;
            result.detail = std::strerror(errno);
            return result;
        }
        result.error = PortOpenError::PermissionDenied;
        // The device's own group, when the user could join it (a device only root may use has
        // the group root, which no one joins: the usual serial group is named then).
        if (const struct group* g = ::getgrgid(info.st_gid); g != nullptr && info.st_gid != 0)
            result.group = g->gr_name;
    }
    return result;
}

QtSerialPort::QtSerialPort(PortMap map) : m_map(std::move(map)) {}

QtSerialPort::~QtSerialPort() {
    close();
}

bool QtSerialPort::open(int number) {
    close();
    const std::string deviceName = m_map.deviceName(number);
    const QString device = QString::fromStdString(deviceName);
    m_lastOpen = {};
    m_lastOpen.device = deviceName;
    m_lastOpen.named = deviceName != PortMap::defaultDeviceName(number);
    if (device.isEmpty()) {
        m_lastOpen.error = PortOpenError::NoSuchDevice;
        return false;
    }
    // Only ports that already exist are opened.
    if (const PortOpenResult check = checkDevice(deviceName); !check.ok()) {
        const bool named = m_lastOpen.named;
        m_lastOpen = check;
        m_lastOpen.named = named;
        return false;
    }
    m_port.setPortName(device);
    m_port.setBaudRate(QSerialPort::Baud57600);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    if (!m_port.open(QIODevice::ReadWrite)) {
        // The device is there and this user may use it, so a refusal means another holder (its
        // lock file, exclusive mode), unless the system says something else.
        switch (m_port.error()) {
            case QSerialPort::DeviceNotFoundError:
                m_lastOpen.error = PortOpenError::NoSuchDevice;
                break;
            case QSerialPort::PermissionError:
            case QSerialPort::OpenError:
                m_lastOpen.error = PortOpenError::Busy;
                break;
            default:
                m_lastOpen.error = PortOpenError::Other;
                m_lastOpen.detail = m_port.errorString().toStdString();
                break;
        }
        m_port.clearError();
        return false;
    }
    // QSerialPort locks the device with a lock file and TIOCEXCL; root passes TIOCEXCL, so an
    // advisory lock on the device itself keeps two programs of ours off one port as well.
    m_lockFd =
        ::open(device.toLocal8Bit().constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_lockFd >= 0 && ::flock(m_lockFd, LOCK_EX | LOCK_NB) != 0) {
        ::close(m_lockFd);
        m_lockFd = -1;
        m_port.close();
        m_lastOpen.error = PortOpenError::Busy;
        return false;
    }
    // Lines the device does not have (a pseudo-terminal has neither DTR nor RTS) are harmless.
    m_port.setDataTerminalReady(false);
    m_port.clearError();
    return true;
}

void QtSerialPort::close() {
    if (m_port.isOpen())
        m_port.close();
    m_port.clearError();
    if (m_lockFd >= 0) {
        ::flock(m_lockFd, LOCK_UN);
        ::close(m_lockFd);
        m_lockFd = -1;
    }
}

void QtSerialPort::setRts(bool high) {
    if (!m_port.isOpen())
        return;
    m_port.setRequestToSend(high);
    m_port.clearError();
}

bool QtSerialPort::write(const std::uint8_t* data, std::size_t count) {
    if (!m_port.isOpen())
        return false;
    m_port.clearError();
    const qint64 n = m_port.write(reinterpret_cast<const char*>(data), static_cast<qint64>(count));
    if (n != static_cast<qint64>(count))
        return false;
    // QSerialPort only buffers the bytes: a device that refuses them (a pulled USB adapter, a
    // pseudo-terminal whose other end closed) shows it once they are handed to the driver.
    while (m_port.bytesToWrite() > 0) {
        if (!m_port.waitForBytesWritten(kWriteTimeoutMs))
            break;
    }
    const QSerialPort::SerialPortError error = m_port.error();
    return m_port.bytesToWrite() == 0 &&
           (error == QSerialPort::NoError || error == QSerialPort::TimeoutError);
}

void QtSerialPort::waitTransmitEmpty() {
    if (!m_port.isOpen())
        return;
    while (m_port.bytesToWrite() > 0) {
        if (!m_port.waitForBytesWritten(kWriteTimeoutMs))
            break;
    }
    // The finished write above only says the driver has the bytes; the line is empty after
    // tcdrain.
    if (m_port.handle() >= 0)
        ::tcdrain(m_port.handle());
}

void QtSerialPort::drain() {
    waitTransmitEmpty();
}

void QtSerialPort::pullQueued() {
    // Without an event loop between calls, the driver's queue reaches QSerialPort's buffer only
    // when asked; a zero timeout never waits.
    while (m_port.waitForReadyRead(0)) {
    }
}

std::size_t QtSerialPort::queuedCount() {
    if (!m_port.isOpen())
        return 0;
    pullQueued();
    m_port.clearError();
    return static_cast<std::size_t>(m_port.bytesAvailable());
}

std::size_t QtSerialPort::readQueued(std::uint8_t* destination, std::size_t maximum) {
    if (!m_port.isOpen() || maximum == 0)
        return 0;
    const qint64 n =
        m_port.read(reinterpret_cast<char*>(destination), static_cast<qint64>(maximum));
    return n > 0 ? static_cast<std::size_t>(n) : 0;
}

}  // namespace kaldor
