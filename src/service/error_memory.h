#pragma once
// The controller's error memory on the "ECU" page: reading both halves, listing the stored codes
// and erasing them. The live polling is suspended while the halves are read, so no live reply
// lands in front of them.
#include <string>
#include <vector>

#include "diagnostics/error_codes.h"
#include "link/commands.h"
#include "model/connection_state.h"
#include "model/prompts.h"

namespace kaldor {

class ErrorMemory {
public:
    // Pause before the read, so a live reply that is still on its way has arrived.
    static constexpr int kSettleMs = 150;

    ErrorMemory(CommandSet& commands, ConnectionState& state)
        : m_commands(commands), m_state(state) {}

    // "show errors" and the error watch: reads both halves and returns column 1 of
    // `StringGridErrorMemory`, rows 1..32. A half that is not answered keeps its previous bytes.
    [[nodiscard]] std::vector<std::string> showErrors(TimerSwitch& timer, const ErrorTexts& texts,
                                                      const std::string& noErrorsText);
    // "erase errors": the erase, then the automatic fuel mode. The list is read again when the
    // controller's change counter moves.
    void eraseErrors();

    [[nodiscard]] const ErrorBlock& block() const { return m_block; }

private:
    void discardQueued();

    CommandSet& m_commands;
    ConnectionState& m_state;
    ErrorBlock m_block;  // kept until the next read
};

}  // namespace kaldor
