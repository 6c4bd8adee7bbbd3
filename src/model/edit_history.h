#pragma once
// The undo history of one connection. Every user action (a handler the edit gate runs, a grid
// edit) is one step: the image bytes it changed, before and after, and the writes it sent, in
// order (words, bytes and the pauses between them). An undo puts the earlier bytes back into the
// image and sends the same writes again, which now carry those bytes: the controller gets the
// frames an edit of those values sends, with the same pauses. A redo does the same with the
// later bytes. A step that changed no byte is not kept.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "model/ecu_image.h"

namespace kaldor {

// What sends an image location to the controller (the image transfer). False when the port
// refused the frame; the connection has then ended on its own.
class ImageWriter {
public:
    virtual ~ImageWriter() = default;
    virtual bool writeWord(std::size_t wordIndex) = 0;
    virtual bool writeByte(std::size_t byteOffset) = 0;
    virtual void pause(int milliseconds) = 0;
};

struct SentWrite {
    enum class Kind : std::uint8_t { Word, Byte, Pause };
    Kind kind = Kind::Word;
    std::uint32_t at = 0;  // word index, byte offset or milliseconds

    friend bool operator==(const SentWrite& a, const SentWrite& b) {
        return a.kind == b.kind && a.at == b.at;
    }
};

struct ByteChange {
    std::uint16_t offset = 0;
    std::uint8_t before = 0;
    std::uint8_t after = 0;
};

struct EditStep {
    std::string what;  // "+5 on MainMap, 40 cells"
    // The parts `what` is made of, for the window to say them in its language.
    std::string tool;                 // "+5", "interpolate"; empty when the fields name it
    std::vector<std::string> fields;  // the changed fields' names, in table order
    int cells = 0;                    // a grid action's cells, 0 otherwise
    std::vector<ByteChange> changes;
    std::vector<SentWrite> writes;
};

class EditHistory {
public:
    static constexpr std::size_t kDepth = 200;

    // An action of the user begins; nested begins belong to the outermost one. `what` names it
    // ("+5", "interpolate"); empty: the fields it changed name it.
    void begin(const EcuImage& image, std::string what = {});
    // A grid action says how many cells it wrote.
    void setCells(int cells) { m_cells = cells; }
    void setWhat(std::string what) { m_what = std::move(what); }
    // The action running is not kept (the controller PIN).
    void leaveOut() { m_void = m_depth > 0; }
    // Every write the transfer sends; kept only inside an action and never while replaying.
    void noteWrite(SentWrite write);
    // The action ends: kept as a step when it changed a byte; the redo steps are dropped then.
    void end(const EcuImage& image);
    [[nodiscard]] bool recording() const { return m_depth > 0; }

    [[nodiscard]] bool canUndo() const { return !m_undo.empty(); }
    [[nodiscard]] bool canRedo() const { return !m_redo.empty(); }
    [[nodiscard]] std::size_t undoDepth() const { return m_undo.size(); }
    // The menu items' texts: "undo: +5 on MainMap, 40 cells", plain "undo" when there is none.
    [[nodiscard]] std::string undoText() const;
    [[nodiscard]] std::string redoText() const;
    // The step an undo or a redo would take back or make again; nullptr when there is none.
    [[nodiscard]] const EditStep* undoStep() const { return m_undo.empty() ? nullptr : &m_undo.back(); }
    [[nodiscard]] const EditStep* redoStep() const { return m_redo.empty() ? nullptr : &m_redo.back(); }

    // Puts the step's earlier (undo) or later (redo) bytes into the image and sends its writes
    // again. False when there is nothing to take back or make again.
    bool undo(EcuImage& image, ImageWriter& writer);
    bool redo(EcuImage& image, ImageWriter& writer);

    // A new connection, a load, a reset or a restore: nothing before it can be taken back. An
    // action running meanwhile is not kept either.
    void clear();

private:
    void replay(const EditStep& step, bool forward, EcuImage& image, ImageWriter& writer);

    std::deque<EditStep> m_undo;
    std::deque<EditStep> m_redo;
    int m_depth = 0;
    bool m_replaying = false;
    bool m_void = false;
    EcuImage::Bytes m_before{};
    std::string m_what;
    int m_cells = 0;
    std::vector<SentWrite> m_writes;
};

// The fields that hold the changed bytes, by name in table order: "MainMap", "OnDelay and
// OnRpmPeriod", "OnDelay and 3 more".
[[nodiscard]] std::string changedFieldNames(const std::vector<ByteChange>& changes);
// The names of those fields, every one.
[[nodiscard]] std::vector<std::string> changedFields(const std::vector<ByteChange>& changes);

}  // namespace kaldor
