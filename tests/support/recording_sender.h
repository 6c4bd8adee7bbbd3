#pragma once
// A field sender that remembers what an editor would send, for core tests without a port.
#include <optional>
#include <string>
#include <vector>

#include "model/field_sender.h"

namespace kaldor::test {

struct RecordingSender : FieldSender {
    // "word 184", "byte 167", "pause 10", in the order they happened.
    std::vector<std::string> sent;
    bool isConnected = true;
    bool isLinkReady = true;
    // Frames the port takes before it refuses one and the connection ends; nothing: all.
    std::optional<std::size_t> refuseAfter;
    std::size_t frames = 0;

    bool sendField(FieldId id, std::size_t element = 0) override {
        if (refuseAfter && frames >= *refuseAfter) {
            isConnected = false;
            isLinkReady = false;
            return false;
        }
        const FieldDef& def = fieldDef(id);
        if (def.sendAs == SendAs::Word)
            sent.push_back("word " + std::to_string(sentWordIndex(def, element)));
        else if (def.sendAs == SendAs::Byte)
            sent.push_back("byte " + std::to_string(sentByteOffset(def, element)));
        ++frames;
        return true;
    }
    void pause(int milliseconds) override {
        sent.push_back("pause " + std::to_string(milliseconds));
    }
    [[nodiscard]] bool connected() const override { return isConnected; }
    [[nodiscard]] bool linkReady() const override { return isLinkReady; }
};

}  // namespace kaldor::test
