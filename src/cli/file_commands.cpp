// The commands that work on files alone: show, diff and log2csv.
#include <algorithm>
#include <fstream>
#include <optional>
#include <vector>

#include "cli/command_context.h"
#include "cli/json_text.h"
#include "cli/setup_language.h"
#include "files/config_file.h"
#include "live/log_csv.h"
#include "maps/main_map_editor.h"
#include "model/units.h"
#include "service/config_compare.h"
#include "service/setup_description.h"

namespace kaldor::cli {
namespace {

// The map editor shows the map without sending anything; this sender is never asked to.
class NoSender final : public FieldSender {
public:
    bool sendField(FieldId, std::size_t) override { return true; }
    void pause(int) override {}
    [[nodiscard]] bool connected() const override { return false; }
    [[nodiscard]] bool linkReady() const override { return false; }
};

std::string shortNote(const std::string& path, std::uintmax_t size) {
    return "\"" + path + "\" holds " + std::to_string(size) + " bytes, a configuration file " +
           std::to_string(EcuImage::kSize);
}

std::optional<ConfigFile> readOrTell(const CommandContext& c, const std::string& path) {
    std::optional<ConfigFile> file = readConfigFile(path);
    if (!file)
        c.fail("\"" + path + "\": " + std::string(kFileErrorText));
    return file;
}

// The main map as its grid shows it: row 0 the column axis, column 0 the row axis, only the
// columns the map type shows.
std::vector<std::vector<std::string>> mainMapGrid(const EcuImage& image) {
    EcuImage copy = image;
    NoSender sender;
    PlainProgress progress;
    MainMapEditor editor(copy, sender, progress);
    const MainMapLayout layout = editor.ShowMainMap();
    std::vector<std::vector<std::string>> rows;
    for (int r = 0; r < kMainMapGridRows; ++r) {
        std::vector<std::string> row;
        for (int col = 0; col < layout.colCount; ++col)
            row.push_back(editor.grid().text(col, r));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string mapTypeName(const EcuImage& image) {
    const unsigned type = readField(image, FieldId::MainMapType);
    const MapTypeDef* def = mapTypeDef(type);
    return def != nullptr ? def->item : "unknown type " + std::to_string(type);
}

void printGrid(std::ostream& out, const std::vector<std::vector<std::string>>& grid) {
    std::vector<std::size_t> widths;
    for (const auto& row : grid)
        for (std::size_t col = 0; col < row.size(); ++col) {
            widths.resize(std::max(widths.size(), row.size()));
            widths[col] = std::max(widths[col], row[col].size());
        }
    for (const auto& row : grid) {
        std::string line;
        for (std::size_t col = 0; col < row.size(); ++col)
            line +=
                (col == 0 ? "" : "  ") + std::string(widths[col] - row[col].size(), ' ') + row[col];
        out << line << '\n';
    }
}

std::string linesJson(const std::vector<SetupLine>& lines, bool placed) {
    std::string out = "[";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const SetupLine& l = lines[i];
        out += std::string(i == 0 ? "\n" : ",\n") + "    {";
        if (placed)
            out += "\"page\": " + jsonString(l.page) + ", \"group\": " + jsonString(l.group) + ", ";
        else
            out += "\"group\": " + jsonString(l.group) + ", ";
        out += "\"caption\": " + jsonString(l.caption) + ", \"value\": " + jsonString(l.value) +
               ", \"unit\": " + jsonString(l.unit) +
               ", \"field\": " + jsonString(std::string(fieldDef(l.field).name)) + "}";
    }
    return out + (lines.empty() ? "]" : "\n  ]");
}

void showJson(std::ostream& out, const std::string& path, const ConfigFile& file,
              const EcuImage& image, const SetupTexts& texts) {
    const SetupDescription d = describeSetup(image, texts);
    out << "{\n  \"file\": " << jsonString(path) << ",\n  \"bytes\": " << file.length
        << ",\n  \"settings\": " << linesJson(d.settings, true)
        << ",\n  \"maps\": " << linesJson(d.maps, false)
        << ",\n  \"internal\": " << linesJson(d.internal, false)
        << ",\n  \"mainMap\": {\n    \"type\": " << jsonString(mapTypeName(image))
        << ",\n    \"grid\": [\n";
    const auto grid = mainMapGrid(image);
    for (std::size_t r = 0; r < grid.size(); ++r)
        out << "      " << jsonStrings(grid[r]) << (r + 1 < grid.size() ? ",\n" : "\n");
    out << "    ]\n  }\n}\n";
}

std::string lineText(const SetupLine& line) {
    return line.caption + ": " + line.value + (line.unit.empty() ? "" : " " + line.unit);
}

// Page by page and group by group as the window shows them; the main map as its grid, the other
// maps cell by cell, what no page shows last.
void showText(std::ostream& out, const EcuImage& image, const SetupTexts& texts) {
    const SetupDescription d = describeSetup(image, texts);
    std::string page;
    std::string group;
    for (const SetupLine& line : d.settings) {
        if (line.page != page) {
            out << (page.empty() ? "" : "\n") << "[" << line.page << "]\n";
            page = line.page;
            group.clear();
        }
        if (line.group != group) {
            if (!line.group.empty())
                out << "  " << line.group << ":\n";
            group = line.group;
        }
        out << (line.group.empty() ? "  " : "    ") << lineText(line) << '\n';
    }
    out << "\n[main map] " << mapTypeName(image) << "\n";
    printGrid(out, mainMapGrid(image));
    group.clear();
    for (const SetupLine& line : d.maps) {
        if (line.field == FieldId::MainMap || line.field == FieldId::MainMapColumnAxis ||
            line.field == FieldId::MainMapRowAxis)
            continue;
        if (line.group != group) {
            out << "\n[" << line.group << "]\n";
            group = line.group;
        }
        out << "  " << lineText(line) << '\n';
    }
    out << "\n[internal]\n";
    for (const SetupLine& line : d.internal)
        out << "  " << lineText(line) << '\n';
}

std::string differencesJson(const std::vector<Difference>& list) {
    std::string out = "[";
    for (std::size_t i = 0; i < list.size(); ++i)
        out += std::string(i == 0 ? "\n" : ",\n") + "    {\"name\": " + jsonString(list[i].name) +
               ", \"first\": " + jsonString(list[i].first) +
               ", \"second\": " + jsonString(list[i].second) + "}";
    return out + (list.empty() ? "]" : "\n  ]");
}

}  // namespace

int showCommand(const CommandContext& c) {
    SetupTexts texts;
    if (const std::optional<int> status = chooseSetupTexts(c, texts))
        return *status;
    const std::string& path = c.args.positional()[0];
    const std::optional<ConfigFile> file = readOrTell(c, path);
    if (!file)
        return kExitFailed;
    if (!file->complete())
        c.err << kProgramName << ": " << shortNote(path, file->size)
              << "; shown as far as it goes, the rest as zero\n";
    EcuImage image;
    image.replace(file->bytes);
    if (c.args.has("--json")) {
        showJson(c.out, path, *file, image, texts);
        return kExitOk;
    }
    showText(c.out, image, texts);
    return kExitOk;
}

int diffCommand(const CommandContext& c) {
    const std::string& first = c.args.positional()[0];
    const std::string& second = c.args.positional()[1];
    SetupTexts texts;
    if (const std::optional<int> status = chooseSetupTexts(c, texts))
        return *status;
    // A file that is not exactly 768 bytes is no configuration: refused, as a load refuses it.
    const FileComparison comparison = compareFiles(first, second, texts);
    if (!comparison.diff)
        return c.fail(comparison.message);
    const ImageDiff& diff = *comparison.diff;
    const bool equal = diff.identical();
    if (c.args.has("--json")) {
        c.out << "{\n  \"first\": " << jsonString(first)
              << ",\n  \"second\": " << jsonString(second)
              << ",\n  \"equal\": " << (equal ? "true" : "false")
              << ",\n  \"differences\": " << differencesJson(diff.entries)
              << ",\n  \"controllerOwned\": " << differencesJson(diff.controllerOwned) << "\n}\n";
    } else if (!equal) {
        c.out << diffText(diff, first, second);
    }
    return equal ? kExitOk : kExitFailed;
}

int log2csvCommand(const CommandContext& c) {
    const std::string& log = c.args.positional()[0];
    int rpmType = 0;
    if (const auto text = c.args.value("--rpm-type")) {
        const std::optional<int> n = parseNumberIn(*text, 0, kRpmSignalTypeCount - 1);
        if (!n)
            return c.fail(
                "--rpm-type takes a number from 0 to " + std::to_string(kRpmSignalTypeCount - 1),
                kExitUsage);
        rpmType = *n;
    }
    const std::optional<std::string> output = c.args.value("-o");
    if (output && *output != "-") {
        const CsvExport result = exportDemoLogCsv(log, rpmType, *output);
        if (!result.written)
            return c.fail(result.message);
        c.out << result.records << " records written to " << *output << '\n';
        return kExitOk;
    }
    const DemoLogCsv table = demoLogCsv(log, rpmType);
    if (!table.csv)
        return c.fail(table.message);
    c.out << *table.csv;
    return c.out.good() ? kExitOk : c.fail("could not write the CSV to standard output");
}

}  // namespace kaldor::cli
