// `kaldor-cli cells`: generated drives whose records sit in known cells with known exhaust
// temperatures, read back from the JSON as a user's script would.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <filesystem>

#include "cli_run.h"
#include "live/live_signals.h"
#include "model/controller_defaults.h"
#include "model/fields.h"

using namespace kaldor;
using namespace kaldor::cli;
using namespace kaldor::cli::test;

namespace {

struct Stretch {
    std::size_t records;
    std::uint16_t period;   // word 21
    std::uint16_t column;   // word 4, the throttle
    std::uint16_t row;      // word 79, the manifold pressure
    std::uint16_t exhaust;  // word 80
};

std::string drive(const std::string& name, const std::vector<Stretch>& stretches,
                  const std::string& tail = "") {
    std::string text;
    for (const Stretch& s : stretches)
        for (std::size_t i = 0; i < s.records; ++i) {
            std::array<std::uint16_t, 96> w{};
            w[21] = s.period;
            w[4] = s.column;
            w[79] = s.row;
            w[80] = s.exhaust;
            for (const std::uint16_t v : w)
                text += std::to_string(v) + ",";
            text += "\n";
        }
    const std::string path = tempPath(name);
    std::ofstream(path, std::ios::binary) << text << tail;
    return path;
}

QJsonObject json(const CliRun& r) {
    EXPECT_EQ(r.status, kExitOk) << r.err;
    QJsonParseError error{};
    const QJsonDocument d = QJsonDocument::fromJson(QByteArray::fromStdString(r.out), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << r.out;
    return d.object();
}

double celsius(std::uint16_t counts) {
    return liveValueOfRaw(LiveSignal::ExhaustTemperature, counts, LiveContext{});
}

struct ExpectedCell {
    int column;
    int row;
    const char* columnHeading;
    const char* rowHeading;
    double seconds;
    double mean;
};

void expectCells(const QJsonObject& o, const std::vector<ExpectedCell>& expected) {
    const QJsonArray cells = o["cells"].toArray();
    ASSERT_EQ(cells.size(), static_cast<qsizetype>(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const QJsonObject c = cells[static_cast<qsizetype>(i)].toObject();
        const ExpectedCell& e = expected[i];
        EXPECT_EQ(c["column"].toInt(), e.column) << i;
        EXPECT_EQ(c["row"].toInt(), e.row) << i;
        EXPECT_EQ(c["columnHeading"].toString().toStdString(), e.columnHeading) << i;
        EXPECT_EQ(c["rowHeading"].toString().toStdString(), e.rowHeading) << i;
        EXPECT_EQ(c["seconds"].toDouble(), e.seconds) << i;
        EXPECT_EQ(c["records"].toInt(), static_cast<int>(e.seconds * 10 + 0.5)) << i;
        const QJsonObject s = c["signal"].toObject();
        EXPECT_EQ(s["name"].toString(), "exhaust gas temperature");
        EXPECT_EQ(s["unit"].toString(), QString::fromUtf8("\u00B0C"));
        EXPECT_EQ(s["mean"].toDouble(), e.mean) << i;
    }
}

const std::string kEgt = "exhaust gas temperature";

}  // namespace

// The factory set-up: 2:VACUM/RPM, 800 ... 3500 rpm (periods 34562 ... 7899) against
// 0.9 ... 2.1 bar. 1500 rpm is column 2, 3500 rpm and faster column 7.
TEST(CliCells, KnownCellsAndExhaustTemperaturesOnTheFactorySetUp) {
    const std::string log = drive("cells.log", {{30, 18433, 0, 1000, 1000},
                                                {10, 18433, 0, 1000, 2000},
                                                {5, 65535, 0, 1000, 2000},  // engine stopped
                                                {12, 5000, 0, 2100, 1500},
                                                {7, 11059, 0, 899, 1200}});
    const QJsonObject o = json(runProgram({"cells", log, "--signal", kEgt, "--json"}));
    EXPECT_EQ(o["records"].toInt(), 64);
    EXPECT_EQ(o["mapType"].toString(), "2:VACUM/RPM");
    const double mixed = static_cast<double>((30 * static_cast<long double>(celsius(1000)) +
                                              10 * static_cast<long double>(celsius(2000))) /
                                             40);
    expectCells(o, {{4, 0, "2500", "0.9", 0.7, celsius(1200)},
                    {2, 1, "1500", "1.05", 4.0, mixed},
                    {7, 15, "3500", "2.1", 1.2, celsius(1500)}});
    const QJsonObject outside = o["outside"].toObject();
    EXPECT_EQ(outside["records"].toInt(), 5);
    EXPECT_EQ(outside["engineStopped"].toInt(), 5);

    const CliRun text = runCli({"cells", log, "--signal", "Exhaust Gas Temperature"});
    EXPECT_EQ(text.status, kExitOk);
    EXPECT_NE(text.out.find("1500    1.05       4.0       40"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("5 records placed in no cell (engine stopped 5)"), std::string::npos);
}

// A configuration file of the throttle map: columns at throttle counts 100 ... 800.
static std::string writeSetupFile() {
    EcuImage image;
    applyControllerDefaults(image, {}, 0);
    storeField(image, FieldId::MainMapType, 2);
    for (std::size_t i = 0; i < 8; ++i)
        storeField(image, FieldId::MainMapColumnAxis, 100 * (i + 1), i);
    const std::string setup = tempPath("tps.kcfg");
    writeImageFile(setup, image);
    return setup;
}

TEST(CliCells, KnownCellsOnTheThrottleMapOfAConfigurationFile) {
    const std::string setup = writeSetupFile();
    const std::string log = drive(
        "tps.log",
        {{3, 20000, 199, 1100, 1000}, {20, 20000, 200, 1100, 1100}, {4, 20000, 9000, 5000, 900}});
    const QJsonObject o =
        json(runCli({"cells", log, "--setup", setup, "--signal", kEgt, "--json"}));
    EXPECT_EQ(o["mapType"].toString(), "3:VACUM/TPS");
    EXPECT_EQ(
        o["setup"].toString(),
        "set-up: " + QString::fromStdString(std::filesystem::path(setup).filename().string()));
    expectCells(o, {{0, 3, "0.38", "1.15", 0.3, celsius(1000)},
                    {1, 3, "0.77", "1.15", 2.0, celsius(1100)},
                    {7, 15, "3.06", "2.1", 0.4, celsius(900)}});
}

// A cut last line is told and left out; a damaged line, an empty file or no recording at all
// exit 1 with the reason; the CSV export places every record where its demo.log does.
TEST(CliCells, DamagedEmptyAndExportedRecordings) {
    const std::vector<Stretch> stretches = {{50, 18433, 0, 1000, 1000}, {25, 9216, 0, 1700, 900}};
    const std::string log = drive("export.log", stretches);
    const std::string cut = drive("cut.log", stretches, "1,2,3");
    const CliRun whole = runCli({"cells", log, "--json"});
    const CliRun fromCut = runCli({"cells", cut, "--json"});
    EXPECT_EQ(fromCut.status, kExitOk);
    EXPECT_NE(fromCut.err.find("incomplete"), std::string::npos) << fromCut.err;
    EXPECT_EQ(json(whole)["cells"], json(fromCut)["cells"]);

    const std::string csv = tempPath("export.csv");
    ASSERT_EQ(runCli({"log2csv", log, "-o", csv}).status, kExitOk);
    EXPECT_EQ(json(runCli({"cells", csv, "--json"}))["cells"], json(whole)["cells"]);
    const CliRun csvText = runCli({"cells", csv, "--signal", kEgt});
    const CliRun logText = runCli({"cells", log, "--signal", kEgt});
    EXPECT_EQ(csvText.out.substr(csvText.out.find("column")),
              logText.out.substr(logText.out.find("column")));

    const std::string damaged = drive("damaged.log", stretches, "1,2,x,4,\n");
    for (const std::string& path : {damaged, drive("empty.log", {}), tempPath("none.log")}) {
        const CliRun r = runCli({"cells", path});
        EXPECT_EQ(r.status, kExitFailed) << path;
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("kaldor-cli: "), std::string::npos);
    }
    // A file of another kind (a note, the configuration file) is no recording, and says so.
    const std::string note = tempPath("note.log");
    std::ofstream(note, std::ios::binary) << "fuel 12.3 l\nservice in 500 km\n";
    for (const std::string& path : {note, writeSetupFile()}) {
        const CliRun r = runCli({"cells", path, "--json"});
        EXPECT_EQ(r.status, kExitFailed) << path;
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("not a recording"), std::string::npos) << r.err;
    }
    EXPECT_NE(runCli({"cells", csv, "--signal", "operations per second"}).err.find("does not hold"),
              std::string::npos);
}

TEST(CliCells, SignalNamesAndBadUsage) {
    const CliRun names = runCli({"cells", "--signals"});
    EXPECT_EQ(names.status, kExitOk);
    EXPECT_NE(names.out.find("\nexhaust gas temperature\n"), std::string::npos);
    EXPECT_EQ(runCli({"cells", "--signals", "--json"}).status, kExitOk);
    const std::string log = drive("usage.log", {{1, 18433, 0, 1000, 1000}});
    for (const std::vector<std::string>& words :
         std::vector<std::vector<std::string>>{{"cells"},
                                               {"cells", log, "--signal", "exhaust"},
                                               {"cells", log, "--setup", "a.kcfg", "--ecu"},
                                               {"cells", "--signals", log}}) {
        const CliRun r = runCli(words);
        EXPECT_EQ(r.status, kExitUsage) << ::testing::PrintToString(words);
    }
}
