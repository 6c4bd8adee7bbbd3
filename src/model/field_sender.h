#pragma once
// How an editor of the image reaches the controller: the word or byte that holds one element of
// a field goes out with the value the image holds now. The image transfer implements it; tests
// record what would be sent.
#include <cstddef>

#include "model/fields.h"

namespace kaldor {

// How a run of writes (a full write, a map load, a write-back) ended. The port refusing a frame
// ends the run at that frame: the frames before it reached the controller, none after it went.
struct WriteRun {
    enum class End {
        Complete,
        NotConnected,  // nothing went to a controller; the caller's message said so
        Refused,       // the port refused frame number `sent` (counting from 0)
    };
    End end = End::Complete;
    std::size_t sent = 0;     // frames the port took
    std::size_t planned = 0;  // frames the run was to send; 0 when not known

    [[nodiscard]] bool complete() const { return end == End::Complete; }
    [[nodiscard]] bool refused() const { return end == End::Refused; }
};

class FieldSender {
public:
    virtual ~FieldSender() = default;
    // False when the port refused the frame. The connection has then ended on its own, so an
    // editor sending one change need not look; a run of writes stops there.
    virtual bool sendField(FieldId id, std::size_t element = 0) = 0;
    // A fixed pause some runs of writes leave between frames (map and axis writes).
    virtual void pause(int milliseconds) = 0;
    // A controller was identified and accepted (cleared by every close).
    [[nodiscard]] virtual bool connected() const = 0;
    // The connection is complete and the live polling may run.
    [[nodiscard]] virtual bool linkReady() const = 0;
};

}  // namespace kaldor
