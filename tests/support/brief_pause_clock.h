#pragma once
// The protocol's long pauses (around a page read, after a commit, at the scan's start) give the
// real controller its time; the virtual controller answers at once, so against it tests may cut
// them short. Pauses up to kLongestMs stay as they are: the reply window's polls and the gaps
// between written words keep their real length, so replies are still collected in real time.
#include <algorithm>

#include "link/serial_port.h"

namespace kaldor::test {

class BriefPauseClock final : public PauseClock {
public:
    static constexpr int kLongestMs = 10;

    void pause(int milliseconds) override { m_sleep.pause(std::min(milliseconds, kLongestMs)); }

private:
    SleepClock m_sleep;
};

}  // namespace kaldor::test
