#pragma once
// The data logger and demo playback. The logger writes every collected live record as one text
// line to the recording file "demo.log.partial" as it comes (so a crash loses at most the last
// second), and at each stop makes "demo.log" in the working folder a copy of it: every line
// logged since the program started. Only the newest lines stay in memory, for the display.
// Playback loads such a file into a bounded buffer and hands its lines to the polling step in
// place of the controller, looping over them.
//
// "demo.log" line format: the 96 words of a record, word 0 first, each as an unsigned decimal
// number followed by a comma, then a line feed. Playback reads it as DemoLogMode::Playback does:
// everything between a line's last comma and its line feed is ignored, so a carriage return
// there does no harm, and every line feed is a line.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "live/demo_log_reader.h"
#include "live/live_frame.h"
#include "model/prompts.h"

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
    // Beside "demo.log"; its name matches none of the file dialogs' filters.
    static constexpr char kRecordingFileName[] = "demo.log.partial";
    // The recording reaches the disk (not only the system's cache) at least this often: one
    // second of records at one every 100 ms.
    static constexpr std::size_t kSyncEveryLines = 10;
    // The newest logged lines kept in memory for the display.
    static constexpr std::size_t kRecentLines = 200;
    static constexpr std::size_t kMaxLines = 50000;
    static constexpr std::size_t kValuesPerLine = LiveFrame::kWords;
    // A longer token, or one that is not a decimal number up to 65535, counts as 0.
    static constexpr std::size_t kMaxTokenChars = DemoLogReader::kMaxTokenChars;

    // folder: the working folder "demo.log" is written to and read from.
    explicit DataLogger(std::string folder);
    ~DataLogger();
    DataLogger(const DataLogger&) = delete;
    DataLogger& operator=(const DataLogger&) = delete;

    // Makes this logger the poller's playback source and log sink and keeps the poller's two
    // flags in step with its own from now on.
    void attach(LivePoller& poller);

    // A recording file the last run left (killed, or closed while logging): the question
    // whether to keep it as "demo.log" (OK, replacing that file) or to drop it. Asked once,
    // before the first start of this run, which would begin the file afresh. A message naming
    // the file and the reason when it could not be kept (the file then stays).
    [[nodiscard]] std::optional<std::string> offerInterruptedRecording(Prompts& prompts);

    // Button13: logging on; the playback position goes back to the start. The first start of a
    // run begins the recording file afresh, later ones append to it. A message naming the file
    // and the reason, with logging left off, when the recording file cannot be opened.
    [[nodiscard]] std::optional<std::string> StartLogging();
    // Appends the record as one line to the recording file while logging runs.
    void AppendLogLine(const LiveFrame& frame);
    // Button14: logging off and "demo.log" made a copy of the recording: every line logged so
    // far. On failure the message names the file and the reason; the recording stays for the
    // next stop.
    [[nodiscard]] std::optional<std::string> StopLogging();

    // One "demo.log" line.
    [[nodiscard]] static std::string formatLine(const LiveFrame& frame);

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
    // Lines logged since the program started, and the newest of them (at most kRecentLines,
    // each without its line feed).
    [[nodiscard]] std::size_t loggedLines() const { return m_loggedLines; }
    [[nodiscard]] const std::deque<std::string>& recentLines() const { return m_recent; }
    // Whether this run has logged anything; the recording file then holds all of it.
    [[nodiscard]] bool hasRecording() const { return m_loggedLines > 0; }
    [[nodiscard]] std::string filePath() const;
    [[nodiscard]] std::string recordingPath() const;
    // Lines loaded since the program started; a new load appends after them.
    [[nodiscard]] std::size_t lineCount() const { return m_lineCount; }
    [[nodiscard]] std::size_t playbackPosition() const { return m_position; }
    [[nodiscard]] std::uint16_t playbackWord(std::size_t line, std::size_t word) const;
    // Memory held by the playback buffer.
    [[nodiscard]] std::size_t bufferBytes() const;

private:
    using Line = DemoLogReader::Words;
    // The buffer grows in blocks, so a full buffer holds exactly kMaxLines lines and growing
    // never copies what is loaded.
    static constexpr std::size_t kLinesPerBlock = 1000;
    static_assert(kMaxLines % kLinesPerBlock == 0);
    using Block = std::array<Line, kLinesPerBlock>;

    // Playback's sink of the reader: the record into the buffer, while it has room.
    bool takeLine(const Line& words, PlaybackLoad& load);
    void endLoad(DemoLogReader& reader, PlaybackLoad& load);
    Line& lineForWriting(std::size_t index);
    [[nodiscard]] const Line* line(std::size_t index) const;
    void syncPoller();
    [[nodiscard]] std::string inFolder(const char* name) const;
    void closeRecording();

    std::string m_folder;
    LivePoller* m_poller = nullptr;
    bool m_logging = false;
    bool m_demo = false;
    std::FILE* m_recording = nullptr;          // open while logging runs
    bool m_recordingBegun = false;             // this run has begun its recording file
    bool m_unsaved = false;                    // lines logged since "demo.log" was last written
    std::optional<std::string> m_appendError;  // the first line that did not reach the file
    std::size_t m_loggedLines = 0;
    std::size_t m_unsyncedLines = 0;
    std::deque<std::string> m_recent;
    std::vector<std::unique_ptr<Block>> m_blocks;
    std::size_t m_lineCount = 0;
    std::size_t m_position = 0;
};

}  // namespace kaldor
