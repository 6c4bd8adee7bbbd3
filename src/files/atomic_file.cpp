#include "files/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace kaldor {
namespace {

// The data must be on the disk before the rename makes it the file.
bool flushToDisk(std::FILE* f) {
#ifdef _WIN32
    return ::_commit(::_fileno(f)) == 0;
#else
    return ::fsync(::fileno(f)) == 0;
#endif
}

// Replaces `to` by `from` in one step; 0, or the errno-style reason it failed.
int replaceFile(const std::string& from, const std::string& to) {
#ifdef _WIN32
    // rename() refuses an existing target on Windows; MoveFileEx replaces it in one step.
    if (::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 0;
    switch (::GetLastError()) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
            return EACCES;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        default:
            return EIO;
    }
#else
    return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : (errno != 0 ? errno : EIO);
#endif
}

}  // namespace

std::optional<std::string> writeFileAtomically(const std::string& path, std::string_view content) {
    if (path.empty())
        return std::string("no file name");
    const std::string tmp = path + ".tmp";
    errno = 0;
    std::FILE* f = std::fopen(tmp.c_str(), "wb");
    if (f == nullptr)
        return std::string(std::strerror(errno != 0 ? errno : EIO));
    errno = 0;
    int error = 0;
    // The first failure is the reason given; a failing call that leaves errno at 0 is an I/O error.
    const auto failed = [&error](bool bad) {
        if (bad && error == 0)
            error = errno != 0 ? errno : EIO;
    };
    failed(std::fwrite(content.data(), 1, content.size(), f) != content.size());
    failed(std::fflush(f) != 0);
    failed(!flushToDisk(f));
    failed(std::fclose(f) != 0);
    if (error == 0)
        error = replaceFile(tmp, path);
    if (error != 0) {
        std::remove(tmp.c_str());
        return std::string(std::strerror(error));
    }
    return std::nullopt;
}

}  // namespace kaldor
