#include "link/image_transfer.h"

#include <algorithm>

namespace kaldor {

ImageTransfer::ImageTransfer(CommandSet& commands, ConnectionState& state, EcuImage& image,
                             Prompts& prompts)
    : m_commands(commands), m_state(state), m_image(image), m_prompts(prompts) {}

bool ImageTransfer::readImage(ProgressSink& bar) {
    if (!m_state.connected) {
        m_prompts.message(kNoConnectionMessage);
        return false;
    }
    bar.setPosition(0);
    bar.setMaximum(static_cast<int>(EcuImage::kSize));
    // Filled apart and taken over only when every page arrived, so a failed read leaves the
    // image as it was instead of half the old controller's and half the new one's.
    EcuImage::Bytes read = m_image.bytes();
    std::array<std::uint8_t, CommandSet::kBlockSize> page{};
    for (int p = 0; p < kPages; ++p) {
        const auto address = static_cast<std::uint16_t>(p * kPageStep);
        bar.setPosition(address);
        // No use reading on: the connection is refused anyway.
        if (!readPage(m_commands, p, page))
            return false;
        // The last page reaches past the image; only bytes below 768 are kept.
        const std::size_t keep = std::min(page.size(), EcuImage::kSize - address);
        std::copy_n(page.begin(), keep, read.begin() + address);
    }
    m_image.replace(read);
    m_state.controllerPin = static_cast<std::uint16_t>(readField(m_image, FieldId::ControllerPin));
    bar.setPosition(static_cast<int>(EcuImage::kSize));
    return true;
}

bool ImageTransfer::readPage(CommandSet& commands, int page,
                             std::array<std::uint8_t, CommandSet::kBlockSize>& into) {
    const auto address = static_cast<std::uint16_t>(page * kPageStep);
    for (int attempt = 0; attempt <= kPageRetries; ++attempt)
        if (commands.readPage(address, into.data()))
            return true;
    return false;
}

void ImageTransfer::writeWord(std::size_t wordIndex) {
    m_commands.writeWord(wordIndex, m_image.word(wordIndex));
    if (m_state.connected && wordIndex == fieldDef(FieldId::ControllerPin).wordIndex())
        m_state.controllerPin = m_image.word(wordIndex);
}

void ImageTransfer::writeByte(std::size_t byteOffset) {
    m_commands.writeByte(byteOffset, m_image.byte(byteOffset));
}

void ImageTransfer::sendField(FieldId id, std::size_t element) {
    const FieldDef& def = fieldDef(id);
    if (element >= def.count)
        return;
    switch (def.sendAs) {
        case SendAs::Word:
            writeWord(sentWordIndex(def, element));
            break;
        case SendAs::Byte:
            writeByte(sentByteOffset(def, element));
            break;
        case SendAs::None:
            break;
    }
}

void ImageTransfer::writeWords(const std::string& notConnectedMessage, ProgressSink& bar,
                               bool stepBarWhenOffline) {
    bar.setMaximum(static_cast<int>(EcuImage::kWords));
    if (m_state.connected) {
        for (std::size_t i = 0; i < EcuImage::kWords; ++i) {
            writeWord(i);
            bar.step();
        }
    } else {
        if (stepBarWhenOffline)
            for (std::size_t i = 0; i < EcuImage::kWords; ++i)
                bar.step();
        m_prompts.message(notConnectedMessage);
    }
}

void ImageTransfer::writeValidMarker(ProgressSink& bar) {
    m_image.setWord(0, kValidMarker);
    writeWord(0);
    m_commands.commit(0);
    bar.setPosition(bar.maximum());
}

ImageTransfer::ConverterImage ImageTransfer::buildConverterImage(const EcuImage& image) {
    // The converter takes every word high byte first, in groups of three data bytes and 0xFF.
    std::array<std::uint8_t, EcuImage::kSize> swapped{};
    for (std::size_t k = 0; k < EcuImage::kWords; ++k) {
        swapped[2 * k] = image.byte(2 * k + 1);
        swapped[2 * k + 1] = image.byte(2 * k);
    }
    ConverterImage out{};
    std::size_t o = 0;
    for (std::size_t i = 0; i < swapped.size(); i += 3) {
        out[o++] = swapped[i];
        out[o++] = swapped[i + 1];
        out[o++] = swapped[i + 2];
        out[o++] = 0xFF;
    }
    return out;
}

void ImageTransfer::writeConverter(ProgressSink& eepromBar) {
    const ConverterImage converter = buildConverterImage(m_image);
    eepromBar.setPosition(0);
    for (int k = 0; k < kConverterWords; ++k) {
        const auto value =
            static_cast<std::uint16_t>(converter[2 * k] * 256 + converter[2 * k + 1]);
        m_commands.converterAddress(static_cast<std::uint16_t>(k));
        m_commands.converterData(static_cast<std::size_t>(k), value);
        eepromBar.step();
    }
}

}  // namespace kaldor
