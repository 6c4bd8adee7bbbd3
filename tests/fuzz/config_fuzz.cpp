// Configuration files of any size and content: empty, short, exactly 768 bytes, longer, random,
// a folder in place of a file. Outcome: a file is read as its first min(size, 768) bytes with the
// rest zero; a full load takes those bytes except the controller's own parts and PIN; a map load
// takes complete files only; a save leaves the whole file or the old one, never a part.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "files/config_file.h"
#include "fuzz/fuzz_support.h"
#include "model/fields.h"
#include "support/temp_folder.h"

using namespace kaldor;
using namespace kaldor::fuzz;

namespace {

// Byte offsets a full load keeps from the connected controller (serial number, byte 51, the
// tail) and the PIN word, which becomes the controller's PIN.
std::set<std::size_t> controllerOwned() {
    std::set<std::size_t> owned;
    for (const FieldId id : {FieldId::ControllerSerialNumber, FieldId::ReservedByte51,
                             FieldId::ReservedTail, FieldId::ControllerPin}) {
        const FieldDef& def = fieldDef(id);
        for (std::size_t b = 0; b < def.byteLength(); ++b)
            owned.insert(def.offset + b);
    }
    return owned;
}

EcuImage randomImage(Fuzzer& f) {
    EcuImage image;
    for (std::size_t b = 0; b < EcuImage::kSize; ++b)
        image.setByte(b, f.byte());
    return image;
}

std::size_t fileSize(Fuzzer& f) {
    static const std::vector<std::size_t> kEdges{0, 1, 767, 768, 769, 1536};
    return f.chance(40) ? f.pick(kEdges) : f.below(2000);
}

}  // namespace

TEST(ConfigFuzz, FilesOfAnySizeLoadAsTheirFirst768BytesAndKeepTheControllersParts) {
    Fuzzer f(51);
    const std::set<std::size_t> owned = controllerOwned();
    const test::TempFolder folder("configfuzz");
    const std::string path = (folder.path() / "car.kcfg").string();
    LoadMapBuffer maps;
    for (std::size_t i = 0; i < rounds(200); ++i) {
        const std::string content = f.bytes(fileSize(f));
        std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
        const std::optional<ConfigFile> file = readConfigFile(path);
        ASSERT_TRUE(file.has_value()) << i;
        const std::size_t length = std::min(content.size(), EcuImage::kSize);
        ASSERT_EQ(file->length, length) << i;
        ASSERT_EQ(file->complete(), content.size() == EcuImage::kSize) << i;
        for (std::size_t b = 0; b < EcuImage::kSize; ++b)
            ASSERT_EQ(file->bytes[b], b < length ? static_cast<std::uint8_t>(content[b]) : 0) << i;

        const EcuImage before = randomImage(f);
        EcuImage image = before;
        const std::uint16_t pin = f.word();
        loadKeepingControllerParts(image, *file, pin);
        ASSERT_EQ(readField(image, FieldId::ControllerPin), pin) << i;
        const std::size_t pinAt = fieldDef(FieldId::ControllerPin).offset;
        for (std::size_t b = 0; b < EcuImage::kSize; ++b) {
            if (owned.count(b) == 0) {
                ASSERT_EQ(image.byte(b), b < length ? file->bytes[b] : before.byte(b)) << i;
            } else if (b != pinAt && b != pinAt + 1) {
                ASSERT_EQ(image.byte(b), before.byte(b)) << i;
            }
        }

        const EcuImage::Bytes kept = maps.bytes();
        ASSERT_EQ(maps.take(*file), file->complete()) << i;
        ASSERT_EQ(maps.bytes(), file->complete() ? file->bytes : kept) << i;
    }
    // A folder opens on some systems but is no configuration.
    std::filesystem::create_directory(folder.path() / "folder.kcfg");
    EXPECT_FALSE(readConfigFile((folder.path() / "folder.kcfg").string()).has_value());
    EXPECT_FALSE(readConfigFile((folder.path() / "missing.kcfg").string()).has_value());
}

TEST(ConfigFuzz, SavesLeaveTheWholeFileOrTheOldOne) {
    Fuzzer f(52);
    const test::TempFolder folder("configsave");
    const std::string path = (folder.path() / "car.kcfg").string();
    for (std::size_t i = 0; i < rounds(40); ++i) {
        const EcuImage image = randomImage(f);
        ASSERT_EQ(writeConfigFile(path, image), "") << i;
        const std::optional<ConfigFile> back = readConfigFile(path);
        ASSERT_TRUE(back && back->complete()) << i;
        ASSERT_EQ(back->bytes, savedConfigBytes(image)) << i;
        EcuImage saved;
        saved.replace(back->bytes);
        ASSERT_EQ(readField(saved, FieldId::ControllerPin), 0u) << i;  // a file unlocks nothing
        ASSERT_FALSE(std::filesystem::exists(path + ".tmp")) << i;
    }
    // Into a folder that is not there: a message naming the file, and nothing written.
    const std::string lost = (folder.path() / "missing" / "car.kcfg").string();
    EXPECT_NE(writeConfigFile(lost, EcuImage()).find(lost), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "missing"));
}
