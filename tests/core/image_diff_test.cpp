#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "files/config_file.h"
#include "model/codec.h"
#include "model/units.h"
#include "service/config_compare.h"
#include "service/image_diff.h"
#include "support/temp_folder.h"

using namespace kaldor;
namespace fs = std::filesystem;

namespace {

std::string sendsText(const std::vector<SentLocation>& sends) {
    std::string s;
    for (const SentLocation& l : sends)
        s += (s.empty() ? "" : ", ") + std::string(l.as == SendAs::Word ? "word " : "byte ") +
             std::to_string(l.at);
    return s;
}

std::string line(const Difference& d) {
    return d.name + ": " + d.first + " | " + d.second + " -> " + sendsText(d.sends);
}

// The PC image of the cases: rpm signal type "4", map type VACUM/RPM, a few settings.
EcuImage baseImage() {
    EcuImage image;
    storeField(image, FieldId::RpmSignalType, 3);
    storeField(image, FieldId::MainMapType, 1);
    storeField(image, FieldId::MinSystemPressure, 1500);
    storeField(image, FieldId::OnRpmPeriod, RpmToPeriod(1200, 3));
    storeField(image, FieldId::CruiseMode, 2);
    storeField(image, FieldId::MainMapColumnAxis, RpmToPeriod(2000, 3), 2);
    storeField(image, FieldId::MainMapRowAxis, 500, 2);
    return image;
}

struct DiffCase {
    const char* what;
    std::function<void(EcuImage&)> change;  // made to the second image
    std::string expected;                   // the one entry
};

// One change, one entry: named, shown in the page's units, with the write that makes the second
// image's holder equal the first.
TEST(ImageDiff, OneChangeGivesOneEntryInThePagesUnits) {
    const std::vector<DiffCase> cases = {
        {"bit field by its own bits, a list item by its text",
         [](EcuImage& i) { storeField(i, FieldId::CruiseMode, 3); },
         "adjustment / cruise control: cruise rpm | cruise boost+rpm -> word 275"},
        {"map cell by its axis values",
         [](EcuImage& i) { storeField(i, FieldId::MainMap, 77, 8 * 2 + 2); },
         "main map 0.5 bar x 2000 rpm: 0 | 77 -> byte 185"},
        {"millibar in bar as the editor rounds it, told apart by the raw values",
         [](EcuImage& i) { storeField(i, FieldId::MinSystemPressure, 1499); },
         "parameters / minimum pressure [bar]: 1.5 bar (raw 1500) | 1.5 bar (raw 1499) -> word "
         "184"},
        {"two periods of one rpm tell their raw values",
         [](EcuImage& i) { storeField(i, FieldId::OnRpmPeriod, RpmToPeriod(1200, 3) + 1); },
         "parameters / switch-on rpm: 1200 rpm (raw 5760) | 1200 rpm (raw 5761) -> word 181"},
        {"axis by the map type",
         [](EcuImage& i) { storeField(i, FieldId::MainMapColumnAxis, RpmToPeriod(2500, 3), 2); },
         "main map column axis 3: 2000 rpm | 2500 rpm -> word 247"},
        {"correction cell signed",
         [](EcuImage& i) { storeField(i, FieldId::CorrectionMaps, 0xFB, 26); },
         "correction maps [%] AirFlow cor. 0.50: 0 % | -5 % -> byte 580"},
        {"emulator table row K2 signed",
         [](EcuImage& i) { storeField(i, FieldId::StepEmulatorTable, 0xEC, 23); },
         "Step map K2 x 200: 0 % | -20 % -> byte 50"},
        {"byte 460 goes as a byte", [](EcuImage& i) { storeField(i, FieldId::FreqFullGrid, 1); },
         "EMU / DO NOT MODIFY / frequency grid: SQ | FL -> byte 460"},
        {"unnamed byte by offset, sent as its word", [](EcuImage& i) { i.setByte(124, 5); },
         "byte 124: 0 | 5 -> word 62"},
        {"unnamed bits beside named ones", [](EcuImage& i) { i.setBits(540, 3, 1, 1); },
         "byte 540: 000.0.00 | 000.1.00 -> word 270"},
        {"a mask shown box by box: the boxes ticked",
         [](EcuImage& i) { storeField(i, FieldId::EnabledErrors, 0b1001); },
         "advanced / Enabled Errors: none | Tr, Pres -> word 276"},
        {"the correction maps switched on, by the captions beside their grids",
         [](EcuImage& i) { storeField(i, FieldId::CorrectionMapEnable, 0b11); },
         "advanced / correction maps: none | [%] EGT cor., [%] AirFlow cor. -> word 273"},
        {"work time with no editor: its differing word",
         [](EcuImage& i) { storeField(i, FieldId::GasWorkTime, 0x10000); },
         "GasWorkTime: 0 | 65536 -> word 9"},
    };
    const EcuImage pc = baseImage();
    for (const DiffCase& c : cases) {
        SCOPED_TRACE(c.what);
        EcuImage other = pc;
        c.change(other);
        const ImageDiff diff = diffImages(pc, other);
        ASSERT_EQ(diff.entries.size(), 1u) << diffText(diff, "PC", "other");
        EXPECT_EQ(line(diff.entries[0]), c.expected);
        EXPECT_TRUE(diff.controllerOwned.empty());
    }
}

TEST(ImageDiff, ControllerLocationsAreListedApartAndNeverWritten) {
    EcuImage pc = baseImage();
    storeField(pc, FieldId::ControllerPin, 0x1234);
    EcuImage ecu = pc;
    storeField(ecu, FieldId::ControllerSerialNumber, 0x89ABCDEF);
    storeField(ecu, FieldId::ControllerPin, 0x4321);
    storeField(ecu, FieldId::ReservedTail, 1, 5);
    storeField(ecu, FieldId::ReservedByte51, 1);
    const ImageDiff diff = diffImages(pc, ecu);
    EXPECT_TRUE(diff.writableMatch());
    std::vector<std::string> owned;
    for (const Difference& d : diff.controllerOwned) {
        EXPECT_TRUE(d.sends.empty());
        owned.push_back(d.name + ": " + d.first + " | " + d.second);
    }
    // The PIN tells only that it differs, never its digits.
    EXPECT_EQ(owned, (std::vector<std::string>{
                         "ReservedByte51: 0 | 1", "ControllerSerialNumber: 0 | 2309737967",
                         "ControllerPin: set | set, another PIN", "ReservedTail word 380: 0 | 1"}));
    EXPECT_TRUE(writesToMatch(diff).empty());
}

// Every location differs: each named element is one entry, no write reaches a location of the
// controller, and a byte inside a word that goes out anyway is not sent again.
TEST(ImageDiff, EverythingDifferentWritesNoControllerLocationAndNoByteTwice) {
    EcuImage ones;
    ones.replace([] {
        EcuImage::Bytes b;
        b.fill(0xFF);
        return b;
    }());
    const ImageDiff diff = diffImages(EcuImage(), ones);
    EXPECT_EQ(diff.controllerOwned.size(), 1u + 1u + 1u + 9u);
    const std::vector<SentLocation> writes = writesToMatch(diff);
    std::vector<bool> wordSent(EcuImage::kWords, false);
    for (const SentLocation& w : writes) {
        if (w.as == SendAs::Word) {
            EXPECT_FALSE(isControllerOwnedByte(2u * w.at) || isControllerOwnedByte(2u * w.at + 1))
                << "word " << w.at;
            wordSent[w.at] = true;
        } else {
            EXPECT_FALSE(isControllerOwnedByte(w.at)) << "byte " << w.at;
        }
    }
    for (const SentLocation& w : writes) {
        if (w.as == SendAs::Byte) {
            EXPECT_FALSE(wordSent[w.at / 2]) << "byte " << w.at;
        }
    }
    // The two bit fields and the unnamed bits of byte 551 go out as word 275, once.
    EXPECT_EQ(std::count(writes.begin(), writes.end(), SentLocation{SendAs::Word, 275}), 1);
    EXPECT_TRUE(std::is_sorted(writes.begin(), writes.end(), [](const auto& a, const auto& b) {
        return (a.as == SendAs::Word ? 2 * a.at : a.at) < (b.as == SendAs::Word ? 2 * b.at : b.at);
    }));
}

TEST(ConfigCompare, TwoSavedFilesAndTheImageAgainstAFile) {
    const test::TempFolder folder("diff");
    const fs::path& dir = folder.path();
    EcuImage a = baseImage();
    storeField(a, FieldId::ControllerSerialNumber, 1111);
    EcuImage b = a;
    storeField(b, FieldId::WorkingPressure, 1200);
    storeField(b, FieldId::MainMap, 40, 8 * 2 + 2);
    storeField(b, FieldId::ControllerSerialNumber, 2222);
    ASSERT_EQ(writeConfigFile((dir / "a.kcfg").string(), a), "");
    ASSERT_EQ(writeConfigFile((dir / "b.kcfg").string(), b), "");

    const FileComparison files = compareFiles((dir / "a.kcfg").string(), (dir / "b.kcfg").string());
    ASSERT_TRUE(files.diff);
    EXPECT_EQ(files.message, "");
    EXPECT_EQ(diffText(*files.diff, "a.kcfg", "b.kcfg"),
              "field: a.kcfg | b.kcfg\n"
              "main map 0.5 bar x 2000 rpm: 0 | 40\n"
              "adjustment / work pressure: 0.0 bar | 1.2 bar\n"
              "Kept by the ECU, never written:\n"
              "ControllerSerialNumber: 1111 | 2222\n");

    // A file of any other size is no configuration: refused by name and size, as a load refuses
    // it, whichever side it is on.
    for (const std::size_t size : {400u, 769u}) {
        SCOPED_TRACE(size);
        const std::string odd = (dir / "odd.kcfg").string();
        std::ofstream(odd, std::ios::binary | std::ios::trunc) << std::string(size, '\x01');
        for (const FileComparison& refused :
             {compareWithFile(a, odd), compareFiles(odd, (dir / "a.kcfg").string()),
              compareFiles((dir / "a.kcfg").string(), odd)}) {
            EXPECT_FALSE(refused.diff);
            EXPECT_EQ(refused.message, wrongSizeMessage(odd, size));
        }
    }

    const FileComparison missing = compareWithFile(a, (dir / "none.kcfg").string());
    EXPECT_FALSE(missing.diff);
    EXPECT_NE(missing.message.find("none.kcfg"), std::string::npos);
}

}  // namespace
