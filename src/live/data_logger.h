#pragma once
// The data logger and demo playback. The logger keeps every collected live record as one text
// line for the whole run and writes all of them to "demo.log" in the working folder at each stop.
// Playback loads such a file into a bounded buffer and hands its lines to the polling step in
// place of the controller, looping over them.
//
// "demo.log" line format: the 96 words of a record, word 0 first, each as an unsigned decimal
// number followed by a comma, then a line feed. The reader ignores everything between a line's
// last comma and its line feed, so a carriage return there does no harm.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "live/live_frame.h"

namespace kaldor {

class LivePoller;

struct PlaybackLoad {
    bool opened = false;          // false: the file could not be read, nothing was loaded
    std::size_t linesLoaded = 0;  // by this load
    // Set when lines were left out because the buffer is full; given once per load.
    std::optional<std::string> message;
};

class DataLogger {
public:
    static constexpr char kFileName[] = "demo.log";
    static constexpr std::size_t kMaxLines = 50000;
    static constexpr std::size_t kValuesPerLine = LiveFrame::kWords;
    // A longer token, or one that is not a decimal number up to 65535, counts as 0.
    static constexpr std::size_t kMaxTokenChars = 9;

    // folder: the working folder "demo.log" is written to and read from.
    explicit DataLogger(std::string folder);
    ~DataLogger();
    DataLogger(const DataLogger&) = delete;
    DataLogger& operator=(const DataLogger&) = delete;

    // Makes this logger the poller's playback source and log sink and keeps the poller's two
    // flags in step with its own from now on.
    void attach(LivePoller& poller);

    // Button13: logging on; the playback position goes back to the start.
    void StartLogging();
    // Appends the record as one line while logging runs.
    void AppendLogLine(const LiveFrame& frame);
    // Button14: logging off and every line logged so far written to "demo.log". On failure the
    // message names the file and the reason; the lines stay in memory for the next stop.
    [[nodiscard]] std::optional<std::string> StopLogging();

    // Button15: playback on (also when the file cannot be read) and "demo.log" appended to the
    // buffer.
    PlaybackLoad PlayDemo();
    // Button16: playback off.
    void StopDemo();
    // The next line into the frame, looping; with no lines loaded an all-zero record.
    bool NextPlaybackLine(LiveFrame& frame);
    // Appends text in the "demo.log" format to the buffer, as PlayDemo does with the file.
    PlaybackLoad loadPlayback(std::string_view text);

    [[nodiscard]] bool logging() const { return m_logging; }
    [[nodiscard]] bool demoPlayback() const { return m_demo; }
    [[nodiscard]] const std::string& logText() const { return m_logText; }
    [[nodiscard]] std::string filePath() const;
    // Lines loaded since the program started; a new load appends after them.
    [[nodiscard]] std::size_t lineCount() const { return m_lineCount; }
    [[nodiscard]] std::size_t playbackPosition() const { return m_position; }
    [[nodiscard]] std::uint16_t playbackWord(std::size_t line, std::size_t word) const;
    // Memory held by the playback buffer.
    [[nodiscard]] std::size_t bufferBytes() const;

private:
    using Line = std::array<std::uint16_t, kValuesPerLine>;
    // The buffer grows in blocks, so a full buffer holds exactly kMaxLines lines and growing
    // never copies what is loaded.
    static constexpr std::size_t kLinesPerBlock = 1000;
    static_assert(kMaxLines % kLinesPerBlock == 0);
    using Block = std::array<Line, kLinesPerBlock>;

    // Where the reader stands between two chunks of a file.
    struct Reader {
        std::size_t value = 0;    // index of the next value in the current line
        Line* current = nullptr;  // the current line, once it has a value
        bool lineHasValue = false;
        std::uint32_t token = 0;
        std::size_t tokenChars = 0;
        bool tokenIsNumber = true;
        bool full = false;  // the buffer filled up and more of the input followed
        std::size_t loaded = 0;

        void newToken() {
            token = 0;
            tokenChars = 0;
            tokenIsNumber = true;
        }
        void newLine() {
            newToken();
            value = 0;
            current = nullptr;
            lineHasValue = false;
        }
    };

    // Returns false once the buffer is full and the rest of the input is to be ignored.
    bool feed(Reader& r, const char* data, std::size_t size);
    void finish(Reader& r, PlaybackLoad& load);
    Line& lineForWriting(std::size_t index);
    [[nodiscard]] const Line* line(std::size_t index) const;
    void syncPoller();

    std::string m_folder;
    LivePoller* m_poller = nullptr;
    bool m_logging = false;
    bool m_demo = false;
    std::string m_logText;
    std::vector<std::unique_ptr<Block>> m_blocks;
    std::size_t m_lineCount = 0;
    std::size_t m_position = 0;
};

}  // namespace kaldor
