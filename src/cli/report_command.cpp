// `report`: the set-up report of a configuration file or of the connected ECU, as HTML or PDF.
#include <QCoreApplication>
#include <QDate>
#include <QGuiApplication>

#include <algorithm>
#include <cctype>

#include "cli/command_context.h"
#include "cli/controller_connection.h"
#include "cli/setup_language.h"
#include "files/atomic_file.h"
#include "files/config_file.h"
#include "link/connection_scan.h"
#include "live/status_texts.h"
#include "report/report_render.h"
#include "service/error_memory.h"
#include "service/setup_report.h"

namespace kaldor::cli {
namespace {

enum class Format { Html, Pdf };

std::optional<Format> formatOf(const std::string& path) {
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos)
        return std::nullopt;
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    if (extension == "pdf")
        return Format::Pdf;
    if (extension == "html" || extension == "htm")
        return Format::Html;
    return std::nullopt;
}

std::string today() {
    return QDate::currentDate().toString(Qt::ISODate).toStdString();
}

// The options given over what the window remembered.
void takeGiven(const CommandContext& c, ReportFields& f) {
    const std::pair<const char*, std::string*> options[] = {
        {"--vehicle", &f.vehicle},   {"--registration", &f.registration},
        {"--odometer", &f.odometer}, {"--installer", &f.installer},
        {"--workshop", &f.workshop},
    };
    for (const auto& [name, field] : options)
        if (const std::optional<std::string> value = c.args.value(name))
            *field = *value;
}

}  // namespace

int reportCommand(const CommandContext& c) {
    const std::optional<std::string> out = c.args.value("-o");
    if (!out || out->empty())
        return c.fail("report needs -o OUT.pdf or -o OUT.html", kExitUsage);
    const std::optional<Format> format = formatOf(*out);
    if (!format)
        return c.fail("the report is written as .pdf or .html, not \"" + *out + "\"", kExitUsage);
    std::optional<Paper> paper;
    if (const std::optional<std::string> named = c.args.value("--paper")) {
        paper = paperNamed(*named);
        if (!paper)
            return c.fail("--paper takes a4 or letter", kExitUsage);
    }
    SetupTexts texts;
    if (const std::optional<int> status = chooseSetupTexts(c, texts))
        return *status;
    const bool fromEcu = c.args.has("--ecu");
    if (fromEcu == !c.args.positional().empty())
        return c.fail("report takes either a FILE or --ecu", kExitUsage);
    if (*format == Format::Pdf &&
        qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return c.fail("a PDF needs the graphical start-up of kaldor-cli; write .html instead");

    ReportFacts facts;
    facts.date = today();
    facts.programVersion = std::string(kProductTitle) + kVersionText;
    EcuImage image;
    std::unique_ptr<SettingsFile> settings;
    Connection k;
    if (fromEcu) {
        k = connect(c);
        if (k.status != kExitOk)
            return k.status;
        image = k.session->image();
        const ConnectionState& state = k.session->state();
        facts.revisions = ControllerRevisions{state.hardwareRevision, state.softwareRevision};
        ErrorMemory errors(k.session->commands(), k.session->state());
        NoTimer timer;
        ErrorTexts errorTexts;
        for (const auto& [code, text] : texts.errorTexts)
            (void)errorTexts.replace(static_cast<std::size_t>(code), text);
        StatusTexts statusTexts;
        for (const auto& [number, text] : texts.statusTexts)
            (void)setStatusText(statusTexts, static_cast<std::size_t>(number), text);
        facts.errorRows = errors.showErrors(timer, errorTexts, statusTexts.noErrors);
        settings = std::move(k.settings);
    } else {
        const std::string& path = c.args.positional().front();
        const std::optional<ConfigFile> file = readConfigFile(path);
        if (!file)
            return c.fail("\"" + path + "\": " + std::string(kFileErrorText));
        if (!file->complete())
            return c.fail(wrongSizeMessage(path, file->size));
        image.replace(file->bytes);
        int status = kExitOk;
        settings = loadSettings(c, status);
        if (status != kExitOk)
            return status;
    }
    // The command line reads what the window remembered and changes none of it.
    facts.fields =
        rememberedReportFields(*settings, readField(image, FieldId::ControllerSerialNumber));
    takeGiven(c, facts.fields);
    facts.paper = paper.value_or(rememberedPaper(*settings));

    const std::string html = setupReportHtml(image, texts, facts);
    const std::optional<std::string> error = *format == Format::Pdf
                                                 ? writeReportPdf(html, facts.paper, *out)
                                                 : writeFileAtomically(*out, html);
    if (error)
        return c.fail("\"" + *out + "\": " + *error);
    c.out << "report saved to " << *out << '\n';
    return kExitOk;
}

}  // namespace kaldor::cli
