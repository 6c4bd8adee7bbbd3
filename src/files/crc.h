#pragma once
// CRC-32 as zip uses it (IEEE: reflected, polynomial 0xEDB88320, started and finished with all
// ones): the check of the controller history's entry files.
#include <cstddef>
#include <cstdint>

namespace kaldor {

[[nodiscard]] std::uint32_t crc32(const std::uint8_t* data, std::size_t size);

}  // namespace kaldor
