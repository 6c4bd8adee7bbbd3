#pragma once
// Who takes each decoded live record: the pages register sinks here, by stage. The stages run in
// their order (the readings display with everything it moves, then the calibration tables, then
// the oscilloscope), each stage's sinks in the order they were added.
#include <array>
#include <cstddef>
#include <functional>
#include <vector>

#include "live/live_signals.h"

namespace kaldor {

enum class LiveStage : std::size_t { Display, Calibration, Scope, Count };

class LiveSinks {
public:
    using Sink = std::function<void(const LiveRecord&)>;

    void add(LiveStage stage, Sink sink) {
        m_stages[static_cast<std::size_t>(stage)].push_back(std::move(sink));
    }
    void publish(const LiveRecord& record) const {
        for (const auto& stage : m_stages)
            for (const auto& sink : stage)
                sink(record);
    }

private:
    std::array<std::vector<Sink>, static_cast<std::size_t>(LiveStage::Count)> m_stages;
};

}  // namespace kaldor
