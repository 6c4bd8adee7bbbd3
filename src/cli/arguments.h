#pragma once
// The words after the command name: options ("--port 3", "--port=3", "-o FILE"), flags
// ("--json") and positional words, each command naming the options it takes. Anything else is
// bad usage, reported by a message instead of being guessed at.
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace kaldor::cli {

struct OptionSpec {
    std::string_view name;  // "--port", "-o"
    bool takesValue;
};

class Arguments {
public:
    [[nodiscard]] bool has(std::string_view name) const;
    [[nodiscard]] std::optional<std::string> value(std::string_view name) const;
    [[nodiscard]] const std::vector<std::string>& positional() const { return m_positional; }

private:
    friend struct ArgumentParser;
    std::set<std::string, std::less<>> m_flags;
    std::map<std::string, std::string, std::less<>> m_values;
    std::vector<std::string> m_positional;
};

struct ParsedArguments {
    Arguments arguments;
    std::string error;  // empty when the words made sense
};

// `words` are those after the command. "--" ends the options; every later word is positional.
// A word "-" alone is positional (standard input or output where a command allows it).
[[nodiscard]] ParsedArguments parseArguments(const std::vector<std::string>& words,
                                             const std::vector<OptionSpec>& specs);

// A port number 1..16, or nothing.
[[nodiscard]] std::optional<int> parsePortNumber(std::string_view text);
// A whole decimal number in [low, high], or nothing.
[[nodiscard]] std::optional<int> parseNumberIn(std::string_view text, int low, int high);

}  // namespace kaldor::cli
