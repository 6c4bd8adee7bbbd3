#pragma once
// Recordings for tests made from live records: their demo.log text, and that text read back as
// the viewer reads it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "live/live_frame.h"
#include "live/recording.h"

namespace kaldor::test {

inline std::string demoLines(const std::vector<LiveFrame>& frames) {
    std::string text;
    for (const LiveFrame& f : frames) {
        for (std::size_t w = 0; w < LiveFrame::kWords; ++w)
            text += std::to_string(f.word(w)) + ",";
        text += "\n";
    }
    return text;
}

inline std::shared_ptr<const Recording> recordingOf(const std::string& text) {
    const RecordingRead read = readRecordingText("drive", text);
    EXPECT_TRUE(read.recording) << read.message;
    return read.recording;
}

}  // namespace kaldor::test
