#include "service/config_compare.h"

#include <algorithm>

#include "files/config_file.h"
#include "service/config_commands.h"

namespace kaldor {
namespace {

std::string unreadable(const std::string& path) {
    return "\"" + path + "\": " + std::string(kFileErrorText);
}

std::string shortFileNote(const std::string& path, std::size_t length) {
    return "\"" + path + "\" holds " + std::to_string(length) + " of " +
           std::to_string(EcuImage::kSize) + " bytes; the rest was not compared.";
}

// `base` with the file's bytes over it, as far as the file reaches.
EcuImage overlaid(const EcuImage& base, const ConfigFile& file) {
    EcuImage::Bytes bytes = base.bytes();
    std::copy_n(file.bytes.begin(), std::min(file.length, EcuImage::kSize), bytes.begin());
    EcuImage image;
    image.replace(bytes);
    return image;
}

EcuImage imageOf(const ConfigFile& file) {
    return overlaid(EcuImage(), file);
}

}  // namespace

FileComparison compareWithFile(const EcuImage& pc, const std::string& path) {
    FileComparison result;
    const std::optional<ConfigFile> file = readConfigFile(path);
    if (!file) {
        result.message = unreadable(path);
        return result;
    }
    result.diff = diffImages(pc, overlaid(pc, *file));
    if (!file->complete())
        result.message = shortFileNote(path, file->length);
    return result;
}

std::optional<FileComparison> compareWithChosenFile(const EcuImage& pc, Prompts& prompts,
                                                    const std::string& initialFolder) {
    const std::optional<FileAnswer> answer = prompts.askOpenFile(openConfigQuestion(initialFolder));
    if (!answer || answer->path.empty())
        return std::nullopt;
    return compareWithFile(pc, answer->path);
}

FileComparison compareFiles(const std::string& firstPath, const std::string& secondPath) {
    FileComparison result;
    const std::optional<ConfigFile> first = readConfigFile(firstPath);
    const std::optional<ConfigFile> second = readConfigFile(secondPath);
    if (!first || !second) {
        result.message = unreadable(!first ? firstPath : secondPath);
        return result;
    }
    // Where only one file reaches, the other takes its bytes, so the tail shows no difference.
    const EcuImage a = imageOf(*first);
    const EcuImage b = imageOf(*second);
    result.diff = first->length >= second->length ? diffImages(a, overlaid(a, *second))
                                                  : diffImages(overlaid(b, *first), b);
    if (!first->complete())
        result.message = shortFileNote(firstPath, first->length);
    else if (!second->complete())
        result.message = shortFileNote(secondPath, second->length);
    return result;
}

}  // namespace kaldor
