#include "live/data_logger.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "files/atomic_file.h"
#include "live/live_poller.h"

namespace kaldor {
namespace {

constexpr std::size_t kReadChunk = 64 * 1024;

}  // namespace

DataLogger::DataLogger(std::string folder) : m_folder(std::move(folder)) {}

DataLogger::~DataLogger() {
    const bool saved = !m_logging && !m_unsaved;
    closeRecording();
    // "demo.log" holds the whole recording, so the file is done with; one cut short (closed
    // while logging, or its last stop failed) stays for the next start to offer.
    if (m_recordingBegun && saved)
        std::remove(recordingPath().c_str());
}

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

std::string DataLogger::inFolder(const char* name) const {
    if (m_folder.empty())
        return name;
    if (m_folder.back() == '/')
        return m_folder + name;
    return m_folder + "/" + name;
}

std::string DataLogger::filePath() const {
    return inFolder(kFileName);
}

std::string DataLogger::recordingPath() const {
    return inFolder(kRecordingFileName);
}

void DataLogger::closeRecording() {
    if (m_recording == nullptr)
        return;
    if (!flushToDisk(m_recording) && !m_appendError)
        m_appendError = std::strerror(errno != 0 ? errno : EIO);
    std::fclose(m_recording);
    m_recording = nullptr;
    m_unsyncedLines = 0;
}

std::optional<std::string> DataLogger::offerInterruptedRecording(Prompts& prompts) {
    if (m_recordingBegun)
        return std::nullopt;
    const std::string partial = recordingPath();
    std::FILE* f = std::fopen(partial.c_str(), "rb");
    if (f == nullptr)
        return std::nullopt;
    // Whole lines only: a program killed while writing may have left half of its last one.
    std::uintmax_t wholeBytes = 0;
    std::uintmax_t at = 0;
    std::size_t lines = 0;
    std::vector<char> chunk(kReadChunk);
    for (std::size_t n = 0; (n = std::fread(chunk.data(), 1, chunk.size(), f)) > 0; at += n) {
        for (std::size_t i = 0; i < n; ++i) {
            if (chunk[i] == '\n') {
                ++lines;
                wholeBytes = at + i + 1;
            }
        }
    }
    std::fclose(f);
    if (lines > 0) {
        const std::string question =
            "A recording was not stopped before the program ended: \"" + partial + "\" holds " +
            std::to_string(lines) + (lines == 1 ? " line" : " lines") + ". Keep it as \"" +
            filePath() + "\"? OK replaces that file, Cancel deletes the recording.";
        if (prompts.askOkCancel({"", question, true}) == Answer::Ok) {
            if (const auto reason = copyFileAtomically(partial, filePath(), wholeBytes))
                return "Could not write \"" + filePath() + "\": " + *reason +
                       ". The recording stays in \"" + partial + "\".";
        }
    }
    std::remove(partial.c_str());
    return std::nullopt;
}

std::optional<std::string> DataLogger::StartLogging() {
    if (m_recording == nullptr) {
        const std::string path = recordingPath();
        errno = 0;
        // The run's first start begins the file afresh; later ones go on after its lines.
        m_recording = std::fopen(path.c_str(), m_recordingBegun ? "ab" : "wb");
        if (m_recording == nullptr)
            return "Logging did not start: \"" + path +
                   "\" could not be opened: " + std::strerror(errno != 0 ? errno : EIO);
        m_recordingBegun = true;
    }
    m_logging = true;
    m_position = 0;
    syncPoller();
    return std::nullopt;
}

std::string DataLogger::formatLine(const LiveFrame& frame) {
    // Six characters per value at most ("65535,"), plus the line feed.
    char line[kValuesPerLine * 6 + 1];
    char* out = line;
    char* const end = line + sizeof line;
    for (std::size_t w = 0; w < kValuesPerLine; ++w) {
        out = std::to_chars(out, end, frame.word(w)).ptr;
        *out++ = ',';
    }
    *out++ = '\n';
    return std::string(line, static_cast<std::size_t>(out - line));
}

void DataLogger::AppendLogLine(const LiveFrame& frame) {
    if (!m_logging)
        return;
    std::string text = formatLine(frame);
    if (m_recording != nullptr) {
        // Into the system at once, so a killed program loses nothing; onto the disk every
        // second, so a power cut loses at most that.
        errno = 0;
        bool ok = std::fwrite(text.data(), 1, text.size(), m_recording) == text.size() &&
                  std::fflush(m_recording) == 0;
        if (ok && ++m_unsyncedLines >= kSyncEveryLines) {
            ok = flushToDisk(m_recording);
            m_unsyncedLines = 0;
        }
        if (!ok && !m_appendError)
            m_appendError = std::strerror(errno != 0 ? errno : EIO);
    }
    ++m_loggedLines;
    m_unsaved = true;
    text.pop_back();
    m_recent.push_back(std::move(text));
    if (m_recent.size() > kRecentLines)
        m_recent.pop_front();
}

std::optional<std::string> DataLogger::StopLogging() {
    m_logging = false;
    syncPoller();
    closeRecording();
    const std::string path = filePath();
    std::optional<std::string> reason;
    if (!m_recordingBegun) {
        // Nothing was ever logged: an empty file, as a stop has always written.
        reason = writeFileAtomically(path, {});
    } else {
        std::error_code error;
        const std::uintmax_t size = std::filesystem::file_size(recordingPath(), error);
        reason = error ? std::optional<std::string>("reading \"" + recordingPath() +
                                                    "\": " + error.message())
                       : copyFileAtomically(recordingPath(), path, size);
    }
    if (reason)
        return "Could not write \"" + path + "\": " + *reason;
    m_unsaved = false;
    if (m_appendError) {
        const std::string lost = *m_appendError;
        m_appendError.reset();
        return "\"" + path + "\" lacks lines that could not be written to \"" + recordingPath() +
               "\": " + lost;
    }
    return std::nullopt;
}

PlaybackLoad DataLogger::PlayDemo() {
    m_demo = true;
    syncPoller();
    PlaybackLoad load;
    std::FILE* f = std::fopen(filePath().c_str(), "rb");
    if (f == nullptr)
        return load;
    DemoLogReader reader(DemoLogMode::Playback,
                         [this, &load](const Line& words) { return takeLine(words, load); });
    std::vector<char> chunk(kReadChunk);
    for (;;) {
        const std::size_t n = std::fread(chunk.data(), 1, chunk.size(), f);
        if (n == 0 || !reader.feed(chunk.data(), n))
            break;
    }
    // A folder of that name opens but does not read.
    load.opened = std::ferror(f) == 0 || load.linesLoaded > 0;
    std::fclose(f);
    endLoad(reader, load);
    return load;
}

PlaybackLoad DataLogger::loadPlayback(std::string_view text) {
    PlaybackLoad load;
    load.opened = true;
    DemoLogReader reader(DemoLogMode::Playback,
                         [this, &load](const Line& words) { return takeLine(words, load); });
    reader.feed(text);
    endLoad(reader, load);
    return load;
}

void DataLogger::StopDemo() {
    m_demo = false;
    syncPoller();
}

bool DataLogger::takeLine(const Line& words, PlaybackLoad& load) {
    if (m_lineCount >= kMaxLines)
        return false;
    lineForWriting(m_lineCount) = words;
    ++m_lineCount;
    ++load.linesLoaded;
    return true;
}

void DataLogger::endLoad(DemoLogReader& reader, PlaybackLoad& load) {
    reader.finish();
    if (reader.stopped())
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
