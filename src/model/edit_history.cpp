#include "model/edit_history.h"

#include <algorithm>

#include "model/fields.h"

namespace kaldor {
namespace {

std::string stepText(const char* verb, const std::deque<EditStep>& steps) {
    if (steps.empty())
        return verb;
    return std::string(verb) + ": " + steps.back().what;
}

}  // namespace

std::vector<std::string> changedFields(const std::vector<ByteChange>& changes) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < fieldCount(); ++i) {
        const FieldDef& def = fieldAt(i);
        const bool touched = std::any_of(changes.begin(), changes.end(), [&](const ByteChange& c) {
            return c.offset >= def.offset && c.offset < def.offset + def.byteLength();
        });
        if (touched)
            names.emplace_back(def.name);
    }
    return names;
}

std::string changedFieldNames(const std::vector<ByteChange>& changes) {
    const std::vector<std::string> names = changedFields(changes);
    if (names.empty())
        return "memory";
    if (names.size() == 1)
        return std::string(names[0]);
    if (names.size() == 2)
        return std::string(names[0]) + " and " + std::string(names[1]);
    return std::string(names[0]) + " and " + std::to_string(names.size() - 1) + " more";
}

void EditHistory::begin(const EcuImage& image, std::string what) {
    if (m_replaying)
        return;
    if (m_depth++ > 0)
        return;
    m_before = image.bytes();
    m_what = std::move(what);
    m_cells = 0;
    m_void = false;
    m_writes.clear();
}

void EditHistory::noteWrite(SentWrite write) {
    if (m_depth > 0 && !m_replaying)
        m_writes.push_back(write);
}

void EditHistory::end(const EcuImage& image) {
    if (m_replaying || m_depth == 0 || --m_depth > 0)
        return;
    if (m_void)
        return;
    EditStep step;
    const EcuImage::Bytes& after = image.bytes();
    for (std::size_t i = 0; i < after.size(); ++i)
        if (after[i] != m_before[i])
            step.changes.push_back({static_cast<std::uint16_t>(i), m_before[i], after[i]});
    if (step.changes.empty())
        return;
    const std::string fields = changedFieldNames(step.changes);
    step.what = m_what.empty() ? fields : m_what + " on " + fields;
    step.tool = m_what;
    step.fields = changedFields(step.changes);
    step.cells = m_cells;
    if (m_cells > 0)
        step.what += ", " + std::to_string(m_cells) + (m_cells == 1 ? " cell" : " cells");
    step.writes = std::move(m_writes);
    m_writes.clear();
    m_undo.push_back(std::move(step));
    if (m_undo.size() > kDepth)
        m_undo.pop_front();
    m_redo.clear();
}

std::string EditHistory::undoText() const {
    return stepText("undo", m_undo);
}

std::string EditHistory::redoText() const {
    return stepText("redo", m_redo);
}

void EditHistory::replay(const EditStep& step, bool forward, EcuImage& image, ImageWriter& writer) {
    for (const ByteChange& c : step.changes)
        image.setByte(c.offset, forward ? c.after : c.before);
    m_replaying = true;
    // A refused frame ends the connection: nothing after it is sent, and the next connection
    // reads the controller's memory again.
    bool taken = true;
    for (auto w = step.writes.begin(); taken && w != step.writes.end(); ++w) {
        switch (w->kind) {
            case SentWrite::Kind::Word:
                taken = writer.writeWord(w->at);
                break;
            case SentWrite::Kind::Byte:
                taken = writer.writeByte(w->at);
                break;
            case SentWrite::Kind::Pause:
                writer.pause(static_cast<int>(w->at));
                break;
        }
    }
    m_replaying = false;
}

bool EditHistory::undo(EcuImage& image, ImageWriter& writer) {
    if (m_undo.empty())
        return false;
    EditStep step = std::move(m_undo.back());
    m_undo.pop_back();
    replay(step, false, image, writer);
    m_redo.push_back(std::move(step));
    return true;
}

bool EditHistory::redo(EcuImage& image, ImageWriter& writer) {
    if (m_redo.empty())
        return false;
    EditStep step = std::move(m_redo.back());
    m_redo.pop_back();
    replay(step, true, image, writer);
    m_undo.push_back(std::move(step));
    return true;
}

void EditHistory::clear() {
    m_undo.clear();
    m_redo.clear();
    m_void = m_depth > 0;
    m_writes.clear();
}

}  // namespace kaldor
