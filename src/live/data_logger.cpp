#include "live/data_logger.h"

#include <charconv>
#include <cstdio>

#include "files/atomic_file.h"
#include "live/live_poller.h"

namespace kaldor {
namespace {

constexpr std::size_t kReadChunk = 64 * 1024;
constexpr std::uint32_t kMaxWord = 0xFFFF;

}  // namespace

DataLogger::DataLogger(std::string folder) : m_folder(std::move(folder)) {}

DataLogger::~DataLogger() = default;

void DataLogger::attach(LivePoller& poller) {
    m_poller = &poller;
    poller.setPlaybackSource([this](LiveFrame& frame) { return NextPlaybackLine(frame); });
    poller.setLogSink([this](const LiveFrame& frame) { AppendLogLine(frame); });
    syncPoller();
}

void DataLogger::syncPoller() {
    if (m_poller == nullptr)
        return;
    m_poller->setLogging(m_logging);
    m_poller->setDemoPlayback(m_demo);
}

std::string DataLogger::filePath() const {
    if (m_folder.empty())
        return kFileName;
    if (m_folder.back() == '/')
        return m_folder + kFileName;
    return m_folder + "/" + kFileName;
}

void DataLogger::StartLogging() {
    m_logging = true;
    m_position = 0;
    syncPoller();
}

void DataLogger::AppendLogLine(const LiveFrame& frame) {
    if (!m_logging)
        return;
    // Six characters per value at most ("65535,"), plus the line feed.
    char line[kValuesPerLine * 6 + 1];
    char* out = line;
    char* const end = line + sizeof line;
    for (std::size_t w = 0; w < kValuesPerLine; ++w) {
        out = std::to_chars(out, end, frame.word(w)).ptr;
        *out++ = ',';
    }
    *out++ = '\n';
    m_logText.append(line, static_cast<std::size_t>(out - line));
}

std::optional<std::string> DataLogger::StopLogging() {
    m_logging = false;
    syncPoller();
    const std::string path = filePath();
    if (const auto reason = writeFileAtomically(path, m_logText))
        return "Could not write \"" + path + "\": " + *reason;
    return std::nullopt;
}

PlaybackLoad DataLogger::PlayDemo() {
    m_demo = true;
    syncPoller();
    PlaybackLoad load;
    std::FILE* f = std::fopen(filePath().c_str(), "rb");
    if (f == nullptr)
        return load;
    Reader reader;
    std::vector<char> chunk(kReadChunk);
    for (;;) {
        const std::size_t n = std::fread(chunk.data(), 1, chunk.size(), f);
        if (n == 0 || !feed(reader, chunk.data(), n))
            break;
    }
    // A folder of that name opens but does not read.
    load.opened = std::ferror(f) == 0 || reader.loaded > 0;
    std::fclose(f);
    finish(reader, load);
    return load;
}

PlaybackLoad DataLogger::loadPlayback(std::string_view text) {
    PlaybackLoad load;
    load.opened = true;
    Reader reader;
    feed(reader, text.data(), text.size());
    finish(reader, load);
    return load;
}

void DataLogger::StopDemo() {
    m_demo = false;
    syncPoller();
}

bool DataLogger::feed(Reader& r, const char* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        if (m_lineCount >= kMaxLines) {
            r.full = true;
            return false;
        }
        const char c = data[i];
        if (c == ',') {
            if (r.value < kValuesPerLine) {
                const bool valid = r.tokenIsNumber && r.tokenChars > 0 &&
                                   r.tokenChars <= kMaxTokenChars && r.token <= kMaxWord;
                if (r.current == nullptr)
                    r.current = &lineForWriting(m_lineCount);
                (*r.current)[r.value] = valid ? static_cast<std::uint16_t>(r.token) : 0;
                ++r.value;
            }
            r.lineHasValue = true;
            r.newToken();
        } else if (c == '\n') {
            // Every line feed ends a line, also one without values: it plays as all zero.
            lineForWriting(m_lineCount);
            ++m_lineCount;
            ++r.loaded;
            r.newLine();
        } else {
            // Only the first characters can make a value; the count just has to pass the limit.
            if (r.tokenChars <= kMaxTokenChars)
                ++r.tokenChars;
            if (c >= '0' && c <= '9') {
                if (r.tokenChars <= kMaxTokenChars)
                    r.token = r.token * 10 + static_cast<std::uint32_t>(c - '0');
            } else {
                r.tokenIsNumber = false;
            }
        }
    }
    return true;
}

void DataLogger::finish(Reader& r, PlaybackLoad& load) {
    // A last line without a line feed still counts when it holds a value; what follows its last
    // comma is ignored as on any other line.
    if (r.lineHasValue && m_lineCount < kMaxLines) {
        ++m_lineCount;
        ++r.loaded;
    }
    load.linesLoaded = r.loaded;
    if (r.full)
        load.message = "The playback buffer holds " + std::to_string(kMaxLines) +
                       " lines: the rest of \"" + filePath() + "\" was not loaded.";
}

DataLogger::Line& DataLogger::lineForWriting(std::size_t index) {
    const std::size_t block = index / kLinesPerBlock;
    while (m_blocks.size() <= block)
        m_blocks.push_back(std::make_unique<Block>());
    return (*m_blocks[block])[index % kLinesPerBlock];
}

const DataLogger::Line* DataLogger::line(std::size_t index) const {
    const std::size_t block = index / kLinesPerBlock;
    if (block >= m_blocks.size())
        return nullptr;
    return &(*m_blocks[block])[index % kLinesPerBlock];
}

bool DataLogger::NextPlaybackLine(LiveFrame& frame) {
    if (m_position + 1 < m_lineCount)
        ++m_position;
    else
        m_position = 0;
    // With nothing loaded the buffer's first line, all zero, is shown.
    const Line* l = line(m_position);
    for (std::size_t w = 0; w < kValuesPerLine; ++w)
        frame.setWord(w, l != nullptr ? (*l)[w] : 0);
    return true;
}

std::uint16_t DataLogger::playbackWord(std::size_t index, std::size_t word) const {
    const Line* l = index < m_lineCount ? line(index) : nullptr;
    return l != nullptr && word < kValuesPerLine ? (*l)[word] : 0;
}

std::size_t DataLogger::bufferBytes() const {
    return m_blocks.size() * sizeof(Block);
}

}  // namespace kaldor
