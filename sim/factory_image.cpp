#include "factory_image.h"

#include <cstddef>

#include "rpm_period.h"

namespace kaldor::sim {
namespace {

struct ByteSetting {
    std::uint16_t offset;
    std::uint8_t value;
};

struct WordSetting {
    std::uint16_t index;
    std::uint16_t value;
};

// Engine, sensor and switch-over settings of a fresh controller: signal type "1", sensors of the
// standard kit, 35 degC and 1200 rpm to switch over after 2 s, 1.2 bar minimum gas pressure.
constexpr ByteSetting kByteSettings[] = {
    {20, 0},     {21, 236},   {22, 236},   {23, 35},    {24, 35},    {25, 10},
    {51, 0x5A},  {125, 0},    {126, 4},    {127, 4},    {128, 3},    {129, 6},
    {130, 0},    {131, 0},    {132, 4},    {133, 4},    {137, 216},  {138, 1},
    {139, 1},    {140, 10},   {142, 1},    {143, 1},    {145, 15},   {146, 255},
    {147, 5},    {148, 1},    {151, 50},   {158, 3},    {460, 5},    {540, 0x18},
    {541, 0x10}, {543, 0xB0}, {548, 0x0F}, {549, 0x08}, {552, 0x39}, {553, 0x06},
};

constexpr WordSetting kWordSettings[] = {
    {0, 0xAAAA},  {67, 120},   {76, 128},   {77, 1100},  {161, 130},  {162, 65496}, {168, 10},
    {169, 200},   {170, 1000}, {171, 227},  {172, 19},   {173, 909},  {174, 20},    {175, 100},
    {176, 600},   {177, 2500}, {178, 1024}, {179, 1024}, {180, 113},  {184, 1200},  {185, 100},
    {186, 1010},  {187, 98},   {188, 180},  {189, 245},  {190, 286},  {191, 25},    {193, 11363},
    {195, 11363}, {196, 50},   {197, 400},  {198, 318},  {199, 1500}, {201, 2727},  {202, 454},
    {204, 681},   {205, 50},   {206, 16},   {207, 40},   {208, 5},    {209, 4000},  {210, 5},
    {211, 4090},  {212, 400},  {213, 3500}, {216, 1782}, {219, 40},   {221, 20},    {234, 400},
    {235, 2500},  {237, 4},    {238, 10},   {357, 3},    {359, 454},  {360, 100},   {361, 40},
    {362, 2000},  {363, 1024}, {364, 1},    {367, 20},   {368, 50},   {369, 80},    {370, 0},
    {371, 10},    {372, 15},   {373, 20},
};

// Work times carried over from earlier use, in seconds: diesel in words 6-7, propane in 8-9.
constexpr std::uint32_t kDieselWorkTime = 452760;
constexpr std::uint32_t kGasWorkTime = 1186320;

// Rpm settings are kept as periods of signal type 0, the factory signal type.
constexpr unsigned kFactorySignalType = 0;
constexpr std::uint32_t kCruiseRpm = 1000;
constexpr std::uint32_t kOnRpm = 1200;
constexpr std::uint32_t kOnRpmAlt =
    1200;  // word 203, a second switch-on period the controller keeps
constexpr std::uint16_t kCruiseRpmWord = 78;
constexpr std::uint16_t kOnRpmWord = 181;
constexpr std::uint16_t kOnRpmAltWord = 203;

constexpr std::size_t kCruiseMapOffset = 100;
constexpr std::uint8_t kCruiseMap[24] = {0,  0,  5,  10, 15, 20, 22, 24, 26, 28, 30, 35,
                                         40, 45, 50, 55, 60, 65, 70, 70, 68, 65, 60, 55};

constexpr std::size_t kMainMapOffset = 167;
constexpr std::uint8_t kMainMap[16][8] = {
    {0, 10, 15, 12, 12, 12, 13, 10},  {0, 10, 15, 20, 21, 20, 15, 10},
    {0, 15, 15, 22, 25, 22, 20, 10},  {0, 20, 25, 35, 30, 24, 21, 10},
    {15, 25, 40, 45, 34, 28, 23, 10}, {25, 38, 50, 45, 35, 30, 23, 10},
    {30, 45, 68, 70, 60, 45, 23, 10}, {40, 50, 72, 85, 60, 45, 24, 10},
    {45, 75, 85, 99, 85, 60, 28, 10}, {38, 49, 75, 80, 65, 50, 27, 10},
    {30, 44, 65, 70, 58, 40, 23, 10}, {25, 40, 60, 65, 60, 45, 22, 10},
    {22, 33, 45, 56, 55, 34, 22, 10}, {18, 22, 30, 33, 35, 32, 21, 10},
    {15, 20, 22, 23, 21, 20, 20, 10}, {10, 10, 10, 10, 10, 10, 10, 10},
};

constexpr std::size_t kColumnAxisWord = 245;
constexpr std::uint32_t kColumnAxisRpm[8] = {800, 1100, 1500, 2000, 2500, 2800, 3000, 3500};
constexpr std::size_t kRowAxisWord = 253;
constexpr std::uint16_t kRowAxisMillibar[16] = {900,  1050, 1100, 1150, 1200, 1250, 1300, 1350,
                                                1400, 1500, 1600, 1700, 1800, 1900, 2000, 2100};

}  // namespace

void storeWord(ParameterImage& image, std::size_t wordIndex, std::uint16_t value) {
    if (2 * wordIndex + 1 >= image.size()) {
        return;
    }
    image[2 * wordIndex] = static_cast<std::uint8_t>(value & 0xFF);
    image[2 * wordIndex + 1] = static_cast<std::uint8_t>(value >> 8);
}

std::uint16_t loadWord(const ParameterImage& image, std::size_t wordIndex) {
    if (2 * wordIndex + 1 >= image.size()) {
        return 0;
    }
    return static_cast<std::uint16_t>(image[2 * wordIndex] | (image[2 * wordIndex + 1] << 8));
}

void storeSerialNumber(ParameterImage& image, std::uint32_t serial) {
    storeWord(image, kSerialWord, static_cast<std::uint16_t>(serial & 0xFFFF));
    storeWord(image, kSerialWord + 1, static_cast<std::uint16_t>(serial >> 16));
}

ParameterImage factoryImage() {
    ParameterImage image{};
    for (const ByteSetting& s : kByteSettings) {
        image[s.offset] = s.value;
    }
    for (const WordSetting& s : kWordSettings) {
        storeWord(image, s.index, s.value);
    }
    storeWord(image, 6, static_cast<std::uint16_t>(kDieselWorkTime & 0xFFFF));
    storeWord(image, 7, static_cast<std::uint16_t>(kDieselWorkTime >> 16));
    storeWord(image, 8, static_cast<std::uint16_t>(kGasWorkTime & 0xFFFF));
    storeWord(image, 9, static_cast<std::uint16_t>(kGasWorkTime >> 16));
    storeWord(image, kCruiseRpmWord,
              static_cast<std::uint16_t>(rpmToPeriod(kCruiseRpm, kFactorySignalType)));
    storeWord(image, kOnRpmWord,
              static_cast<std::uint16_t>(rpmToPeriod(kOnRpm, kFactorySignalType)));
    storeWord(image, kOnRpmAltWord,
              static_cast<std::uint16_t>(rpmToPeriod(kOnRpmAlt, kFactorySignalType)));
    for (std::size_t i = 0; i < sizeof kCruiseMap; ++i) {
        image[kCruiseMapOffset + i] = kCruiseMap[i];
    }
    for (std::size_t r = 0; r < 16; ++r) {
        for (std::size_t c = 0; c < 8; ++c) {
            image[kMainMapOffset + 8 * r + c] = kMainMap[r][c];
        }
    }
    for (std::size_t c = 0; c < 8; ++c) {
        storeWord(image, kColumnAxisWord + c,
                  static_cast<std::uint16_t>(rpmToPeriod(kColumnAxisRpm[c], kFactorySignalType)));
    }
    for (std::size_t r = 0; r < 16; ++r) {
        storeWord(image, kRowAxisWord + r, kRowAxisMillibar[r]);
    }
    storeSerialNumber(image, kDefaultSerialNumber);
    storeWord(image, kPinWord, 0);
    return image;
}

std::optional<std::uint16_t> packPin(const std::string& digits) {
    if (digits.size() != 4) {
        return std::nullopt;
    }
    std::uint16_t packed = 0;
    for (const char ch : digits) {
        if (ch < '0' || ch > '9') {
            return std::nullopt;
        }
        packed = static_cast<std::uint16_t>(packed * 16 + (ch - '0'));
    }
    return packed;
}

}  // namespace kaldor::sim
