#pragma once
// "verify ECU": the controller never acknowledges a write, so a frame lost on the cable leaves the
// PC showing a value the controller does not hold. The verification reads the whole parameter
// memory again with the connection's page reads and lists every difference from the PC image;
// from there the installer writes the PC's values (only the differing words and bytes) or takes
// the controller's. Nothing is ever written without that choice.
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "link/commands.h"
#include "model/connection_state.h"
#include "model/ecu_image.h"
#include "model/field_sender.h"
#include "model/prompts.h"
#include "service/image_diff.h"

namespace kaldor {

inline constexpr const char* kMsgEcuMatches = "ECU memory matches the PC (768 bytes)";

enum class VerifyOutcome {
    Match,         // every byte read, no difference the PC could write
    Mismatch,      // every byte read, differences listed
    Unread,        // some bytes could not be read: never a match, whatever the rest holds
    NoConnection,  // nothing was sent
    WriteBroken,   // the port refused a write of the PC's values: the connection has ended
};

struct VerifyReport {
    VerifyOutcome outcome = VerifyOutcome::NoConnection;
    // The PC first, the controller second. The PC's PIN is the one it knows the controller holds
    // (the image's own copy is cleared once the PIN was asked for).
    ImageDiff diff;
    // The controller's memory as read; bytes that could not be read hold the PC's.
    EcuImage controller;
    // Byte ranges, first and last inclusive, that no page reply brought.
    std::vector<std::pair<std::size_t, std::size_t>> unread;
    // The outcome line (kMsgEcuMatches, the mismatch summary, the unread bytes or how far a
    // broken write got), then the controller's own locations that differ, which are never
    // written.
    std::string message;

    [[nodiscard]] bool matches() const { return outcome == VerifyOutcome::Match; }
    [[nodiscard]] bool complete() const {
        return outcome == VerifyOutcome::Match || outcome == VerifyOutcome::Mismatch;
    }
};

class EcuVerifier {
public:
    // Two pages in a row that stay unanswered mean the controller is gone: the rest is not asked.
    static constexpr int kGiveUpAfterFailedPages = 2;

    // `texts`: the language the differences are named in; nothing for the built-in texts. Read
    // at each comparison, so a language chosen later counts.
    EcuVerifier(CommandSet& commands, ConnectionState& state, EcuImage& image,
                const SetupTexts* texts = nullptr);

    // The read and the comparison, with the polling timer off and link ready cleared around it.
    // Sends nothing but page requests.
    [[nodiscard]] VerifyReport verify(ProgressSink& bar, TimerSwitch& timer);

    // "write the PC's values": the words and bytes of the report's entries (never a location of
    // the controller), each with the value the image holds now, then the verification again.
    // A write the port refuses ends it there (WriteBroken, nothing read).
    [[nodiscard]] VerifyReport writePcValues(const VerifyReport& report, ProgressSink& bar,
                                             TimerSwitch& timer);

    // "take the controller's values": the image becomes the memory read, except its own PIN
    // copy, so the refresh the caller runs next does not ask for the PIN again. False, with the
    // image unchanged, unless the report read every byte.
    [[nodiscard]] bool takeControllerValues(const VerifyReport& report);

private:
    VerifyReport readAndCompare(ProgressSink& bar);
    [[nodiscard]] WriteRun sendWrites(const ImageDiff& diff, ProgressSink& bar);

    CommandSet& m_commands;
    ConnectionState& m_state;
    EcuImage& m_image;
    const SetupTexts* m_texts;
};

}  // namespace kaldor
