#include "live/demo_log_reader.h"

#include <utility>

namespace kaldor {
namespace {

constexpr std::uint32_t kMaxWord = 65535;
constexpr std::size_t kMaxDigits = 5;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

DemoLogReader::DemoLogReader(DemoLogMode mode, Slots first, SlotSink sink, std::size_t maxLineBytes)
    : m_mode(mode), m_sink(std::move(sink)), m_maxLineBytes(maxLineBytes), m_slots(first) {}

DemoLogReader::DemoLogReader(DemoLogMode mode, RecordSink sink, std::size_t maxLineBytes)
    : DemoLogReader(
          mode, Slots{m_words.data(), 1},
          [this, sink = std::move(sink)] {
              return sink(m_words) ? Slots{m_words.data(), 1} : Slots{};
          },
          maxLineBytes) {}

bool DemoLogReader::feed(const char* data, std::size_t size) {
    if (m_ended)
        return false;
    m_ended = !(m_mode == DemoLogMode::Strict ? feedStrict(data, size) : feedLenient(data, size));
    return !m_ended;
}

bool DemoLogReader::finish() {
    if (m_ended)
        return false;
    bool ok = true;
    if (m_mode == DemoLogMode::Strict) {
        if (m_values == kValues && m_tokenChars == 0)
            ok = endStrictLine();
        else
            m_lastLineLeftOut = m_values > 0 || m_tokenChars > 0;
    } else if (m_values > 0) {
        // A last line without a line feed counts when it holds a value; what follows its last
        // comma is ignored as on any other line.
        ok = deliver();
    }
    m_ended = true;
    return ok;
}

bool DemoLogReader::deliver() {
    for (std::size_t w = m_values; w < kValues; ++w)
        put(w, 0);
    m_slots = m_sink();
    if (m_slots.values != nullptr)
        return true;
    m_stopped = true;
    return false;
}

bool DemoLogReader::fail(std::string reason) {
    m_fault = LineFault{m_line, std::move(reason)};
    return false;
}

// Digits and commas only, exactly 96 values a line, each of at most five digits and up to 65535,
// a carriage return only right before the line feed.
bool DemoLogReader::feedStrict(const char* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        const char c = data[i];
        if (isDigit(c)) {
            if (m_carriageReturn)
                return fail("holds characters after a carriage return");
            if (++m_tokenChars > kMaxDigits)
                return fail("holds a number of more than five digits");
            m_token = m_token * 10 + static_cast<std::uint32_t>(c - '0');
        } else if (c == ',') {
            if (m_carriageReturn)
                return fail("holds characters after a carriage return");
            if (m_tokenChars == 0)
                return fail("holds an empty value");
            if (m_token > kMaxWord)
                return fail("holds a value above 65535");
            if (m_values == kValues)
                return fail("holds more than 96 values");
            put(m_values++, static_cast<std::uint16_t>(m_token));
            m_token = 0;
            m_tokenChars = 0;
        } else if (c == '\n') {
            if (!endStrictLine())
                return false;
            continue;
        } else if (c == '\r') {
            m_carriageReturn = true;
        } else {
            return fail("holds a character that is neither a digit nor a comma");
        }
        if (++m_lineBytes > m_maxLineBytes)
            return fail("is longer than " + std::to_string(m_maxLineBytes) + " characters");
    }
    return true;
}

bool DemoLogReader::endStrictLine() {
    const bool blank = m_values == 0 && m_tokenChars == 0;
    if (!blank) {
        if (m_tokenChars > 0)
            return fail("ends with a number without its comma");
        if (m_values < kValues)
            return fail("holds " + std::to_string(m_values) + " values; a record has 96");
        if (!deliver())
            return false;
    }
    ++m_line;
    m_values = 0;
    m_lineBytes = 0;
    m_carriageReturn = false;
    return true;
}

// Every comma ends a value, every line feed a line: a token up to nine characters that is a
// decimal number up to 65535 is its value, any other 0; values past 96 and what follows a line's
// last comma are ignored.
bool DemoLogReader::feedLenient(const char* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        const char c = data[i];
        if (c == ',') {
            if (m_values < kValues)
                put(m_values, lenientToken());
            ++m_values;
            m_token = 0;
            m_tokenChars = 0;
            m_tokenIsNumber = true;
        } else if (c == '\n') {
            if (!endLenientLine(m_mode == DemoLogMode::Playback || m_values > 0))
                return false;
        } else {
            // Only the first characters can make a value; the count just has to pass the limit.
            if (m_tokenChars <= kMaxTokenChars)
                ++m_tokenChars;
            if (!isDigit(c))
                m_tokenIsNumber = false;
            else if (m_tokenChars <= kMaxTokenChars)
                m_token = m_token * 10 + static_cast<std::uint32_t>(c - '0');
        }
    }
    return true;
}

std::uint16_t DemoLogReader::lenientToken() const {
    const bool valid = m_tokenIsNumber && m_tokenChars > 0 && m_tokenChars <= kMaxTokenChars &&
                       m_token <= kMaxWord;
    return valid ? static_cast<std::uint16_t>(m_token) : 0;
}

bool DemoLogReader::endLenientLine(bool record) {
    if (record && !deliver())
        return false;
    m_values = 0;
    m_token = 0;
    m_tokenChars = 0;
    m_tokenIsNumber = true;
    return true;
}

}  // namespace kaldor
