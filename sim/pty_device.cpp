#include "pty_device.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace kaldor::sim {
namespace {

void makeRaw(int fd) {
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) {
        return;
    }
    cfmakeraw(&tio);
    cfsetispeed(&tio, B57600);
    cfsetospeed(&tio, B57600);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    tcsetattr(fd, TCSANOW, &tio);
}

}  // namespace

std::runtime_error systemError(const std::string& what) {
    return std::runtime_error(what + ": " + std::strerror(errno));
}

void closeFd(int& fd) {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

void openPty(int& master, int& slave, std::string& device) {
    master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0) {
        throw systemError("cannot open a pseudo-terminal");
    }
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        throw systemError("cannot unlock the pseudo-terminal");
    }
    char name[PATH_MAX] = {};
    if (::ptsname_r(master, name, sizeof name) != 0) {
        throw systemError("cannot name the pseudo-terminal");
    }
    device = name;
    slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0) {
        throw systemError("cannot open " + device);
    }
    makeRaw(slave);
    makeRaw(master);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
}

void linkDevice(const std::string& link, const std::string& device) {
    struct stat st {};
    if (::lstat(link.c_str(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) {
            errno = EEXIST;
            throw systemError("will not replace " + link);
        }
        ::unlink(link.c_str());
    }
    if (::symlink(device.c_str(), link.c_str()) != 0) {
        throw systemError("cannot link " + link);
    }
}

void unlinkDevice(const std::string& link, const std::string& device) {
    char target[PATH_MAX] = {};
    const ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
    if (n > 0 && device == std::string(target, static_cast<std::size_t>(n))) {
        ::unlink(link.c_str());
    }
}

}  // namespace kaldor::sim
