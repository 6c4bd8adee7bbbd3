#pragma once
// The set-up report's HTML laid out on pages by Qt's text layout: the PDF kaldor-cli and the
// window save, the print the window's preview sends to a printer, and a page as a picture. Needs
// a QGuiApplication (the fonts).
#include <QImage>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QTextDocument>

#include <memory>
#include <optional>
#include <string>

#include "service/setup_report.h"

namespace kaldor {

// The paper with the report's margins.
[[nodiscard]] QPageLayout reportPageLayout(Paper paper);

// The document the pages are laid out from.
[[nodiscard]] std::unique_ptr<QTextDocument> reportDocument(const std::string& html);

// The document on `device`'s pages (a PDF writer or a printer) in the device's page layout
// (reportPageLayout unless the user chose another).
void printReport(QTextDocument& document, QPagedPaintDevice& device);

// The report as a PDF file, written to a temporary file and renamed; nothing when written,
// otherwise why not.
[[nodiscard]] std::optional<std::string> writeReportPdf(const std::string& html, Paper paper,
                                                        const std::string& path);
// The PDF's bytes.
[[nodiscard]] QByteArray reportPdf(const std::string& html, Paper paper);

// The first page as the PDF shows it, on white, `dotsPerInch` fine.
[[nodiscard]] QImage reportFirstPage(const std::string& html, Paper paper, int dotsPerInch);

}  // namespace kaldor
