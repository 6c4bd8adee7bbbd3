// The pseudo-terminal plumbing under the virtual controller: the pty pair in raw mode and the
// optional symbolic link to its slave device.
#pragma once

#include <stdexcept>
#include <string>

namespace kaldor::sim {

// The failed call's description followed by errno's text.
[[nodiscard]] std::runtime_error systemError(const std::string& what);
void closeFd(int& fd);  // closes an open descriptor and marks it closed (-1)

// Opens a pty pair at 57600 baud in raw mode, with a non-blocking master, and names the slave in
// `device`. Each descriptor is stored as soon as it is open, so a caller that catches the
// std::runtime_error thrown on failure can close what was opened.
void openPty(int& master, int& slave, std::string& device);

// Makes `link` a symbolic link to `device`, replacing an older link but never any other file.
// Throws std::runtime_error.
void linkDevice(const std::string& link, const std::string& device);
// Removes `link` unless someone has pointed it elsewhere since; then it is no longer ours.
void unlinkDevice(const std::string& link, const std::string& device);

}  // namespace kaldor::sim
