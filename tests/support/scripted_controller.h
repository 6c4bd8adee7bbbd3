#pragma once
// The controller's side of the protocol, written from the protocol independently of the
// program's codec, so that the two check each other. No Qt: the core tests and the UI tests
// share it.
#include <array>
#include <cstdint>
#include <vector>

#include "support/fake_port.h"

namespace kaldor::test {

// A reply with a checksummed payload: header, sub-code, the payload highest offset first, the
// checksum (0xAA plus every payload byte) and the trailer.
inline Bytes checkedReply(std::uint8_t header, std::uint8_t subcode, const Bytes& payload) {
    Bytes r{header, subcode};
    unsigned sum = 0xAA;
    for (auto it = payload.rbegin(); it != payload.rend(); ++it) {
        r.push_back(*it);
        sum += *it;
    }
    r.push_back(static_cast<std::uint8_t>(sum));
    r.push_back(0xF2);
    return r;
}
inline Bytes blockReply(std::uint8_t subcode, const Bytes& block128) {
    return checkedReply(0x48, subcode, block128);
}
inline Bytes liveReply(const Bytes& record192) {
    return checkedReply(0x56, 0x05, record192);
}

// Answers identify, confirm, parameter pages of its memory, the two halves of its error memory
// and the live record, and applies word and byte writes to its memory. A frame with a bad
// checksum or trailer gets no answer, as the controller ignores it.
struct ScriptedController {
    std::uint8_t hardware = 2;
    std::uint8_t software = 11;
    std::uint8_t confirmStatus = 0;
    bool answersConfirm = true;
    std::array<std::uint8_t, 4096> memory{};
    std::array<std::uint8_t, 256> errors{};
    Bytes record = Bytes(192, 0);
    // The next n replies of a kind are spoilt so that the program must refuse them: identify and
    // confirm replies get a bad trailer, the checksummed ones a bad checksum.
    int failIdentify = 0, failConfirm = 0, failPageReads = 0, failErrorReads = 0, failLive = 0;
    std::vector<Bytes> received;  // every frame, in order

    // Words are stored low byte first.
    void setWord(std::size_t index, std::uint16_t v) {
        if (2 * index + 1 < memory.size())
            putWord(&memory[2 * index], v);
    }
    void setRecordWord(std::size_t w, std::uint16_t v) { putWord(&record.at(2 * w), v); }
    void attachTo(FakePort& port) {
        port.responder = [this](int, const Bytes& frame) { return answer(frame); };
    }

    Bytes answer(const Bytes& f) {
        received.push_back(f);
        if (f.size() != 6 || f[5] != 0xF2 ||
            f[4] != static_cast<std::uint8_t>(f[0] + f[1] + f[2] + f[3] + 0xAA))
            return {};
        const unsigned cmd = f[0];
        const std::size_t arg = (std::size_t{f[2]} << 8) | f[3];  // an address or a value
        if (cmd == 0x01)
            return spoilt(failIdentify, {0x49, hardware, software, 0x00, 0xF2}, 1);
        if (cmd == 0x02)
            return answersConfirm ? spoilt(failConfirm, {0x43, confirmStatus, 0x00, 0xF2}, 1)
                                  : Bytes{};
        if (cmd == 0xAA && f[1] == 0x01 && arg + 128 <= memory.size())
            return spoilt(failPageReads, blockReply(0x01, slice(memory.data() + arg, 128)), 2);
        if (cmd == 0xAA && f[1] == 0x02 && (f[2] == 0x00 || f[2] == 0x80) && f[3] == f[2])
            return spoilt(failErrorReads, blockReply(0x02, slice(errors.data() + f[2], 128)), 2);
        if (cmd == 0xAA && f[1] == 0x05)
            return spoilt(failLive, liveReply(record), 2);
        if (cmd >= 0xD1 && cmd <= 0xDF)
            setWord(((cmd - 0xD1u) << 8) | f[1], static_cast<std::uint16_t>(arg));
        if (cmd >= 0xC1 && cmd <= 0xCF)
            memory[((cmd - 0xC1u) << 8) | f[1]] = f[3];
        return {};
    }

private:
    static void putWord(std::uint8_t* at, std::uint16_t v) {
        at[0] = static_cast<std::uint8_t>(v & 0xFF);
        at[1] = static_cast<std::uint8_t>(v >> 8);
    }
    static Bytes slice(const std::uint8_t* from, std::size_t n) { return Bytes(from, from + n); }
    // Flips a bit of the byte `fromEnd` places from the end while `count` lasts.
    static Bytes spoilt(int& count, Bytes reply, std::size_t fromEnd) {
        if (count > 0) {
            --count;
            reply[reply.size() - fromEnd] ^= 0x01;
        }
        return reply;
    }
};

}  // namespace kaldor::test
