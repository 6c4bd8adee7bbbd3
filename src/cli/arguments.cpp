#include "cli/arguments.h"

#include <algorithm>

#include "link/connection_scan.h"

namespace kaldor::cli {

bool Arguments::has(std::string_view name) const {
    return m_flags.find(name) != m_flags.end() || m_values.find(name) != m_values.end();
}

std::optional<std::string> Arguments::value(std::string_view name) const {
    const auto it = m_values.find(name);
    if (it == m_values.end())
        return std::nullopt;
    return it->second;
}

struct ArgumentParser {
    static ParsedArguments parse(const std::vector<std::string>& words,
                                 const std::vector<OptionSpec>& options) {
        ParsedArguments result;
        Arguments& args = result.arguments;
        bool optionsEnded = false;
        for (std::size_t i = 0; i < words.size(); ++i) {
            const std::string& word = words[i];
            if (optionsEnded || word.size() < 2 || word[0] != '-') {
                args.m_positional.push_back(word);
                continue;
            }
            if (word == "--") {
                optionsEnded = true;
                continue;
            }
            const std::size_t equals = word.find('=');
            const std::string name = word.substr(0, equals);
            const auto option = std::find_if(options.begin(), options.end(),
                                             [&](const OptionSpec& s) { return s.name == name; });
            if (option == options.end()) {
                result.error = "unknown option " + name;
                return result;
            }
            if (args.has(name)) {
                result.error = name + " given twice";
                return result;
            }
            if (!option->takesValue) {
                if (equals != std::string::npos) {
                    result.error = name + " takes no value";
                    return result;
                }
                args.m_flags.insert(name);
                continue;
            }
            if (equals != std::string::npos) {
                args.m_values[name] = word.substr(equals + 1);
            } else if (i + 1 < words.size()) {
                args.m_values[name] = words[++i];
            } else {
                result.error = name + " needs a value";
                return result;
            }
        }
        return result;
    }
};

ParsedArguments parseArguments(const std::vector<std::string>& words,
                               const std::vector<OptionSpec>& options) {
    return ArgumentParser::parse(words, options);
}

std::optional<int> parseNumberIn(std::string_view text, int low, int high) {
    // A few digits at most: nothing a port, a type or a PIN needs can overflow.
    constexpr std::size_t kMaxDigits = 6;
    if (text.empty() || text.size() > kMaxDigits)
        return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

std::optional<int> parsePortNumber(std::string_view text) {
    return parseNumberIn(text, kFirstPort, kLastPort);
}

}  // namespace kaldor::cli
