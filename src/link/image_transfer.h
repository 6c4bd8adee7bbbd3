#pragma once
// Moves the parameter image between PC and controller: the full read after connecting, the
// single word and byte writes of every edit, the full write, and the converter memory write.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "link/commands.h"
#include "model/connection_state.h"
#include "model/ecu_image.h"
#include "model/field_sender.h"
#include "model/fields.h"
#include "model/prompts.h"

namespace kaldor {

inline constexpr const char* kNoConnectionMessage = "No Connection";

class ImageTransfer final : public FieldSender {
public:
    static constexpr int kPages = 12;
    // A rejected page is asked for again this many more times before the read gives up.
    static constexpr int kPageRetries = 2;
    static constexpr std::uint16_t kPageStep = 64;
    static constexpr std::size_t kConverterSize = 1024;
    static constexpr int kConverterWords = 512;
    static constexpr std::uint16_t kValidMarker = 0xAAAA;
    using ConverterImage = std::array<std::uint8_t, kConverterSize>;

    ImageTransfer(CommandSet& commands, ConnectionState& state, EcuImage& image, Prompts& prompts);

    // Twelve overlapping page reads. A rejected page is read again (up to kPageRetries more
    // times); false when a page stayed unread (its bytes keep their old values) or when there is
    // no connection: the image then does not mirror the controller and must not be trusted.
    // A complete read also notes the PIN the controller holds.
    [[nodiscard]] bool readImage(ProgressSink& bar);
    // One page of the read at address page * kPageStep, asked for again up to kPageRetries more
    // times; false when every answer was rejected (`into` then keeps what it held).
    [[nodiscard]] static bool readPage(CommandSet& commands, int page,
                                       std::array<std::uint8_t, CommandSet::kBlockSize>& into);
    // Sending the PIN word to a connected controller notes the PIN it now holds.
    void writeWord(std::size_t wordIndex);
    void writeByte(std::size_t byteOffset);
    // Sends the word or byte that holds one element of a field, as the field table says.
    void sendField(FieldId id, std::size_t element = 0) override;
    void pause(int milliseconds) override { m_commands.link().pause(milliseconds); }
    [[nodiscard]] bool connected() const override { return m_state.connected; }
    [[nodiscard]] bool linkReady() const override { return m_state.linkReady; }
    // The full write comes in two halves: between them the window shows the written image in
    // every control (and asks for the PIN it holds) before the validity marker makes the
    // controller take it. The first half: the 384 words. Offline, the bar optionally runs
    // through without sending, then the message is shown.
    void writeWords(const std::string& notConnectedMessage, ProgressSink& bar,
                    bool stepBarWhenOffline = false);
    // The second half: the validity marker into word 0 and out, then the commit; the bar full.
    void writeValidMarker(ProgressSink& bar);
    // "save data if 24->12V converter": 512 address/data pairs; no connection check.
    void writeConverter(ProgressSink& eepromBar);

    [[nodiscard]] static ConverterImage buildConverterImage(const EcuImage& image);

private:
    CommandSet& m_commands;
    ConnectionState& m_state;
    EcuImage& m_image;
    Prompts& m_prompts;
};

}  // namespace kaldor
