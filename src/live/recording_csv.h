#pragma once
// Reading back the CSV "export log as CSV" writes: a header row naming the export's columns,
// then one row per record, each cell turned back into the word it was converted from.
#include <cstddef>
#include <memory>
#include <string_view>

#include "live/recording_builder.h"
#include "live/status_texts.h"

namespace kaldor {

// The fuel mode may read in `texts` as well as in the built-in English texts.
[[nodiscard]] std::unique_ptr<RecordParser> makeCsvParser(RecordingBuilder& builder,
                                                          std::size_t maxLineBytes,
                                                          const StatusTexts& texts);
// Whether the start of a file is the export's header.
[[nodiscard]] bool looksLikeExportCsv(std::string_view start);

}  // namespace kaldor
