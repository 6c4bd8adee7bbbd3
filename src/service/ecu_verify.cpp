#include "service/ecu_verify.h"

#include <algorithm>
#include <array>

#include "link/image_transfer.h"
#include "service/broken_write.h"

namespace kaldor {
namespace {

// How many names the summary line gives before it only counts.
constexpr std::size_t kNamesInSummary = 5;

// Polling off and link ready cleared for the length of one exchange, so no live request is
// outstanding while pages and writes go out; both come back as they were.
class PollingPaused {
public:
    PollingPaused(ConnectionState& state, TimerSwitch& timer)
        : m_state(state), m_timer(timer), m_linkReady(state.linkReady) {
        m_timer.setTimerEnabled(false);
        m_state.linkReady = false;
    }
    ~PollingPaused() {
        // A connection that ended meanwhile (a refused write) stays ended.
        m_state.linkReady = m_linkReady && m_state.connected;
        m_timer.setTimerEnabled(true);
    }
    PollingPaused(const PollingPaused&) = delete;
    PollingPaused& operator=(const PollingPaused&) = delete;

private:
    ConnectionState& m_state;
    TimerSwitch& m_timer;
    bool m_linkReady;
};

std::string names(const std::vector<Difference>& list) {
    std::string text;
    const std::size_t shown = std::min(list.size(), kNamesInSummary);
    for (std::size_t i = 0; i < shown; ++i)
        text += (i == 0 ? "" : ", ") + list[i].name;
    if (list.size() > shown)
        text += " and " + std::to_string(list.size() - shown) + " more";
    return text;
}

std::string locations(std::size_t n) {
    return std::to_string(n) + (n == 1 ? " location" : " locations");
}

std::string unreadText(const std::vector<std::pair<std::size_t, std::size_t>>& unread) {
    std::string text;
    for (const auto& [first, last] : unread)
        text +=
            (text.empty() ? "bytes " : ", ") + std::to_string(first) + "-" + std::to_string(last);
    return text;
}

std::string summary(const VerifyReport& r) {
    std::string text;
    switch (r.outcome) {
        case VerifyOutcome::NoConnection:
            return kNoConnectionMessage;
        case VerifyOutcome::WriteBroken:
            return r.message;
        case VerifyOutcome::Match:
            text = kMsgEcuMatches;
            break;
        case VerifyOutcome::Mismatch:
            text = "ECU memory differs from the PC in " + locations(r.diff.entries.size()) + ": " +
                   names(r.diff.entries);
            break;
        case VerifyOutcome::Unread:
            // Bytes not read hold the PC's values: with none read, "agree" would be a lie.
            if (r.unread.size() == 1 && r.unread.front().first == 0 &&
                r.unread.front().second + 1 == EcuImage::kSize)
                return "Nothing could be compared: no byte of the ECU memory could be read. " +
                       std::string(kAdviceLoadAgain);
            text =
                "ECU memory could not be read completely (" + unreadText(r.unread) + " unread). ";
            text += r.diff.entries.empty()
                        ? "The bytes read agree with the PC."
                        : "In the bytes read it differs from the PC in " +
                              locations(r.diff.entries.size()) + ": " + names(r.diff.entries);
            break;
    }
    if (!r.diff.controllerOwned.empty())
        text += "\nThe ECU's own locations differ and are never written: " +
                names(r.diff.controllerOwned);
    return text;
}

}  // namespace

EcuVerifier::EcuVerifier(CommandSet& commands, ConnectionState& state, EcuImage& image,
                         const SetupTexts* texts)
    : m_commands(commands), m_state(state), m_image(image), m_texts(texts) {}

VerifyReport EcuVerifier::verify(ProgressSink& bar, TimerSwitch& timer) {
    if (!m_state.connected) {
        VerifyReport report;
        report.message = summary(report);
        return report;
    }
    PollingPaused paused(m_state, timer);
    return readAndCompare(bar);
}

VerifyReport EcuVerifier::writePcValues(const VerifyReport& report, ProgressSink& bar,
                                        TimerSwitch& timer) {
    if (!m_state.connected) {
        VerifyReport none;
        none.message = summary(none);
        return none;
    }
    PollingPaused paused(m_state, timer);
    const WriteRun written = sendWrites(report.diff, bar);
    if (written.refused()) {
        VerifyReport broken;
        broken.outcome = VerifyOutcome::WriteBroken;
        broken.message = brokenWriteMessage(written, kAdviceSaveThenLoad);
        return broken;
    }
    return readAndCompare(bar);
}

WriteRun EcuVerifier::sendWrites(const ImageDiff& diff, ProgressSink& bar) {
    const std::vector<SentLocation> writes = writesToMatch(diff);
    WriteRun run;
    run.planned = writes.size();
    bar.setPosition(0);
    bar.setMaximum(static_cast<int>(writes.size()));
    for (const SentLocation& w : writes) {
        // The list never holds a location of the controller; checked again because a write
        // there could not be taken back.
        bool sent = true;
        if (w.as == SendAs::Word && !isControllerOwnedByte(2u * w.at) &&
            !isControllerOwnedByte(2u * w.at + 1))
            sent = m_commands.writeWord(w.at, m_image.word(w.at));
        else if (w.as == SendAs::Byte && !isControllerOwnedByte(w.at))
            sent = m_commands.writeByte(w.at, m_image.byte(w.at));
        if (!sent) {
            run.end = WriteRun::End::Refused;
            break;
        }
        ++run.sent;
        bar.step();
    }
    return run;
}

VerifyReport EcuVerifier::readAndCompare(ProgressSink& bar) {
    VerifyReport report;
    bar.setPosition(0);
    bar.setMaximum(static_cast<int>(EcuImage::kSize));
    // Bytes no page brought keep the PC's values, so they show no difference; they are reported
    // as unread instead.
    EcuImage::Bytes read = m_image.bytes();
    std::array<bool, EcuImage::kSize> got{};
    std::array<std::uint8_t, CommandSet::kBlockSize> page{};
    int failedInRow = 0;
    for (int p = 0; p < ImageTransfer::kPages && failedInRow < kGiveUpAfterFailedPages; ++p) {
        const std::size_t address = static_cast<std::size_t>(p) * ImageTransfer::kPageStep;
        bar.setPosition(static_cast<int>(address));
        if (!ImageTransfer::readPage(m_commands, p, page)) {
            ++failedInRow;
            continue;
        }
        failedInRow = 0;
        const std::size_t keep = std::min(page.size(), EcuImage::kSize - address);
        std::copy_n(page.begin(), keep, read.begin() + static_cast<std::ptrdiff_t>(address));
        std::fill_n(got.begin() + static_cast<std::ptrdiff_t>(address), keep, true);
    }
    bar.setPosition(static_cast<int>(EcuImage::kSize));
    report.controller.replace(read);

    for (std::size_t b = 0; b < got.size(); ++b) {
        if (got[b])
            continue;
        if (!report.unread.empty() && report.unread.back().second + 1 == b)
            report.unread.back().second = b;
        else
            report.unread.emplace_back(b, b);
    }

    // The PC's side of the PIN is the PIN it knows the controller holds, so only a PIN write
    // that went astray shows.
    EcuImage pc = m_image;
    storeField(pc, FieldId::ControllerPin, m_state.controllerPin);
    report.diff = diffImages(pc, report.controller, m_texts != nullptr ? *m_texts : SetupTexts{});
    const FieldDef& pin = fieldDef(FieldId::ControllerPin);
    if (got[pin.offset] && got[pin.offset + 1])
        m_state.controllerPin =
            static_cast<std::uint16_t>(readField(report.controller, FieldId::ControllerPin));

    if (!report.unread.empty())
        report.outcome = VerifyOutcome::Unread;
    else
        report.outcome =
            report.diff.writableMatch() ? VerifyOutcome::Match : VerifyOutcome::Mismatch;
    report.message = summary(report);
    return report;
}

bool EcuVerifier::takeControllerValues(const VerifyReport& report) {
    if (!report.complete())
        return false;
    EcuImage taken = report.controller;
    storeField(taken, FieldId::ControllerPin, readField(m_image, FieldId::ControllerPin));
    m_image = taken;
    return true;
}

}  // namespace kaldor
