#include "model/ecu_image.h"

namespace kaldor {
namespace {
unsigned fieldMask(unsigned firstBit, unsigned width) {
    if (firstBit >= 8 || width == 0)
        return 0;
    if (firstBit + width > 8)
        width = 8 - firstBit;
    return ((1u << width) - 1u) << firstBit;
}
}  // namespace

std::uint8_t EcuImage::byte(std::size_t offset) const {
    return offset < kSize ? m_bytes[offset] : 0;
}

void EcuImage::setByte(std::size_t offset, std::uint8_t value) {
    if (offset < kSize)
        m_bytes[offset] = value;
}

std::uint16_t EcuImage::word(std::size_t index) const {
    if (index >= kWords)
        return 0;
    return static_cast<std::uint16_t>(m_bytes[2 * index] | (m_bytes[2 * index + 1] << 8));
}

void EcuImage::setWord(std::size_t index, std::uint16_t value) {
    if (index >= kWords)
        return;
    m_bytes[2 * index] = static_cast<std::uint8_t>(value & 0xFF);
    m_bytes[2 * index + 1] = static_cast<std::uint8_t>(value >> 8);
}

std::uint32_t EcuImage::dword(std::size_t index) const {
    if (index + 1 >= kWords)
        return 0;
    return static_cast<std::uint32_t>(word(index)) |
           (static_cast<std::uint32_t>(word(index + 1)) << 16);
}

void EcuImage::setDword(std::size_t index, std::uint32_t value) {
    if (index + 1 >= kWords)
        return;
    setWord(index, static_cast<std::uint16_t>(value & 0xFFFF));
    setWord(index + 1, static_cast<std::uint16_t>(value >> 16));
}

unsigned EcuImage::bits(std::size_t offset, unsigned firstBit, unsigned width) const {
    const unsigned mask = fieldMask(firstBit, width);
    return (byte(offset) & mask) >> (firstBit < 8 ? firstBit : 0);
}

void EcuImage::setBits(std::size_t offset, unsigned firstBit, unsigned width, unsigned value) {
    const unsigned mask = fieldMask(firstBit, width);
    if (mask == 0 || offset >= kSize)
        return;
    const unsigned merged = (m_bytes[offset] & ~mask) | ((value << firstBit) & mask);
    m_bytes[offset] = static_cast<std::uint8_t>(merged);
}

}  // namespace kaldor
