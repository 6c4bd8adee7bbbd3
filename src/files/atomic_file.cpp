#include "files/atomic_file.h"

#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace kaldor {

std::optional<std::string> writeFileAtomically(const std::string& path, std::string_view content) {
    if (path.empty())
        return std::string("no file name");
    const std::string tmp = path + ".tmp";
    std::FILE* f = std::fopen(tmp.c_str(), "wb");
    if (f == nullptr)
        return std::string(std::strerror(errno));
    int error = 0;
    // The first failure is the reason given; a failing call that leaves errno at 0 is an I/O error.
    const auto failed = [&error](bool bad) {
        if (bad && error == 0)
            error = errno != 0 ? errno : EIO;
    };
    errno = 0;
    failed(std::fwrite(content.data(), 1, content.size(), f) != content.size());
    failed(std::fflush(f) != 0);
    // The data must be on the disk before the rename makes it the file.
    failed(::fsync(::fileno(f)) != 0);
    failed(std::fclose(f) != 0);
    if (error == 0)
        failed(std::rename(tmp.c_str(), path.c_str()) != 0);
    if (error != 0) {
        std::remove(tmp.c_str());
        return std::string(std::strerror(error));
    }
    return std::nullopt;
}

}  // namespace kaldor
