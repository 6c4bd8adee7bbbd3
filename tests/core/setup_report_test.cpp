// The set-up report: what the installer hands over holds the controller, every setting once, the
// whole main map in the grid's colours, the error memory, the changes from the factory settings,
// and never the PIN.
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>

#include "diagnostics/error_codes.h"
#include "files/language_file.h"
#include "files/languages.h"
#include "live/status_texts.h"
#include "maps/map_colour.h"
#include "model/controller_defaults.h"
#include "service/setup_report.h"

namespace kaldor {
namespace {

constexpr std::uint32_t kSerial = 20261210;
constexpr std::uint16_t kPin = 0x8642;  // digits 8 6 4 2

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

EcuImage knownImage() {
    EcuImage image;
    applyControllerDefaults(image, {}, kPin);
    storeField(image, FieldId::ControllerSerialNumber, kSerial);
    storeField(image, FieldId::MinSystemPressure, 1500);
    storeField(image, FieldId::GasTempSensorType, 2);
    storeField(image, FieldId::MainMap, 77, 5);
    return image;
}

ReportFacts knownFacts() {
    ErrorBlock block;
    block.setWord(0, 3);
    block.setWord(1, 21);
    block.setWord(ErrorBlock::kCountWord, 2);
    ReportFacts facts;
    facts.date = "2026-12-10";
    facts.programVersion = "v4.706";
    facts.revisions = ControllerRevisions{2, 4};
    facts.fields = {"Transit 2.2", "KR 12345", "181000 km", "J. Nowak", "Gas & Diesel <Ltd>"};
    facts.errorRows = errorListRows(block, ErrorTexts{}, "NO Errors");
    return facts;
}

TEST(SetupReport, HoldsTheControllerEverySettingTheMapAndTheErrors) {
    const EcuImage image = knownImage();
    const std::string html = setupReportHtml(image, {}, knownFacts());

    EXPECT_NE(html.find("<td>20261210</td>"), std::string::npos);
    EXPECT_NE(html.find("Gas &amp; Diesel &lt;Ltd&gt;"), std::string::npos);
    EXPECT_EQ(html.find("8642"), std::string::npos) << "the PIN's digits are in the report";
    EXPECT_FALSE(std::regex_search(html, std::regex("item [0-9]")));

    // Every setting once, under its caption, as its page shows it.
    const SetupDescription d = describeSetup(image, {}, 4);
    for (const SetupLine& l : d.settings) {
        const std::string shown = l.unit.empty() ? l.value : l.value + " " + l.unit;
        EXPECT_EQ(occurrences(
                      html, "<th width=\"45%\">" + l.caption + "</th><td>" + shown + "</td></tr>"),
                  1u)
            << l.caption;
    }
    // The 128 cells of the main map, each in the colour its grid paints it.
    EXPECT_EQ(occurrences(html, "<td class=\"cell\" bgcolor="), 128u);
    const Rgb c = MapCellColour(77);
    char colour[8];
    std::snprintf(colour, sizeof colour, "#%02x%02x%02x", c.red, c.green, c.blue);
    EXPECT_NE(html.find(std::string("bgcolor=\"") + colour), std::string::npos);

    const ErrorTexts texts;
    EXPECT_NE(html.find(texts.describe(3)), std::string::npos);
    EXPECT_NE(html.find(texts.describe(21)), std::string::npos);
}

TEST(SetupReport, ListsTheChangesFromTheFactorySettingsFirst) {
    const EcuImage image = knownImage();
    const EcuImage factory = factoryImageFor(image);
    const std::string html = setupReportHtml(image, {}, knownFacts());
    const std::size_t settings = html.find("<h2>Settings</h2>");
    for (const FieldId id : {FieldId::MinSystemPressure, FieldId::GasTempSensorType}) {
        const std::string entry = "<tr><td>" + setupElementName(image, id, 0) + "</td><td>" +
                                  setupElementValue(image, id, 0) + "</td><td>" +
                                  setupElementValue(factory, id, 0) + "</td></tr>";
        EXPECT_LT(html.find(entry), settings) << entry;
    }
    EXPECT_LT(html.find(setupElementName(image, FieldId::MainMap, 5)), settings);
    // Nothing else differs: the serial number and the PIN are the controller's own.
    EXPECT_EQ(occurrences(html.substr(0, settings), "<tr><td>"), 3u);

    ReportFacts unread = knownFacts();
    unread.revisions.reset();
    unread.errorRows.reset();
    const std::string plain = setupReportHtml(factory, {}, unread);
    EXPECT_NE(plain.find("none: the factory settings"), std::string::npos);
    EXPECT_NE(plain.find("<h2>Error memory</h2><p>not read</p>"), std::string::npos);
    EXPECT_NE(plain.find("not known"), std::string::npos);
    // An empty error memory says so in a line of its own, not as error number 1.
    unread.errorRows = errorListRows(ErrorBlock{}, ErrorTexts{}, "NO Errors");
    const std::string none = setupReportHtml(factory, {}, unread);
    EXPECT_NE(none.find("<h2>Error memory</h2><p>NO Errors</p>\n"), std::string::npos);
    EXPECT_EQ(none.find("<th>1</th>"), std::string::npos);
}

TEST(SetupReport, FieldsAreRememberedOnceAndTheVehiclePerSerial) {
    SettingsFile settings;
    rememberReportFields(settings, 7, {"car A", "AB 1", "100", "Ann", "North"});
    rememberReportFields(settings, 8, {"car B", "CD 2", "200", "Ann", "South"});
    const ReportFields a = rememberedReportFields(settings, 7);
    EXPECT_EQ(a.vehicle + "|" + a.registration + "|" + a.odometer, "car A|AB 1|100");
    EXPECT_EQ(a.workshop, "South");  // the installer's fields are the last given
    EXPECT_EQ(rememberedReportFields(settings, 9).vehicle, "");

    // Unchanged fields write nothing; a line break never ends up in the file.
    SettingsFile empty;
    rememberReportFields(empty, 7, {});
    EXPECT_EQ(empty.text(), "");
    rememberReportFields(empty, 7, {"two\nlines", "", "", "", ""});
    EXPECT_EQ(rememberedReportFields(empty, 7).vehicle, "two lines");

    EXPECT_EQ(rememberedPaper(empty), Paper::A4);
    rememberPaper(empty, Paper::Letter);
    EXPECT_EQ(rememberedPaper(empty), Paper::Letter);
    EXPECT_EQ(paperNamed("LETTER"), Paper::Letter);
    EXPECT_FALSE(paperNamed("a5"));
}

LanguageFile shippedLanguage(std::string_view fileName) {
    const LanguageDef* found = nullptr;
    for (const LanguageDef& l : languages())
        if (l.fileName == fileName)
            found = &l;
    return readLanguageFile(KALDOR_LANG_DIR "/" + std::string(fileName), found->codePage);
}

TEST(SetupReport, EveryShippedLanguageHasEveryReportText) {
    for (const LanguageDef& language : languages()) {
        SCOPED_TRACE(std::string(language.fileName));
        const SetupTexts texts = setupTexts(shippedLanguage(language.fileName));
        ASSERT_EQ(texts.reportTexts.size(), std::size(kReportCaptions));
        for (const ReportCaptionText& c : kReportCaptions) {
            const std::string text = reportCaption(texts, c.caption);
            EXPECT_FALSE(text.empty() || text.front() == ' ' || text.back() == ' ')
                << static_cast<int>(c.caption) << " \"" << text << "\"";
        }
    }
    // The English file says what the built-in texts say.
    const SetupTexts english = setupTexts(shippedLanguage("ang.txt"));
    for (const ReportCaptionText& c : kReportCaptions)
        EXPECT_EQ(reportCaption(english, c.caption), c.english);
}

TEST(SetupReport, HeadingsInTheChosenLanguage) {
    const std::string html =
        setupReportHtml(knownImage(), setupTexts(shippedLanguage("pol.txt")), knownFacts());
    EXPECT_NE(html.find("<h1>Raport konfiguracji</h1>"), std::string::npos);
    EXPECT_NE(html.find("<title>Raport konfiguracji</title>"), std::string::npos);
    EXPECT_NE(html.find("<tr><th>numer seryjny</th><td>20261210</td></tr>"), std::string::npos);
    EXPECT_EQ(html.find("serial number"), std::string::npos);
    // The error memory's "none" row is a status text of the language too.
    StatusTexts status;
    for (const auto& [number, text] : setupTexts(shippedLanguage("pol.txt")).statusTexts)
        (void)setStatusText(status, static_cast<std::size_t>(number), text);
    EXPECT_EQ(status.noErrors, "BRAK błędów");
}

}  // namespace
}  // namespace kaldor
