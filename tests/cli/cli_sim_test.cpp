// kaldor-cli against the virtual controller on a pseudo-terminal, in real time: the scan's
// revision rules, identify, read, write with the PIN gate, and a verification that catches a
// write the controller dropped. The commands run in this process with the protocol's long pauses
// cut short; identify, report and history each run once as the real program too, with the real
// pauses, for its exit status and streams.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <regex>

#include "cli_run.h"
#include "model/fields.h"
#include "model/pin.h"
#include "service/controller_history.h"
#include "support/brief_pause_clock.h"
#include "virtual_controller.h"

namespace kaldor::cli::test {
namespace {

constexpr std::uint32_t kSerial = 770123;
constexpr std::uint8_t kWriteWord = 0xD1;
constexpr std::uint8_t kConfirm = 0x02;

struct CliAgainstSim : ::testing::Test {
    std::unique_ptr<sim::VirtualController> controller;
    std::string settings = tempPath("sim.INI");
    kaldor::test::BriefPauseClock pauses;

    void start(sim::VirtualController::Options o) {
        o.serialNumber = kSerial;
        controller = std::make_unique<sim::VirtualController>(o);
        std::ofstream(settings) << "[Ports]\nCOM1=" << controller->start() << "\n";
    }
    // A command in this process, the protocol's long pauses cut short.
    CliRun inProcess(const std::vector<std::string>& words,
                     const std::optional<std::string>& typed = std::nullopt,
                     const std::string& folder = ::testing::TempDir()) {
        return runCli(words, typed, folder, &pauses);
    }
    // A controller command on COM1 only, with the test's settings file.
    CliRun command(std::vector<std::string> words,
                   const std::optional<std::string>& typed = std::nullopt) {
        words.insert(words.end(), {"--port", "1", "--settings", settings});
        return inProcess(words, typed);
    }
    EcuImage controllerImage() const {
        EcuImage image;
        image.replace(controller->image());
        return image;
    }
};

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST_F(CliAgainstSim, IdentifyAsAProgramPrintsRevisionsSerialAndPort) {
    start({});
    const CliRun r = runProgram({"identify", "--yes", "--settings", settings});
    EXPECT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(r.out, "hardware: 2\nsoftware: 11\nserial: 770123\nport: 1\n");
    EXPECT_EQ(r.err, "") << "no progress without a terminal";
}

// The report of a controller found as a user would: its serial number, revisions, every cell
// of its main map and its error memory with the texts, no list item by its number.
TEST_F(CliAgainstSim, ReportOfTheEcuHoldsItsSerialMapAndErrors) {
    sim::VirtualController::Options o;
    o.errors = {3};
    start(o);
    const std::string html = tempPath("ecu-report.html");
    const CliRun r = runProgram({"report", "--ecu", "--yes", "-o", html, "--settings", settings});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    const std::string report = fileText(html);
    EXPECT_TRUE(contains(report, "<td>770123</td>"));
    EXPECT_TRUE(contains(report, "<tr><th>software revision</th><td>11</td></tr>"));
    EXPECT_TRUE(contains(report, "ErrTg_H")) << "code 3 with its text";
    const EcuImage image = controllerImage();
    const std::regex cell("<td class=\"cell\" bgcolor=[^>]*>([0-9]+)</td>");
    std::vector<unsigned> cells;
    for (auto it = std::sregex_iterator(report.begin(), report.end(), cell);
         it != std::sregex_iterator(); ++it)
        cells.push_back(static_cast<unsigned>(std::stoul((*it)[1])));
    ASSERT_EQ(cells.size(), 128u);
    for (std::size_t i = 0; i < cells.size(); ++i)
        EXPECT_EQ(cells[i], readField(image, FieldId::MainMap, i)) << i;
    EXPECT_FALSE(std::regex_search(report, std::regex("item [0-9]")));
    // The error memory reads in the language chosen, as the settings do.
    const CliRun polish = inProcess(
        {"report", "--ecu", "--yes", "--language", "pol", "-o", html, "--settings", settings},
        std::nullopt, programFolder());
    ASSERT_EQ(polish.status, kExitOk) << polish.err;
    EXPECT_TRUE(contains(fileText(html), "Za wysoka temp. gazu"));
}

TEST_F(CliAgainstSim, RevisionRulesAsInTheWindow) {
    sim::VirtualController::Options o;
    o.softwareRevision = 11;
    start(o);
    // Revision 11 without --yes and without a terminal: nobody to ask, so nothing is confirmed.
    const CliRun unconfirmed = command({"identify"});
    EXPECT_EQ(unconfirmed.status, kExitFailed);
    EXPECT_TRUE(contains(unconfirmed.err, "--yes"));
    EXPECT_EQ(controller->commandCount(kConfirm), 0u);
    // At a terminal the question is asked; anything but yes declines.
    const CliRun declined = command({"identify"}, "n\n");
    EXPECT_EQ(declined.status, kExitFailed);
    EXPECT_TRUE(contains(declined.err, "revision 11. Confirm its identity and go on? [y/N]"));
    EXPECT_EQ(controller->commandCount(kConfirm), 0u);

    o.softwareRevision = 12;
    start(o);
    const CliRun refused = command({"identify", "--yes"});
    EXPECT_EQ(refused.status, kExitFailed);
    EXPECT_EQ(refused.err, "kaldor-cli: Need software update. Download From www !!!\n");
}

TEST_F(CliAgainstSim, ReadThenWriteRoundTripsAFileAndKeepsThePin) {
    sim::VirtualController::Options o;
    o.pin = packPin(1, 2, 3, 4);
    start(o);
    const std::string file = tempPath("read.kcfg");
    const CliRun read = command({"read", "--yes", "-o", file});
    ASSERT_EQ(read.status, kExitOk) << read.err;
    EXPECT_TRUE(contains(read.err, "protected by a PIN"));
    EcuImage expected = controllerImage();
    storeField(expected, FieldId::ControllerPin, 0);
    const std::string bytes = fileText(file);
    EXPECT_EQ(bytes, std::string(expected.bytes().begin(), expected.bytes().end()));

    // The file changed on the PC, then written back: refused without the PIN, taken with it.
    const std::optional<ConfigFile> loaded = readConfigFile(file);
    ASSERT_TRUE(loaded);
    EcuImage changed;
    changed.replace(loaded->bytes);
    storeField(changed, FieldId::MinSystemPressure, 1234);
    storeField(changed, FieldId::ControllerSerialNumber, 1);
    writeImageFile(file, changed);

    const CliRun noPin = command({"write", "--yes", file});
    EXPECT_EQ(noPin.status, kExitFailed);
    EXPECT_TRUE(contains(noPin.err, "--pin DDDD")) << noPin.err;
    EXPECT_EQ(controller->commandCount(kWriteWord), 0u);

    const CliRun write = command({"write", "--yes", "--pin", "1234", "--verify", file});
    ASSERT_EQ(write.status, kExitOk) << write.err;
    EXPECT_TRUE(contains(write.out, "ECU memory matches the PC (768 bytes)"));
    EXPECT_EQ(controller->readWord(fieldDef(FieldId::MinSystemPressure).wordIndex()), 1234);
    EXPECT_EQ(readField(controllerImage(), FieldId::ControllerPin), packPin(1, 2, 3, 4));
    EXPECT_EQ(readField(controllerImage(), FieldId::ControllerSerialNumber), kSerial);
}

TEST_F(CliAgainstSim, VerifyFailsWhenTheControllerDropsAWrite) {
    sim::VirtualController::Options o;
    o.faults.ignoreWriteEvery = 100;  // word 99, a main map word, is lost
    start(o);
    EcuImage file = controllerImage();
    for (std::size_t cell = 0; cell < fieldDef(FieldId::MainMap).count; ++cell)
        storeField(file, FieldId::MainMap, readField(file, FieldId::MainMap, cell) + 1, cell);
    const std::string path = tempPath("maps.kcfg");
    writeImageFile(path, file);

    const CliRun r = command({"write", "--yes", "--verify", path});
    EXPECT_EQ(r.status, kExitFailed);
    EXPECT_TRUE(contains(r.err, "ECU memory differs from the PC")) << r.err;
    EXPECT_TRUE(contains(r.err, "field: written | ECU\nmain map ")) << r.err;
}

// The cable pulled partway through a write: the port refuses a frame, the write stops there and
// says how far it got, and nothing calls it written, with or without --verify.
TEST_F(CliAgainstSim, AWriteTheControllerHangsUpOnSaysHowFarItGotAndExitsOne) {
    for (const bool verify : {false, true}) {
        SCOPED_TRACE(verify ? "--verify" : "no --verify");
        sim::VirtualController::Options o;
        o.faults.hangUpAfterWrites = 200;
        start(o);
        const std::string path = tempPath("pulled.kcfg");
        writeImageFile(path, controllerImage());
        std::vector<std::string> words{"write", "--yes", path};
        if (verify)
            words.push_back("--verify");
        const CliRun r = command(words);
        EXPECT_EQ(r.status, kExitFailed);
        EXPECT_EQ(r.out, "");
        EXPECT_FALSE(contains(r.err, "written")) << r.err;
        EXPECT_TRUE(contains(r.err, "mix of old and new values")) << r.err;
        const std::string at = "broke off at frame ";
        const std::size_t from = r.err.find(at);
        ASSERT_NE(from, std::string::npos) << r.err;
        // The pty takes a few frames more while the controller hangs up.
        const int frame = std::stoi(r.err.substr(from + at.size()));
        EXPECT_GT(frame, 200);
        EXPECT_LT(frame, 386);
        EXPECT_TRUE(contains(r.err, " of 386: the port refused it")) << r.err;
        EXPECT_EQ(controller->commandCount(kWriteWord), 200u);
    }
}

// The data folder of a new user: XDG_DATA_HOME points at an empty folder for the test's run.
struct NewUserDataFolder {
    std::string path = tempPath("data-home");
    std::string saved = std::getenv("XDG_DATA_HOME") != nullptr ? std::getenv("XDG_DATA_HOME") : "";
    NewUserDataFolder() {
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
        ::setenv("XDG_DATA_HOME", path.c_str(), 1);
    }
    ~NewUserDataFolder() {
        ::setenv("XDG_DATA_HOME", saved.c_str(), 1);
        std::filesystem::remove_all(path);
    }
    [[nodiscard]] ControllerHistory history() const {
        return ControllerHistory((std::filesystem::path(path) / "kaldor" / "history").string());
    }
};

// Connect, change the controller's memory behind the program's back, connect again: two entries,
// each the memory the controller held; restoring the first with --verify puts it back.
TEST_F(CliAgainstSim, HistoryKeepsEveryVisitAndRestoresTheFirst) {
    const NewUserDataFolder home;
    sim::VirtualController::Options o;
    o.pin = packPin(1, 2, 3, 4);
    start(o);
    const EcuImage first = controllerImage();
    const CliRun visit = inProcess({"identify", "--yes", "--settings", settings});
    ASSERT_EQ(visit.status, kExitOk) << visit.err;
    EcuImage changed = first;
    storeField(changed, FieldId::MinSystemPressure, 1777);
    storeField(changed, FieldId::MainMap, readField(first, FieldId::MainMap, 9) ^ 0x0F, 9);
    o.image.emplace();
    std::copy(changed.bytes().begin(), changed.bytes().end(), o.image->begin());
    start(o);
    ASSERT_EQ(inProcess({"identify", "--yes", "--settings", settings}).status, kExitOk);

    const ControllerHistory history = home.history();
    const std::vector<HistoryEntry> entries = history.list(kSerial).entries;
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].what, "connected");
    EXPECT_EQ(history.read(kSerial, entries[0]), savedConfigBytes(first));
    EXPECT_EQ(history.read(kSerial, entries[1]), savedConfigBytes(changed));
    const CliRun list = runProgram({"history", "--settings", settings});
    EXPECT_TRUE(contains(list.out, "ECU 770123\n  " + entries[1].id)) << list.out;

    const CliRun restore = inProcess({"history", "restore", entries[0].id, "--verify", "--yes",
                                      "--pin", "1234", "--settings", settings});
    ASSERT_EQ(restore.status, kExitOk) << restore.err;
    EXPECT_TRUE(contains(restore.out, "ECU memory matches the PC (768 bytes)")) << restore.out;
    EXPECT_EQ(savedConfigBytes(controllerImage()), savedConfigBytes(first));
    EXPECT_EQ(readField(controllerImage(), FieldId::ControllerPin), packPin(1, 2, 3, 4));
    // What the controller held before the restore was the newest entry already.
    EXPECT_EQ(history.list(kSerial).entries.size(), 2u);

    // A write keeps what it overwrites: the memory restored, read at its connection.
    const std::string file = tempPath("history-write.kcfg");
    writeImageFile(file, changed);
    ASSERT_EQ(command({"write", "--yes", "--pin", "1234", file}).status, kExitOk);
    const std::vector<HistoryEntry> after = history.list(kSerial).entries;
    ASSERT_EQ(after.size(), 3u);
    EXPECT_EQ(history.read(kSerial, after.back()), savedConfigBytes(first));
}

}  // namespace
}  // namespace kaldor::cli::test
