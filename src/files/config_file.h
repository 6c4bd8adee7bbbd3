#pragma once
// Configuration files: the 768 bytes of the parameter image in memory order, nothing before or
// after, words little-endian. A file is told apart from an older one only by its name pattern.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/ecu_image.h"
#include "model/fields.h"

namespace kaldor {

inline constexpr std::string_view kConfigPattern = "*.kcfg";
inline constexpr std::string_view kOlderConfigPattern = "*.mqsetD";
inline constexpr std::string_view kConfigExtension = "kcfg";
inline constexpr std::string_view kOlderConfigExtension = "mqsetD";
inline constexpr std::string_view kConfigurationFolderName = "parametry";
inline constexpr std::string_view kFileErrorTitle = "File Error";
inline constexpr std::string_view kFileErrorText =
    "Can't perform one of the following file operations: Open, Seek, Read, Close.";

// What a file supplied: its first min(size, 768) bytes; the rest of `bytes` is zero.
struct ConfigFile {
    EcuImage::Bytes bytes{};
    std::size_t length = 0;   // bytes read: min(size, 768)
    std::uintmax_t size = 0;  // the file's size

    // Only a file of exactly the image's size is a configuration; anything else (a short file,
    // a text file) is refused before it reaches the image or the controller.
    [[nodiscard]] bool complete() const { return size == EcuImage::kSize; }
};

// Nothing when the file can not be opened, measured or read. Bytes past 768 are not read.
[[nodiscard]] std::optional<ConfigFile> readConfigFile(const std::string& path);

// Why a file that is not exactly 768 bytes is refused: its name and its size.
[[nodiscard]] std::string wrongSizeMessage(const std::string& path, std::uintmax_t size);

// The bytes a saved file holds: the image without its PIN, so a file never unlocks anything.
[[nodiscard]] EcuImage::Bytes savedConfigBytes(const EcuImage& image);

// Writes a temporary file beside `path` and renames it over `path`, so the file is complete or
// absent. Empty on success, otherwise a message naming the file and the reason; no temporary
// file is left behind.
[[nodiscard]] std::string writeConfigFile(const std::string& path, const EcuImage& image);

// `path` with ".extension" added unless its name already ends in it (any case), so the open
// dialog's filter shows the file again; a dot inside the name does not count as an extension.
[[nodiscard]] std::string withExtension(const std::string& path, std::string_view extension);
// A name that ends in neither ".kcfg" nor ".mqsetD" gets ".kcfg".
[[nodiscard]] std::string withConfigExtension(const std::string& path);

// Creates `folder` when it does not exist; false when it is still missing afterwards.
bool ensureFolder(const std::string& folder);

// The features that controllers below software revision 3 lack: cleared, or set to the values
// such a controller works with. The image only; nothing is sent.
void ClearRevision3Features(EcuImage& image);

// The full load: the file's bytes over the image, except the parts that belong to the connected
// controller (serial number, reserved byte 51 and tail), which stay as the image holds them.
// The PIN becomes `controllerPin`, the PIN the controller holds, so the load does not clear it.
void loadKeepingControllerParts(EcuImage& image, const ConfigFile& file,
                                std::uint16_t controllerPin);

// The map part, in the order it is copied: type, map, axes, cruise map, rpm signal type (needed
// to read the column axis in rpm).
inline constexpr std::array<FieldId, 6> kMapPartFields{{
    FieldId::MainMapType,
    FieldId::MainMap,
    FieldId::MainMapColumnAxis,
    FieldId::MainMapRowAxis,
    FieldId::CruiseMap,
    FieldId::RpmSignalType,
}};

void copyMapPart(const EcuImage::Bytes& source, EcuImage& image);

// One element of a field, as a map load sends it.
struct FieldElement {
    FieldId id;
    std::uint16_t element;
};

// The writes of a map load, in order: the cells column by column (rows 0..15 of column 0 first),
// the 24 axis words, the 24 cruise cells, the map type, the rpm signal type.
inline constexpr std::size_t kMapLoadWriteCount = 178;
[[nodiscard]] const std::array<FieldElement, kMapLoadWriteCount>& mapLoadWrites();

// The image-sized buffer a map load reads its file into; it keeps the last map file's bytes.
// Only a complete file is taken, so a short file never supplies another file's leftovers.
class LoadMapBuffer {
public:
    [[nodiscard]] bool take(const ConfigFile& file);
    [[nodiscard]] const EcuImage::Bytes& bytes() const { return m_bytes; }

private:
    EcuImage::Bytes m_bytes{};
};

}  // namespace kaldor
