#pragma once
// How an editor of the image reaches the controller: the word or byte that holds one element of
// a field goes out with the value the image holds now. The image transfer implements it; tests
// record what would be sent.
#include <cstddef>

#include "model/fields.h"

namespace kaldor {

class FieldSender {
public:
    virtual ~FieldSender() = default;
    virtual void sendField(FieldId id, std::size_t element = 0) = 0;
    // A fixed pause some runs of writes leave between frames (map and axis writes).
    virtual void pause(int milliseconds) = 0;
    // A controller was identified and accepted (cleared by every close).
    [[nodiscard]] virtual bool connected() const = 0;
    // The connection is complete and the live polling may run.
    [[nodiscard]] virtual bool linkReady() const = 0;
};

}  // namespace kaldor
