#pragma once
// The small flag pictures of the language menu, painted by the program itself.
#include <QIcon>

#include <cstdint>

namespace kaldor {

// The flag of a language code (a menu language's code); an empty icon for any other code.
[[nodiscard]] QIcon languageFlag(std::uint8_t code);

}  // namespace kaldor
