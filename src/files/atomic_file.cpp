#include "files/atomic_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <vector>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace kaldor {
namespace {

constexpr std::size_t kCopyChunk = 64 * 1024;

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

// Writes through the temporary file: `fill` writes the content and returns 0 or the errno-style
// reason it failed; then the data goes to the disk and the temporary file becomes `path`.
std::optional<std::string> writeThroughTemporary(const std::string& path,
                                                 const std::function<int(std::FILE*)>& fill) {
    if (path.empty())
        return std::string("no file name");
    const std::string tmp = temporaryPathFor(path);
    // A stale one (a save killed halfway) might not be writable; it holds nothing worth keeping.
    std::remove(tmp.c_str());
    errno = 0;
    std::FILE* f = std::fopen(tmp.c_str(), "wb");
    if (f == nullptr)
        return std::string(std::strerror(errno != 0 ? errno : EIO));
    errno = 0;
    int error = fill(f);
    // The first failure is the reason given; a failing call that leaves errno at 0 is an I/O error.
    const auto failed = [&error](bool bad) {
        if (bad && error == 0)
            error = errno != 0 ? errno : EIO;
    };
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

}  // namespace

std::string temporaryPathFor(const std::string& path) {
    return path + ".tmp";
}

bool flushToDisk(std::FILE* f) {
    if (std::fflush(f) != 0)
        return false;
#ifdef _WIN32
    return ::_commit(::_fileno(f)) == 0;
#else
    return ::fsync(::fileno(f)) == 0;
#endif
}

std::optional<std::string> writeFileAtomically(const std::string& path, std::string_view content) {
    return writeThroughTemporary(path, [content](std::FILE* f) {
        if (std::fwrite(content.data(), 1, content.size(), f) == content.size())
            return 0;
        return errno != 0 ? errno : EIO;
    });
}

std::optional<std::string> copyFileAtomically(const std::string& source, const std::string& path,
                                              std::uintmax_t length) {
    errno = 0;
    std::FILE* in = std::fopen(source.c_str(), "rb");
    if (in == nullptr)
        return "reading \"" + source + "\": " + std::strerror(errno != 0 ? errno : EIO);
    int readError = 0;
    const std::optional<std::string> written = writeThroughTemporary(path, [&](std::FILE* out) {
        std::vector<char> chunk(kCopyChunk);
        for (std::uintmax_t left = length; left > 0;) {
            const std::size_t want =
                static_cast<std::size_t>(std::min<std::uintmax_t>(left, chunk.size()));
            const std::size_t n = std::fread(chunk.data(), 1, want, in);
            if (n != want) {
                readError = std::ferror(in) != 0 && errno != 0 ? errno : EIO;
                return readError;
            }
            if (std::fwrite(chunk.data(), 1, n, out) != n)
                return errno != 0 ? errno : EIO;
            left -= n;
        }
        return 0;
    });
    std::fclose(in);
    if (written && readError != 0)
        return "reading \"" + source + "\": " + *written;
    return written;
}

}  // namespace kaldor
