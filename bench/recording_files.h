#pragma once
// Recordings for the log viewer's measurements, written as the data logger writes "demo.log":
// a drive in which the words the live signal table names move like an engine's (random walks
// through four- and five-digit numbers) and the rest stay 0, as they do in a real recording,
// or one in which every word moves. 288,000 records are eight hours; the drive is about 100 MB.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "live/live_signals.h"

namespace kaldor::bench {

inline constexpr std::size_t kEightHours = 288000;
inline constexpr std::size_t kOneHour = 36000;

enum class Words { OfTheTable, Every };

// Writes the file once per run and names it; the folder is the system's temporary folder.
inline std::string recordingFile(std::size_t records, Words words) {
    const std::string name = "kaldor-bench-" + std::to_string(records) +
                             (words == Words::Every ? "-every" : "-drive") + ".log";
    const std::filesystem::path path = std::filesystem::temp_directory_path() / name;
    if (std::filesystem::exists(path))
        return path.string();
    std::vector<bool> moving(96, words == Words::Every);
    for (const LiveSignalDef& d : liveSignals()) {
        moving[d.word] = true;
        if (d.raw == LiveRawType::U32)
            moving[d.word + 1u] = true;
    }
    std::mt19937 random(2024);
    std::vector<int> value(96, 0);
    for (std::size_t w = 0; w < value.size(); ++w)
        value[w] = moving[w] ? 1000 + static_cast<int>(random() % 30000) : 0;
    const std::string partial = path.string() + ".part";
    std::FILE* f = std::fopen(partial.c_str(), "wb");
    if (f == nullptr)
        return {};
    std::string line;
    for (std::size_t r = 0; r < records; ++r) {
        line.clear();
        for (std::size_t w = 0; w < value.size(); ++w) {
            if (moving[w])
                value[w] = std::clamp(value[w] + static_cast<int>(random() % 401) - 200, 1000,
                                      words == Words::Every ? 9999 : 40000);
            line += std::to_string(value[w]);
            line += ',';
        }
        line += '\n';
        std::fwrite(line.data(), 1, line.size(), f);
    }
    std::fclose(f);
    std::filesystem::rename(partial, path);
    return path.string();
}

}  // namespace kaldor::bench
