#pragma once
// Deterministic fuzzing without a fuzzing engine: a seeded generator, random inputs and mutations
// of valid ones. Every run feeds the same inputs, so a failure reproduces; KALDOR_FUZZ_SCALE
// (a whole number, default 1) multiplies the rounds for a longer search by hand.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace kaldor::fuzz {

inline constexpr std::uint32_t kSeed = 0x4B41'4C44;

// `base` rounds times the scale.
inline std::size_t rounds(std::size_t base) {
    const char* scale = std::getenv("KALDOR_FUZZ_SCALE");
    const long factor = scale != nullptr ? std::strtol(scale, nullptr, 10) : 1;
    return base * static_cast<std::size_t>(factor > 0 ? factor : 1);
}

class Fuzzer {
public:
    explicit Fuzzer(std::uint32_t salt) : m_random(kSeed ^ salt) {}

    // Uniform in [0, n); 0 when n is 0.
    std::size_t below(std::size_t n) {
        return n == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, n - 1)(m_random);
    }
    bool chance(unsigned percent) { return below(100) < percent; }
    std::uint8_t byte() { return static_cast<std::uint8_t>(below(256)); }
    std::uint16_t word() { return static_cast<std::uint16_t>(below(65536)); }
    template <typename T>
    const T& pick(const std::vector<T>& items) {
        return items[below(items.size())];
    }

    std::string bytes(std::size_t n) {
        std::string s(n, '\0');
        for (char& c : s)
            c = static_cast<char>(byte());
        return s;
    }
    // Bytes drawn mostly from `alphabet`, sometimes any byte.
    std::string text(std::size_t n, std::string_view alphabet) {
        std::string s(n, '\0');
        for (char& c : s)
            c = chance(90) ? alphabet[below(alphabet.size())] : static_cast<char>(byte());
        return s;
    }

    // One to four edits of the kinds that break parsers: flipped bits, bytes the format gives a
    // meaning, cut or doubled ranges, inserted noise, a cut at the end.
    std::string mutate(std::string s, std::string_view special, std::size_t maxSize) {
        const std::size_t edits = 1 + below(4);
        for (std::size_t e = 0; e < edits; ++e) {
            const std::size_t at = below(s.size() + 1);
            switch (below(7)) {
                case 0:
                    if (at < s.size())
                        s[at] = static_cast<char>(s[at] ^ (1u << below(8)));
                    break;
                case 1:
                    if (at < s.size())
                        s[at] = special[below(special.size())];
                    break;
                case 2:
                    s.insert(at, 1, special[below(special.size())]);
                    break;
                case 3:
                    s.erase(at, below(16));
                    break;
                case 4:
                    s.insert(at, s.substr(below(s.size() + 1), below(64)));
                    break;
                case 5:
                    s.insert(at, bytes(below(8)));
                    break;
                default:
                    s.resize(std::min(s.size(), at));
                    break;
            }
        }
        if (s.size() > maxSize)
            s.resize(maxSize);
        return s;
    }

private:
    std::mt19937 m_random;
};

inline std::vector<std::uint8_t> asBytes(std::string_view s) {
    return std::vector<std::uint8_t>(s.begin(), s.end());
}

}  // namespace kaldor::fuzz
