// History indexes as a crash, an editor or a broken disk leaves them: mutated valid indexes and
// random bytes. Outcome: every line that is neither blank nor a comment is an entry or a note,
// never both, and the entries read are written and read back unchanged, with no note.
#include <gtest/gtest.h>

#include "fuzz/fuzz_support.h"
#include "service/controller_history.h"

using namespace kaldor;
using namespace kaldor::fuzz;

namespace {

const std::string kSample =
    "# KALDOR DIESEL controller history of ECU 770123\n"
    "20240131-142501\t2024-01-31T14:25:01Z\t2\t11\t4.706\t5f3a09c1\tconnected\n"
    "20240131-142501-2\t2024-01-31T14:25:01Z\t2\t11\t4.706\t0b71e2d4\tbefore RESET ECU\r\n"
    "20240305-091144\t2024-03-05T09:11:44Z\t1\t3\t4.706\t00000000\tbefore load to ECU: a.kcfg\n";
constexpr std::string_view kSpecial{"\t\n\r#-:TZ0123456789abcdef./\0", 27};

std::size_t entryLines(const std::string& text) {
    std::size_t n = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        n += !line.empty() && line.front() != '#' ? 1 : 0;
        start = end + 1;
    }
    return n;
}

}  // namespace

TEST(HistoryIndexFuzz, EveryLineIsAnEntryOrANoteAndEntriesRoundTrip) {
    Fuzzer f(23);
    for (std::size_t i = 0; i < rounds(4000); ++i) {
        const std::string text =
            f.chance(80) ? f.mutate(kSample, kSpecial, 4096) : f.text(f.below(400), kSpecial);
        const HistoryListing read = parseHistoryIndex(text);
        ASSERT_EQ(read.entries.size() + read.notes.size(), entryLines(text)) << i;
        const HistoryListing again = parseHistoryIndex(historyIndexText(1, read.entries));
        ASSERT_TRUE(again.notes.empty()) << i << " " << again.notes.front();
        ASSERT_EQ(again.entries.size(), read.entries.size()) << i;
        for (std::size_t e = 0; e < read.entries.size(); ++e) {
            ASSERT_EQ(again.entries[e].id, read.entries[e].id) << i;
            ASSERT_EQ(again.entries[e].time, read.entries[e].time) << i;
            ASSERT_EQ(again.entries[e].what, read.entries[e].what) << i;
            ASSERT_EQ(again.entries[e].crc, read.entries[e].crc) << i;
        }
    }
}
