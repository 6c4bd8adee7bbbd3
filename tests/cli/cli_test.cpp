// kaldor-cli without a controller: the command line, show, diff, log2csv and ports.
#include <gtest/gtest.h>

#include <unistd.h>
#include <regex>

#include <filesystem>

#include "cli/arguments.h"
#include "cli_run.h"
#include "model/fields.h"

namespace kaldor::cli::test {
namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(CliArguments, OptionsValuesAndPositionalWords) {
    const std::vector<OptionSpec> specs{{"--port", true}, {"--json", false}, {"-o", true}};
    const ParsedArguments p =
        parseArguments({"a", "--port=3", "-o", "out", "--json", "--", "--b"}, specs);
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.arguments.value("--port"), "3");
    EXPECT_EQ(p.arguments.value("-o"), "out");
    EXPECT_TRUE(p.arguments.has("--json"));
    EXPECT_EQ(p.arguments.positional(), (std::vector<std::string>{"a", "--b"}));

    EXPECT_EQ(parseArguments({"--port", "1", "--port", "2"}, specs).error, "--port given twice");
    EXPECT_EQ(parseArguments({"--json=1"}, specs).error, "--json takes no value");
    EXPECT_EQ(parseArguments({"-o"}, specs).error, "-o needs a value");
    EXPECT_EQ(parsePortNumber("16"), 16);
    for (const char* bad : {"0", "17", "", "1x", "-1", "99999999999"})
        EXPECT_FALSE(parsePortNumber(bad)) << bad;
}

TEST(CliUsage, HelpAndVersionSucceedBadUsageExitsTwo) {
    EXPECT_EQ(runCli({"--version"}).out, "kaldor-cli v4.706\n");
    EXPECT_TRUE(contains(runCli({"--help"}).out, "log2csv demo.log"));
    EXPECT_EQ(runCli({"write", "--help"}).status, kExitOk);

    const std::vector<std::vector<std::string>> bad{
        {},
        {"bogus"},
        {"read"},
        {"read", "-o"},
        {"write"},
        {"write", "a.kcfg", "--pin", "12a4"},
        {"show", "a", "b"},
        {"show", "--nope", "a"},
        {"diff", "a"},
        {"identify", "--port", "0"},
        {"identify", "--port", "x"},
        {"log2csv", "x.log", "--rpm-type", "25"},
        {"report", "a.kcfg"},
        {"report", "a.kcfg", "-o", "r.txt"},
        {"report", "-o", "r.html"},
        {"report", "a.kcfg", "--ecu", "-o", "r.html"},
        {"report", "a.kcfg", "-o", "r.html", "--paper", "a5"},
        {"--port", "1"},
        {"--json", "identify"},
    };
    for (const auto& words : bad) {
        const CliRun r = runCli(words);
        EXPECT_EQ(r.status, kExitUsage) << ::testing::PrintToString(words);
        EXPECT_EQ(r.out, "");
        EXPECT_TRUE(contains(r.err, "kaldor-cli: ")) << r.err;
    }
}

struct CliFiles : ::testing::Test {
    EcuImage image;
    std::string a = tempPath("a.kcfg");
    std::string b = tempPath("b.kcfg");

    void SetUp() override {
        storeField(image, FieldId::MainMapType, 1);  // 2:VACUM/RPM
        storeField(image, FieldId::MinSystemPressure, 1500);
        storeField(image, FieldId::MainMap, 42, 5);
        writeImageFile(a, image);
    }
};

TEST_F(CliFiles, ShowListsSettingsAsThePagesShowThemAndTheMainMapGrid) {
    storeField(image, FieldId::GasTempSensorType, 4);
    storeField(image, FieldId::ImageValidMarker, 0xAAAA);
    writeImageFile(a, image);
    const CliRun text = runCli({"show", a});
    ASSERT_EQ(text.status, kExitOk) << text.err;
    EXPECT_TRUE(contains(text.out, "[parameters]\n")) << text.out;
    EXPECT_TRUE(contains(text.out, "\n  minimum pressure [bar]: 1.5 bar\n"));
    EXPECT_TRUE(contains(text.out, "\n  gas temperature sensor: 4k7(PX208)\n"));
    EXPECT_TRUE(contains(text.out, "[main map] 2:VACUM/RPM\nbar/rpm"));
    EXPECT_TRUE(contains(text.out, "[internal]\n  ImageValidMarker: -21846\n"));
    EXPECT_FALSE(contains(text.out, "MainMap row")) << "the cells are in the grid only";
    EXPECT_FALSE(std::regex_search(text.out, std::regex("item [0-9]"))) << text.out;

    const CliRun json = runCli({"show", a, "--json"});
    EXPECT_TRUE(contains(
        json.out,
        R"({"page": "parameters", "group": "", "caption": "minimum pressure [bar]", "value": "1.5", "unit": "bar", "field": "MinSystemPressure"})"))
        << json.out;
    EXPECT_TRUE(contains(json.out, R"("type": "2:VACUM/RPM")"));
    EXPECT_TRUE(contains(json.out, R"(, "0", "0", "0", "0", "0", "42", "0", "0"])"));
    EXPECT_FALSE(std::regex_search(json.out, std::regex("item [0-9]")));

    const CliRun missing = runCli({"show", tempPath("none.kcfg")});
    EXPECT_EQ(missing.status, kExitFailed);
    EXPECT_TRUE(contains(missing.err, "Can't perform one of the following file operations"));
}

TEST_F(CliFiles, DiffExitsZeroWhenEqualAndOneWhenFilesDiffer) {
    writeImageFile(b, image);
    const CliRun same = runCli({"diff", a, b});
    EXPECT_EQ(same.status, kExitOk);
    EXPECT_EQ(same.out, "");

    storeField(image, FieldId::MinSystemPressure, 1200);
    writeImageFile(b, image);
    const CliRun differ = runCli({"diff", a, b});
    EXPECT_EQ(differ.status, kExitFailed);
    EXPECT_TRUE(contains(differ.out, "\nparameters / minimum pressure [bar]: 1.5 bar | 1.2 bar\n"));
    const CliRun json = runCli({"diff", a, b, "--json"});
    EXPECT_EQ(json.status, kExitFailed);
    EXPECT_TRUE(contains(json.out, R"("equal": false)"));
}

// A file that is not exactly 768 bytes is refused by name and size before anything is compared
// or sent (the write's refusal comes before the port scan, so no controller is needed).
TEST_F(CliFiles, FilesOfAnyOtherSizeAreRefused) {
    const std::vector<std::vector<std::string>> commands{
        {"diff", a, b}, {"diff", b, a}, {"write", "--yes", b}, {"write", "--maps-only", b}};
    for (const std::size_t size : {100u, 12288u}) {
        std::ofstream(b, std::ios::binary | std::ios::trunc) << std::string(size, '7');
        for (const auto& words : commands) {
            SCOPED_TRACE(words[0] + " " + words[1] + " " + std::to_string(size));
            const CliRun r = runCli(words);
            EXPECT_EQ(r.status, kExitFailed);
            EXPECT_EQ(r.out, "");
            EXPECT_EQ(r.err, "kaldor-cli: " + wrongSizeMessage(b, size) + "\n");
        }
    }
}

// The fields not given come from the settings file as the window left them, which the command
// line does not change; a file has no revisions and no error memory.
TEST_F(CliFiles, ReportOfAFileAsHtmlAndAsPdf) {
    const std::string settings = tempPath("report.INI");
    const std::string remembered =
        "[Report]\nInstaller=Ann\nWorkshop=South\nPaper=letter\n[Report 0]\nVehicle=car A\n";
    std::ofstream(settings, std::ios::binary) << remembered;
    const std::string html = tempPath("report.html");
    const CliRun r =
        runCli({"report", a, "-o", html, "--settings", settings, "--workshop", "North & Sons"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    const std::string report = fileText(html);
    for (const char* part : {"<td>Ann</td>", "<td>car A</td>", "<td>North &amp; Sons</td>",
                             "size:letter", "<p>not read</p>", "not known"})
        EXPECT_TRUE(contains(report, part)) << part;
    EXPECT_FALSE(std::regex_search(report, std::regex("item [0-9]")));
    EXPECT_EQ(fileText(settings), remembered);

    // Pages need the graphical start-up, which only the program itself makes.
    const std::string pdf = tempPath("report.pdf");
    EXPECT_EQ(runCli({"report", a, "-o", pdf}).status, kExitFailed);
    const CliRun program = runProgram({"report", a, "-o", pdf, "--paper", "a4"});
    ASSERT_EQ(program.status, kExitOk) << program.err;
    const std::string bytes = fileText(pdf);
    EXPECT_EQ(bytes.rfind("%PDF", 0), 0u);
    EXPECT_GT(bytes.size(), 10000u);
    // The settings under the pages' captions in the language named, found beside the program.
    ASSERT_EQ(runProgram({"report", a, "-o", html, "--language", "pol"}).status, kExitOk);
    EXPECT_TRUE(contains(fileText(html), "<h3>parametry</h3>"));
}

TEST(CliLog, CsvOnStandardOutputOrIntoAFile) {
    const std::string log = tempPath("demo.log");
    std::ofstream(log) << "1,2,3,\n4,5,6,\n";
    const CliRun out = runCli({"log2csv", log, "--rpm-type", "2"});
    ASSERT_EQ(out.status, kExitOk) << out.err;
    EXPECT_TRUE(contains(out.out, "time [s],engine speed [rpm]"));
    EXPECT_TRUE(contains(out.out, "\r\n0.1,"));

    const std::string csv = tempPath("demo.csv");
    const CliRun file = runCli({"log2csv", log, "-o", csv});
    EXPECT_EQ(file.out, "2 records written to " + csv + "\n");
    EXPECT_EQ(fileText(csv).substr(0, 40), out.out.substr(0, 40));
    EXPECT_EQ(runCli({"log2csv", tempPath("none.log")}).status, kExitFailed);
}

TEST(CliPorts, MappedDevicesFromTheSettingsFile) {
    const std::string settings = tempPath("ports.INI");
    std::ofstream(settings) << "[Ports]\nCOM2=" << settings << "\nCOM3=/nonexistent/tty\n";
    const CliRun r = runCli({"ports", "--settings", settings});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_TRUE(contains(r.out, "COM2  " + settings));
    EXPECT_TRUE(contains(r.out, "present\nCOM3  /nonexistent/tty      absent\n"));
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 16);
    EXPECT_EQ(runCli({"--settings", settings, "ports"}).out, r.out);  // options before the command
    EXPECT_EQ(runCli({"ports", "--settings", tempPath("none.INI")}).status, kExitFailed);
}

TEST(CliPorts, APortThatCannotBeOpenedIsSaidSoNotAsASilentController) {
    const std::string settings = tempPath("unopenable.INI");
    const std::string locked = tempPath("locked-tty");
    std::ofstream(locked) << "";
    std::filesystem::permissions(locked, std::filesystem::perms::none);
    std::ofstream(settings) << "[Ports]\nCOM3=/nonexistent/tty\nCOM4=" << locked << "\n";

    const CliRun missing = runCli({"identify", "--port", "3", "--settings", settings});
    EXPECT_EQ(missing.status, kExitFailed);
    EXPECT_TRUE(contains(missing.err, "COM3 (/nonexistent/tty): no such device")) << missing.err;
    EXPECT_FALSE(contains(missing.err, "no ECU answered"));

    // Root opens anything: the permission case needs an ordinary user, and POSIX permissions.
#ifdef _WIN32
    GTEST_SKIP() << "no POSIX permissions";
#else
    if (::geteuid() == 0)
        GTEST_SKIP() << "run as root";
#endif
    const CliRun denied = runCli({"identify", "--port", "4", "--settings", settings});
    EXPECT_EQ(denied.status, kExitFailed);
    EXPECT_TRUE(contains(denied.err, "permission denied; join the group")) << denied.err;
    EXPECT_TRUE(contains(runCli({"ports", "--settings", settings}).out,
                         "present, not usable: permission denied"));
}

TEST(CliProgram, ExitStatusOfTheRealProgram) {
    const std::string a = tempPath("p.kcfg");
    writeImageFile(a, EcuImage());
    EXPECT_EQ(runProgram({"diff", a, a}).status, kExitOk);
    EXPECT_EQ(runProgram({"diff", a, tempPath("none.kcfg")}).status, kExitFailed);
    const CliRun bad = runProgram({"write"});
    EXPECT_EQ(bad.status, kExitUsage);
    EXPECT_TRUE(contains(bad.err, "missing argument"));
    EXPECT_EQ(runProgram({"--version"}).out, "kaldor-cli v4.706\n");
}

// The language is named by code, file name or menu caption, in any case; the program finds its
// file beside itself. A name that is no language is bad usage, told with the names there are.
TEST(CliProgram, ShowAndDiffInTheLanguageNamed) {
    const std::string a = tempPath("l.kcfg");
    const std::string b = tempPath("m.kcfg");
    EcuImage image;
    writeImageFile(a, image);
    storeField(image, FieldId::MinSystemPressure, 1200);
    writeImageFile(b, image);
    for (const char* name : {"pol", "POLISH", "2", "Pol.txt"}) {
        const CliRun r = runProgram({"show", a, "--language", name});
        EXPECT_EQ(r.status, kExitOk) << name << r.err;
        EXPECT_TRUE(contains(r.out, "[parametry]\n")) << name;
    }
    const CliRun diff = runProgram({"diff", "--language=pol", a, b});
    EXPECT_EQ(diff.status, kExitFailed);
    EXPECT_TRUE(contains(diff.out, "\nparametry / ")) << diff.out;
    const CliRun bad = runProgram({"show", a, "--language", "klingon"});
    EXPECT_EQ(bad.status, kExitUsage);
    EXPECT_EQ(bad.out, "");
    EXPECT_TRUE(contains(bad.err, "'klingon' names no language; one of English (1, ang)"))
        << bad.err;
}

}  // namespace
}  // namespace kaldor::cli::test
