// readRecording and its task: the file in pieces to the parser of its format, with the
// progress, the cancel and the memory budget, and the message when it is refused.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <string_view>
#include <utility>

#include "live/demo_log_reader.h"
#include "live/recording.h"
#include "live/recording_builder.h"
#include "live/recording_csv.h"

namespace kaldor {
namespace {

constexpr std::size_t kReadChunk = 1 << 20;
// Without a figure from the machine the reader allows itself this much.
constexpr std::size_t kFallbackBudget = std::size_t{1} << 30;

std::string megabytes(std::size_t bytes) {
    return std::to_string((bytes + (1 << 20) - 1) >> 20) + " MB";
}

// A "demo.log" read strictly (see DemoLogMode::Strict): the viewer and the cell statistics
// refuse a damaged file, and leave out a last line the logger is still writing.
class DemoLogRecords final : public RecordParser {
public:
    DemoLogRecords(RecordingBuilder& builder, std::size_t maxLineBytes)
        : m_reader(
              DemoLogMode::Strict, slots(builder),
              [&builder] { return builder.commit() ? slots(builder) : DemoLogReader::Slots{}; },
              maxLineBytes) {
        builder.carryAll();
    }

    bool feed(const char* data, std::size_t size) override { return m_reader.feed(data, size); }
    bool finish(std::string& note) override {
        const bool ok = m_reader.finish();
        if (m_reader.lastLineLeftOut())
            note = "The last line is incomplete and is left out.";
        return ok;
    }
    [[nodiscard]] const std::optional<LineFault>& fault() const override {
        return m_reader.fault();
    }

private:
    // Each value straight into its column of the staging block.
    static DemoLogReader::Slots slots(RecordingBuilder& builder) {
        return {&builder.slot(0), RecordingBuilder::kSlotStride};
    }

    DemoLogReader m_reader;
};

std::string quoted(const std::string& path) {
    return "\"" + std::filesystem::path(path).filename().string() + "\"";
}

RecordingRead refused(std::string message) {
    RecordingRead read;
    read.message = std::move(message);
    return read;
}

// Where the bytes come from: a file, or the lines a running logger holds.
struct ByteSource {
    std::FILE* file = nullptr;
    std::string_view text;

    std::size_t read(char* buffer, std::size_t size) {
        if (file != nullptr)
            return std::fread(buffer, 1, size, file);
        const std::size_t n = std::min(size, text.size());
        std::memcpy(buffer, text.data(), n);
        text.remove_prefix(n);
        return n;
    }
    [[nodiscard]] bool failed() const { return file != nullptr && std::ferror(file) != 0; }
};

RecordingRead readWith(RecordParser& parser, RecordingBuilder& builder, ByteSource& source,
                       std::vector<char>& chunk, std::size_t firstSize, const std::string& path,
                       std::size_t budget, ReadProgress* progress) {
    std::size_t n = firstSize;
    std::uint64_t total = 0;
    bool ok = true;
    while (n > 0) {
        if (progress != nullptr && progress->cancel.load(std::memory_order_relaxed)) {
            RecordingRead read;
            read.cancelled = true;
            return read;
        }
        ok = parser.feed(chunk.data(), n);
        total += n;
        if (progress != nullptr)
            progress->bytesRead.store(total, std::memory_order_relaxed);
        if (!ok)
            break;
        n = source.read(chunk.data(), chunk.size());
    }
    if (ok && source.failed())
        return refused("Could not read " + quoted(path) + ".");
    std::string note;
    if (ok)
        ok = parser.finish(note) && builder.finish();
    if (!ok && !parser.fault())
        return refused(quoted(path) +
                       " is too large for the memory this computer has free: after " +
                       std::to_string(builder.records()) + " records it would take more than " +
                       megabytes(budget) + ".");
    if (!ok)
        return refused(quoted(path) + " is not a recording: line " +
                       std::to_string(parser.fault()->line) + " " + parser.fault()->reason + ".");
    if (builder.records() == 0)
        return refused(quoted(path) + " holds no records." + (note.empty() ? "" : " " + note));
    RecordingRead read;
    read.recording = builder.take();
    read.message = note;
    return read;
}

RecordingRead readFrom(ByteSource& source, std::uint64_t bytes, const std::string& path,
                       const RecordingReadOptions& options, ReadProgress* progress) {
    if (progress != nullptr)
        progress->fileBytes.store(bytes);
    std::size_t budget = options.memoryBudget;
    if (budget == 0) {
        const std::size_t free = availableMemoryBytes();
        budget = free > 0 ? free / 4 * 3 : kFallbackBudget;
    }
    try {
        std::vector<char> chunk(kReadChunk);
        const std::size_t first = source.read(chunk.data(), chunk.size());
        const bool csv = looksLikeExportCsv(std::string_view(chunk.data(), first));
        RecordingBuilder builder(csv ? RecordingFormat::Csv : RecordingFormat::DemoLog, budget);
        const std::unique_ptr<RecordParser> parser =
            csv ? makeCsvParser(builder, options.maxLineBytes, options.texts)
                : std::make_unique<DemoLogRecords>(builder, options.maxLineBytes);
        return readWith(*parser, builder, source, chunk, first, path, budget, progress);
    } catch (const std::bad_alloc&) {
        return refused(quoted(path) + " is too large for the memory this computer has free.");
    }
}

}  // namespace

RecordingRead readRecording(const std::string& path, const RecordingReadOptions& options,
                            ReadProgress* progress) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return refused("Could not open " + quoted(path) + ": it is not a file.");
    ByteSource source;
    source.file = std::fopen(path.c_str(), "rb");
    if (source.file == nullptr)
        return refused("Could not open " + quoted(path) + ".");
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    RecordingRead read =
        readFrom(source, error ? 0 : static_cast<std::uint64_t>(size), path, options, progress);
    std::fclose(source.file);
    return read;
}

RecordingRead readRecordingText(const std::string& name, std::string_view text,
                                const RecordingReadOptions& options, ReadProgress* progress) {
    ByteSource source;
    source.text = text;
    return readFrom(source, text.size(), name, options, progress);
}

RecordingReadTask::RecordingReadTask(std::string path, RecordingReadOptions options)
    : m_thread([this, path = std::move(path), options = std::move(options)] {
          m_result = readRecording(path, options, &m_progress);
          m_done.store(true, std::memory_order_release);
      }) {}

RecordingReadTask::RecordingReadTask(std::string name, std::string text,
                                     RecordingReadOptions options)
    : m_thread(
          [this, name = std::move(name), text = std::move(text), options = std::move(options)] {
              m_result = readRecordingText(name, text, options, &m_progress);
              m_done.store(true, std::memory_order_release);
          }) {}

RecordingReadTask::~RecordingReadTask() {
    cancel();
    m_thread.join();
}

double RecordingReadTask::fraction() const {
    const std::uint64_t total = m_progress.fileBytes.load(std::memory_order_relaxed);
    if (total == 0)
        return 0;
    return std::min(1.0, static_cast<double>(m_progress.bytesRead.load(std::memory_order_relaxed)) /
                             static_cast<double>(total));
}

RecordingRead RecordingReadTask::take() {
    if (!done())
        return {};
    return std::move(m_result);
}
}  // namespace kaldor
