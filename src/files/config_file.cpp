#include "files/config_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "files/atomic_file.h"

#include "model/controller_defaults.h"
#include "model/controller_parts.h"

namespace kaldor {
namespace {

void copyFieldBytes(const EcuImage::Bytes& from, EcuImage::Bytes& to, FieldId id) {
    const FieldDef& def = fieldDef(id);
    std::copy_n(from.begin() + def.offset, def.byteLength(), to.begin() + def.offset);
}

void zeroField(EcuImage& image, FieldId id) {
    const FieldDef& def = fieldDef(id);
    for (std::size_t i = 0; i < def.byteLength(); ++i)
        image.setByte(def.offset + i, 0);
}

bool endsWithNoCase(std::string_view s, std::string_view tail) {
    if (s.size() < tail.size())
        return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < tail.size(); ++i)
        if (lower(s[s.size() - tail.size() + i]) != lower(tail[i]))
            return false;
    return true;
}

constexpr std::array<FieldElement, kMapLoadWriteCount> buildMapLoadWrites() {
    std::array<FieldElement, kMapLoadWriteCount> w{};
    std::size_t n = 0;
    constexpr std::uint16_t kRows = 16;
    constexpr std::uint16_t kColumns = 8;
    for (std::uint16_t column = 0; column < kColumns; ++column)
        for (std::uint16_t row = 0; row < kRows; ++row)
            w[n++] = {FieldId::MainMap, static_cast<std::uint16_t>(column + kColumns * row)};
    for (std::uint16_t i = 0; i < kColumns; ++i)
        w[n++] = {FieldId::MainMapColumnAxis, i};
    for (std::uint16_t i = 0; i < kRows; ++i)
        w[n++] = {FieldId::MainMapRowAxis, i};
    for (std::uint16_t i = 0; i < 24; ++i)
        w[n++] = {FieldId::CruiseMap, i};
    w[n++] = {FieldId::MainMapType, 0};
    w[n++] = {FieldId::RpmSignalType, 0};
    return w;
}

constexpr std::array<FieldElement, kMapLoadWriteCount> kMapLoadWrites = buildMapLoadWrites();

}  // namespace

std::optional<ConfigFile> readConfigFile(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return std::nullopt;
    ConfigFile file;
    // A folder opens for reading too, but holds no configuration.
    struct stat st {};
    bool ok = ::fstat(fileno(f), &st) == 0 && S_ISREG(st.st_mode);
    ok = ok && std::fseek(f, 0, SEEK_END) == 0;
    const long size = ok ? std::ftell(f) : -1;
    ok = ok && size >= 0 && std::fseek(f, 0, SEEK_SET) == 0;
    if (ok) {
        file.size = static_cast<std::uintmax_t>(size);
        file.length = std::min(static_cast<std::size_t>(size), EcuImage::kSize);
        ok = std::fread(file.bytes.data(), 1, file.length, f) == file.length;
    }
    ok = std::fclose(f) == 0 && ok;
    if (!ok)
        return std::nullopt;
    return file;
}

std::string wrongSizeMessage(const std::string& path, std::uintmax_t size) {
    return "\"" + path + "\" is not a configuration file: it holds " + std::to_string(size) +
           (size == 1 ? " byte" : " bytes") + ", a configuration file exactly " +
           std::to_string(EcuImage::kSize) + ". Nothing was taken from it.";
}

EcuImage::Bytes savedConfigBytes(const EcuImage& image) {
    EcuImage copy = image;
    storeField(copy, FieldId::ControllerPin, 0);
    return copy.bytes();
}

std::string writeConfigFile(const std::string& path, const EcuImage& image) {
    const EcuImage::Bytes bytes = savedConfigBytes(image);
    const std::string_view content(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (const auto reason = writeFileAtomically(path, content))
        return "Can't save " + path + ": " + *reason;
    return {};
}

std::string withExtension(const std::string& path, std::string_view extension) {
    const std::string dotted = "." + std::string(extension);
    if (endsWithNoCase(path, dotted))
        return path;
    // A dot inside a name ("Ducato 2.3 JTD") starts no extension of ours; a dot that ends the
    // name is dropped, so "car." becomes "car.kcfg" rather than "car..kcfg".
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::string named = path;
    if (!named.empty() && named.back() == '.' && named.size() > nameStart + 1)
        named.pop_back();
    return named + dotted;
}

std::string withConfigExtension(const std::string& path) {
    if (endsWithNoCase(path, "." + std::string(kOlderConfigExtension)))
        return path;
    return withExtension(path, kConfigExtension);
}

bool ensureFolder(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (fs::exists(folder, error))
        return fs::is_directory(folder, error);
    return fs::create_directory(folder, error);
}

void ClearRevision3Features(EcuImage& image) {
    // Word 273 goes to 0 whole: the correction map switches and both emulator switches.
    image.setWord(fieldDef(FieldId::CorrectionMapEnable).wordIndex(), 0);
    zeroField(image, FieldId::CorrectionMaps);
    zeroField(image, FieldId::CruiseMap);
    storeField(image, FieldId::DoubleInjectionTime, 0);
    storeField(image, FieldId::CdiEmulatorType, 0);
    for (const FieldDefault& v : kCdiDefaults)
        storeField(image, v.id, v.value);
}

void loadKeepingControllerParts(EcuImage& image, const ConfigFile& file,
                                std::uint16_t controllerPin) {
    const EcuImage before = image;
    EcuImage::Bytes after = before.bytes();
    const std::size_t length = std::min(file.length, EcuImage::kSize);
    std::copy_n(file.bytes.begin(), length, after.begin());
    image.replace(after);
    restoreControllerParts(image, before, controllerPin);
}

void copyMapPart(const EcuImage::Bytes& source, EcuImage& image) {
    EcuImage::Bytes bytes = image.bytes();
    for (FieldId id : kMapPartFields)
        copyFieldBytes(source, bytes, id);
    image.replace(bytes);
}

const std::array<FieldElement, kMapLoadWriteCount>& mapLoadWrites() {
    return kMapLoadWrites;
}

bool LoadMapBuffer::take(const ConfigFile& file) {
    if (!file.complete())
        return false;
    m_bytes = file.bytes;
    return true;
}

}  // namespace kaldor
