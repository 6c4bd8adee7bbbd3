// The first page of the set-up report of the virtual controller, as a picture for the
// documentation:
//
//     report-shot OUT.png [OUT.html]      e.g. report-shot docs/setup-report.png
//
// The controller leaves the virtual factory, an installer changes a few settings and a cell of
// the main map, and the error memory holds two codes; the report is laid out on A4 as the PDF
// is and its first page drawn at 110 dots per inch. OUT.html, when given, keeps the report.
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <string>
#include <tuple>

#include "controller_core.h"
#include "diagnostics/error_codes.h"
#include "factory_image.h"
#include "files/atomic_file.h"
#include "link/connection_scan.h"
#include "live/status_texts.h"
#include "report/report_render.h"
#include "service/setup_report.h"

namespace {

constexpr int kDotsPerInch = 110;

kaldor::EcuImage installedImage(const kaldor::sim::ControllerCore& controller) {
    kaldor::EcuImage::Bytes bytes{};
    std::copy_n(controller.memory().begin(), bytes.size(), bytes.begin());
    kaldor::EcuImage image;
    image.replace(bytes);
    using kaldor::FieldId;
    kaldor::storeField(image, FieldId::MinSystemPressure, 1300);
    kaldor::storeField(image, FieldId::OnTemperature, 40);
    kaldor::storeField(image, FieldId::MainMap, 96, 3 * 8 + 4);
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: report-shot OUT.png [OUT.html]\n");
        return 2;
    }
    kaldor::sim::CoreSettings settings;
    settings.errors = {3, 15};
    const kaldor::sim::ControllerCore controller(settings);

    kaldor::ErrorBlock block;
    const auto errors = controller.errorBlock();
    static_assert(std::tuple_size_v<decltype(errors)> == kaldor::ErrorBlock::kSize);
    std::copy(errors.begin(), errors.end(), block.half(0));
    kaldor::ReportFacts facts;
    facts.date = "2026-12-10";
    facts.programVersion = std::string(kaldor::kProductTitle) + kaldor::kVersionText;
    facts.revisions =
        kaldor::ControllerRevisions{settings.hardwareRevision, settings.softwareRevision};
    facts.fields = {"Ford Transit 2.2 TDCi", "KR 4711X", "181 250 km", "J. Nowak",
                    "Gas & Diesel Service, Krakow"};
    facts.errorRows =
        kaldor::errorListRows(block, kaldor::ErrorTexts{}, kaldor::StatusTexts{}.noErrors);
    const std::string html = kaldor::setupReportHtml(installedImage(controller), {}, facts);

    if (argc == 3) {
        if (const auto error = kaldor::writeFileAtomically(argv[2], html)) {
            std::fprintf(stderr, "%s: %s\n", argv[2], error->c_str());
            return 1;
        }
    }
    const QImage page = kaldor::reportFirstPage(html, kaldor::Paper::A4, kDotsPerInch);
    if (!page.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "%s: could not be written\n", argv[1]);
        return 1;
    }
    return 0;
}
