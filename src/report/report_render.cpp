#include "report/report_render.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <functional>
#include <limits>

#include <string_view>

#include "files/atomic_file.h"

namespace kaldor {
namespace {

constexpr double kMarginMillimetres = 15;
constexpr int kPdfDotsPerInch = 300;
constexpr double kMetresPerInch = 0.0254;

// The pages of `document` laid out for `device`'s paint area (the page within its margins), the
// painter standing at that area's corner. `pages` limits how many are drawn.
void drawPages(QTextDocument& document, QPaintDevice& device, QPainter& painter, const QSizeF& area,
               int pages, const std::function<void()>& newPage) {
    document.documentLayout()->setPaintDevice(&device);
    document.setPageSize(area);
    const int count = std::min(document.pageCount(), pages);
    for (int page = 0; page < count; ++page) {
        if (page > 0)
            newPage();
        painter.save();
        const QRectF shown(0, page * area.height(), area.width(), area.height());
        painter.translate(0, -shown.top());
        painter.setClipRect(shown);
        document.drawContents(&painter, shown);
        painter.restore();
    }
}

}  // namespace

QPageLayout reportPageLayout(Paper paper) {
    const QPageSize size(paper == Paper::Letter ? QPageSize::Letter : QPageSize::A4);
    const QMarginsF margins(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres,
                            kMarginMillimetres);
    return QPageLayout(size, QPageLayout::Portrait, margins, QPageLayout::Millimeter);
}

std::unique_ptr<QTextDocument> reportDocument(const std::string& html) {
    auto document = std::make_unique<QTextDocument>();
    document->setDocumentMargin(0);
    document->setHtml(QString::fromStdString(html));
    return document;
}

void printReport(QTextDocument& document, QPagedPaintDevice& device) {
    QPainter painter(&device);
    // The device's size is the page within its margins, in its own pixels.
    const QSizeF area(device.width(), device.height());
    drawPages(document, device, painter, area, std::numeric_limits<int>::max(),
              [&device] { device.newPage(); });
}

QByteArray reportPdf(const std::string& html, Paper paper) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kPdfDotsPerInch);
        writer.setTitle(QStringLiteral("Set-up report"));
        writer.setCreator(QStringLiteral("kaldor"));
        writer.setPageLayout(reportPageLayout(paper));
        const std::unique_ptr<QTextDocument> document = reportDocument(html);
        printReport(*document, writer);
    }
    return bytes;
}

std::optional<std::string> writeReportPdf(const std::string& html, Paper paper,
                                          const std::string& path) {
    const QByteArray bytes = reportPdf(html, paper);
    if (bytes.isEmpty())
        return std::string("the PDF could not be made");
    return writeFileAtomically(
        path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

QImage reportFirstPage(const std::string& html, Paper paper, int dotsPerInch) {
    const QPageLayout layout = reportPageLayout(paper);
    QImage image(layout.fullRectPixels(dotsPerInch).size(), QImage::Format_RGB32);
    const int dotsPerMetre = static_cast<int>(dotsPerInch / kMetresPerInch + 0.5);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QRect area = layout.paintRectPixels(dotsPerInch);
    painter.translate(area.topLeft());
    const std::unique_ptr<QTextDocument> document = reportDocument(html);
    drawPages(*document, image, painter, QSizeF(area.size()), 1, [] {});
    return image;
}

}  // namespace kaldor
