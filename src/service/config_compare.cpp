#include "service/config_compare.h"

#include "files/config_file.h"
#include "service/config_commands.h"

namespace kaldor {
namespace {

std::string unreadable(const std::string& path) {
    return "\"" + path + "\": " + std::string(kFileErrorText);
}

EcuImage imageOf(const ConfigFile& file) {
    EcuImage image;
    image.replace(file.bytes);
    return image;
}

// The file, or why it can not be compared: unreadable, or not exactly 768 bytes.
std::optional<ConfigFile> comparable(const std::string& path, std::string& why) {
    std::optional<ConfigFile> file = readConfigFile(path);
    if (!file)
        why = unreadable(path);
    else if (!file->complete())
        why = wrongSizeMessage(path, file->size);
    else
        return file;
    return std::nullopt;
}

}  // namespace

FileComparison compareWithFile(const EcuImage& pc, const std::string& path,
                               const SetupTexts& texts) {
    FileComparison result;
    if (const std::optional<ConfigFile> file = comparable(path, result.message))
        result.diff = diffImages(pc, imageOf(*file), texts);
    return result;
}

std::optional<FileComparison> compareWithChosenFile(const EcuImage& pc, Prompts& prompts,
                                                    const std::string& initialFolder) {
    const std::optional<FileAnswer> answer = prompts.askOpenFile(openConfigQuestion(initialFolder));
    if (!answer || answer->path.empty())
        return std::nullopt;
    return compareWithFile(pc, answer->path);
}

FileComparison compareFiles(const std::string& firstPath, const std::string& secondPath,
                            const SetupTexts& texts) {
    FileComparison result;
    const std::optional<ConfigFile> first = comparable(firstPath, result.message);
    if (!first)
        return result;
    if (const std::optional<ConfigFile> second = comparable(secondPath, result.message))
        result.diff = diffImages(imageOf(*first), imageOf(*second), texts);
    return result;
}

}  // namespace kaldor
