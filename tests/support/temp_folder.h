#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it at the end
// of the scope. Plain std::filesystem, so the core tests build on every platform the core does.
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <system_error>

namespace kaldor::test {

// A new, empty folder "kaldor-<prefix>-<random>" in the system's temporary folder; the caller
// removes it.
inline std::filesystem::path makeTempFolder(const std::string& prefix) {
    std::random_device seed;
    std::mt19937 random(seed());
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path candidate =
            base / ("kaldor-" + prefix + "-" + std::to_string(random()));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error))
            return candidate;
    }
    throw std::runtime_error("no temporary folder");
}

class TempFolder {
public:
    explicit TempFolder(const std::string& prefix) : m_path(makeTempFolder(prefix)) {}
    ~TempFolder() {
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const { return m_path; }
    [[nodiscard]] std::string string() const { return m_path.string(); }

private:
    std::filesystem::path m_path;
};

}  // namespace kaldor::test
