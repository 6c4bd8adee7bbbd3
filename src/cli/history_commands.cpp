// `history`: the controller history from the command line. Listing, showing and comparing need
// no controller; `diff --ecu` and `restore` connect, and the connection keeps its own entry.
#include <algorithm>
#include <array>
#include <sstream>

#include "cli/command_context.h"
#include "cli/controller_connection.h"
#include "cli/json_text.h"
#include "cli/setup_language.h"
#include "files/config_file.h"
#include "model/fields.h"
#include "model/parameter_edits.h"
#include "service/broken_write.h"
#include "service/config_compare.h"
#include "service/config_transfer.h"
#include "service/history_recorder.h"

namespace kaldor::cli {
namespace {

constexpr std::size_t kMaxSerialDigits = 10;

// The options each form of the command takes, beside --settings and --serial.
struct HistoryForm {
    std::string_view name;  // "" for the list
    std::size_t minWords;   // positional words after the form's name
    std::size_t maxWords;
    std::array<std::string_view, 5> options;
};

constexpr std::array<HistoryForm, 5> kForms{{
    {"", 0, 0, {"--json"}},
    {"list", 0, 0, {"--json"}},
    {"show", 1, 1, {"--json", "--language"}},
    {"diff", 1, 2, {"--ecu", "--port", "--yes", "--language"}},
    {"restore", 1, 1, {"--verify", "--pin", "--port", "--yes"}},
}};
constexpr std::array<std::string_view, 8> kFormOptions{
    "--json", "--ecu", "--port", "--yes", "--verify", "--pin", "--serial", "--language"};

std::string revisionsText(const HistoryEntry& e) {
    return "Rev.H:" + std::to_string(e.hardwareRevision) +
           " Rev.S:" + std::to_string(e.softwareRevision);
}

std::optional<std::uint32_t> parseSerial(const std::string& text) {
    if (text.empty() || text.size() > kMaxSerialDigits ||
        !std::all_of(text.begin(), text.end(), [](char ch) { return ch >= '0' && ch <= '9'; }))
        return std::nullopt;
    const unsigned long long n = std::stoull(text);
    if (n > 0xFFFFFFFFull)
        return std::nullopt;
    return static_cast<std::uint32_t>(n);
}

void tellNotes(const CommandContext& c, std::uint32_t serial,
               const std::vector<std::string>& notes) {
    for (const std::string& note : notes)
        c.err << kProgramName << ": history of ECU " << serial << ": " << note << '\n';
}

// What every form works on: the history folder of the settings and the --serial chosen.
struct HistoryPlace {
    std::optional<ControllerHistory> history;
    std::optional<std::uint32_t> serial;
    int status = kExitOk;
};

HistoryPlace historyPlace(const CommandContext& c) {
    HistoryPlace p;
    const std::unique_ptr<SettingsFile> settings = loadSettings(c, p.status);
    if (p.status != kExitOk)
        return p;
    if (const auto text = c.args.value("--serial")) {
        p.serial = parseSerial(*text);
        if (!p.serial) {
            p.status = c.fail("--serial takes a serial number (0-4294967295)", kExitUsage);
            return p;
        }
    }
    const HistorySettings s = readHistorySettings(*settings);
    if (s.folder.empty()) {
        p.status = c.fail(
            "no data folder for the controller history: set HOME or "
            "[History] Folder= in the settings file");
        return p;
    }
    p.history.emplace(s.folder);
    return p;
}

struct Found {
    std::uint32_t serial = 0;
    HistoryEntry entry;
    EcuImage::Bytes bytes{};
    int status = kExitOk;
};

// The entry with this id, in the history of --serial or of whichever ECU has one.
Found findEntry(const CommandContext& c, const HistoryPlace& place, const std::string& id) {
    Found f;
    const std::vector<std::uint32_t> serials =
        place.serial ? std::vector<std::uint32_t>{*place.serial} : place.history->serials();
    std::vector<std::uint32_t> holders;
    for (const std::uint32_t serial : serials) {
        const HistoryListing listing = place.history->index(serial);
        for (const HistoryEntry& e : listing.entries)
            if (e.id == id) {
                holders.push_back(serial);
                f.serial = serial;
                f.entry = e;
            }
    }
    if (holders.empty()) {
        f.status = c.fail("no history entry " + id +
                          (place.serial ? " for ECU " + std::to_string(*place.serial) : "") +
                          ": see " + kProgramName + " history");
        return f;
    }
    if (holders.size() > 1) {
        f.status =
            c.fail("entry " + id + " is kept for more than one ECU (" + std::to_string(holders[0]) +
                       ", " + std::to_string(holders[1]) + "): give --serial",
                   kExitUsage);
        return f;
    }
    std::string note;
    const std::optional<EcuImage::Bytes> bytes = place.history->read(f.serial, f.entry, &note);
    if (!bytes) {
        f.status = c.fail("history of ECU " + std::to_string(f.serial) + ": " + note);
        return f;
    }
    f.bytes = *bytes;
    return f;
}

std::string entryJson(const HistoryEntry& e) {
    return "{\"id\": " + jsonString(e.id) + ", \"time\": " + jsonString(historyUtcText(e.time)) +
           ", \"localTime\": " + jsonString(historyLocalText(e.time)) +
           ", \"what\": " + jsonString(e.what) +
           ", \"hardwareRevision\": " + std::to_string(e.hardwareRevision) +
           ", \"softwareRevision\": " + std::to_string(e.softwareRevision) +
           ", \"programVersion\": " + jsonString(e.programVersion) + "}";
}

int listForm(const CommandContext& c, const HistoryPlace& place) {
    const std::vector<std::uint32_t> serials =
        place.serial ? std::vector<std::uint32_t>{*place.serial} : place.history->serials();
    const bool json = c.args.has("--json");
    std::vector<std::string> allNotes;
    std::string controllers;
    std::size_t shown = 0;
    for (const std::uint32_t serial : serials) {
        HistoryListing listing = place.history->list(serial);
        tellNotes(c, serial, listing.notes);
        for (const std::string& note : listing.notes)
            allNotes.push_back("ECU " + std::to_string(serial) + ": " + note);
        std::reverse(listing.entries.begin(), listing.entries.end());
        if (json) {
            std::string entries;
            for (std::size_t i = 0; i < listing.entries.size(); ++i)
                entries +=
                    std::string(i == 0 ? "\n" : ",\n") + "        " + entryJson(listing.entries[i]);
            controllers += std::string(shown == 0 ? "\n" : ",\n") +
                           "    {\"serial\": " + std::to_string(serial) + ", \"entries\": [" +
                           entries + (entries.empty() ? "]}" : "\n      ]}");
            ++shown;
            continue;
        }
        if (listing.entries.empty())
            continue;
        c.out << (shown == 0 ? "" : "\n") << "ECU " << serial << '\n';
        for (const HistoryEntry& e : listing.entries)
            c.out << "  " << e.id << "  " << historyLocalText(e.time) << "  " << revisionsText(e)
                  << "  " << e.programVersion << "  " << e.what << '\n';
        ++shown;
    }
    if (json) {
        c.out << "{\n  \"folder\": " << jsonString(place.history->folder())
              << ",\n  \"controllers\": [" << controllers << (controllers.empty() ? "]" : "\n  ]")
              << ",\n  \"notes\": " << jsonStrings(allNotes) << "\n}\n";
    } else if (shown == 0) {
        c.out << "No controller history"
              << (place.serial ? " of ECU " + std::to_string(*place.serial) : std::string())
              << " in " << place.history->folder() << '\n';
    }
    return kExitOk;
}

int showForm(const CommandContext& c, const HistoryPlace& place, const std::string& id) {
    const Found f = findEntry(c, place, id);
    if (f.status != kExitOk)
        return f.status;
    const bool json = c.args.has("--json");
    // The entry file is a configuration file: `show` shows it.
    const std::string path =
        place.history->controllerFolder(f.serial) + "/" + id + std::string(kHistoryEntryExtension);
    std::vector<std::string> words{path};
    if (json)
        words.emplace_back("--json");
    if (const std::optional<std::string> language = c.args.value(kLanguageOption.name))
        words.insert(words.end(), {std::string(kLanguageOption.name), *language});
    const ParsedArguments parsed = parseArguments(words, {{"--json", false}, kLanguageOption});
    std::ostringstream shown;
    const int status = showCommand(CommandContext{parsed.arguments, c.environment, shown, c.err});
    if (status != kExitOk)
        return status;
    if (json) {
        c.out << "{\n\"serial\": " << f.serial << ",\n\"entry\": " << entryJson(f.entry)
              << ",\n\"configuration\": " << shown.str() << "}\n";
        return kExitOk;
    }
    c.out << "id: " << f.entry.id << "\nECU: " << f.serial
          << "\ntime: " << historyLocalText(f.entry.time) << "\nwhat happened: " << f.entry.what
          << "\nrevisions: " << revisionsText(f.entry) << "\nprogram: " << f.entry.programVersion
          << "\n\n"
          << shown.str();
    return kExitOk;
}

int diffForm(const CommandContext& c, const HistoryPlace& place, const std::string& id,
             const std::optional<std::string>& file) {
    if (file && c.args.has("--ecu"))
        return c.fail("history diff compares with a FILE or with --ecu, not both", kExitUsage);
    if (!c.args.has("--ecu") && (c.args.has("--port") || c.args.has("--yes")))
        return c.fail("--port and --yes go with --ecu", kExitUsage);
    SetupTexts texts;
    if (const std::optional<int> status = chooseSetupTexts(c, texts))
        return *status;
    const Found f = findEntry(c, place, id);
    if (f.status != kExitOk)
        return f.status;
    const std::string label = "entry " + id;
    ImageDiff diff;
    std::string otherLabel;
    if (file) {
        const std::string path = place.history->controllerFolder(f.serial) + "/" + id +
                                 std::string(kHistoryEntryExtension);
        const FileComparison comparison = compareFiles(path, *file, texts);
        if (!comparison.diff)
            return c.fail(comparison.message);
        if (!comparison.message.empty())
            c.err << kProgramName << ": " << comparison.message << '\n';
        diff = *comparison.diff;
        otherLabel = *file;
    } else if (c.args.has("--ecu")) {
        Connection k = connect(c);
        if (k.status != kExitOk)
            return k.status;
        // The history never holds a PIN: the ECU's is no difference.
        diff = diffImages(historyImage(f.bytes), historyImage(savedConfigBytes(k.session->image())),
                          texts);
        otherLabel = "ECU";
    } else {
        // Without a second side: what changed from the entry before it.
        const HistoryListing listing = place.history->list(f.serial);
        const auto at = std::find_if(listing.entries.begin(), listing.entries.end(),
                                     [&](const HistoryEntry& e) { return e.id == id; });
        if (at == listing.entries.begin() || at == listing.entries.end())
            return c.fail(id + " is the first entry of ECU " + std::to_string(f.serial) +
                          ": give a FILE or --ecu to compare it with");
        const HistoryEntry& before = *(at - 1);
        const std::optional<EcuImage::Bytes> bytes = place.history->read(f.serial, before);
        if (!bytes)
            return c.fail("entry " + before.id + " can not be read");
        diff = diffImages(historyImage(*bytes), historyImage(f.bytes), texts);
        c.out << diffText(diff, "entry " + before.id, label);
        return diff.identical() ? kExitOk : kExitFailed;
    }
    c.out << diffText(diff, label, otherLabel);
    return diff.identical() ? kExitOk : kExitFailed;
}

int restoreForm(const CommandContext& c, const HistoryPlace& place, const std::string& id) {
    std::optional<PinDigits> pin;
    if (const int status = readPinOption(c, pin); status != kExitOk)
        return status;
    // The entry first, so a wrong id costs no scan.
    const Found f = findEntry(c, place, id);
    if (f.status != kExitOk)
        return f.status;
    Connection k = connect(c);
    if (k.status != kExitOk)
        return k.status;
    if (const int status = checkPinBeforeWriting(c, k, pin); status != kExitOk)
        return status;
    ControllerSession& s = *k.session;
    const std::uint32_t connected = readField(s.image(), FieldId::ControllerSerialNumber);
    if (connected != f.serial)
        c.err << kProgramName << ": entry " << id << " was kept for ECU " << f.serial
              << "; the ECU on COM" << s.state().portNumber << " is " << connected
              << " and keeps its serial number and PIN\n";
    NoTimer timer;
    k.progress->begin("restoring");
    ConfigTransfer transfer(s.transfer(), s.state(), s.image(), s.prompts(), "", k.history.get());
    const bool restored =
        restoreHistoryEntry(f.entry, f.bytes, transfer, s.state(), *k.history, s.prompts(),
                            kNoConnectionMessage, *k.progress, timer);
    // No controls to show the image in between.
    const WriteRun written = restored ? transfer.finishLoad(*k.progress, timer) : WriteRun{};
    k.progress->end();
    if (!restored)
        return kExitFailed;
    // A restore that did not finish is never called written.
    if (written.refused())
        return c.fail(brokenWriteMessage(written, kAdviceRunWriteAgain));
    if (!written.complete())
        return kExitFailed;
    c.out << "Entry " << id << " (" << historyLocalText(f.entry.time) << ", " << f.entry.what
          << ") written to the ECU on COM" << s.state().portNumber << '\n';
    return c.args.has("--verify") ? verifyWrite(c, k) : kExitOk;
}

}  // namespace

int historyCommand(const CommandContext& c) {
    const std::vector<std::string>& words = c.args.positional();
    const std::string formName = words.empty() ? std::string() : words[0];
    const auto form = std::find_if(kForms.begin(), kForms.end(),
                                   [&](const HistoryForm& f) { return f.name == formName; });
    if (form == kForms.end())
        return c.fail("unknown history command '" + formName + "': list, show, diff or restore",
                      kExitUsage);
    const std::size_t n = words.empty() ? 0 : words.size() - 1;
    if (n < form->minWords)
        return c.fail("history " + formName + " needs an entry id", kExitUsage);
    if (n > form->maxWords)
        return c.fail("unexpected argument '" + words.back() + "'", kExitUsage);
    for (const std::string_view option : kFormOptions) {
        const bool allowed =
            option == "--serial" ||
            std::find(form->options.begin(), form->options.end(), option) != form->options.end();
        if (c.args.has(option) && !allowed)
            return c.fail(std::string(option) + " does not go with history" +
                              (formName.empty() ? std::string() : " " + formName),
                          kExitUsage);
    }
    const HistoryPlace place = historyPlace(c);
    if (place.status != kExitOk)
        return place.status;
    if (formName.empty() || formName == "list")
        return listForm(c, place);
    const std::string& id = words[1];
    if (formName == "show")
        return showForm(c, place, id);
    if (formName == "diff")
        return diffForm(c, place, id, words.size() > 2 ? std::optional(words[2]) : std::nullopt);
    return restoreForm(c, place, id);
}

}  // namespace kaldor::cli
