#pragma once
// "print report..." (PrintReport1) of the `File1` menu: the report dialog on the image in the
// window (a connected controller's or a loaded file's), the error memory as last read from that
// controller, and the fields the settings file remembers (the installer's once, the vehicle's per
// controller serial number), remembered again whenever a report is made. The print preview is
// Qt's (a printer or a PDF); the files are asked for through the prompts seam.
#include <QString>

#include <functional>
#include <string>

#include "ui/dialogs/report_dialog.h"

class QTextDocument;

namespace kaldor {

class MainWindow;
struct ControllerSession;

class ReportMenu final : public ReportMaker {
public:
    // Shows the document in a print preview; tests replace it.
    using PreviewShow = std::function<void(QTextDocument& document, Paper paper)>;

    ReportMenu(MainWindow& window, ControllerSession& session);

    void printReport1Click();

    void setPreview(PreviewShow show) { m_preview = std::move(show); }
    // Today's date as the report states it; tests fix it.
    void setToday(std::function<std::string()> today) { m_today = std::move(today); }

    // ReportMaker
    void preview(const ReportFields& fields, Paper paper) override;
    void savePdf(const ReportFields& fields, Paper paper) override;
    void saveHtml(const ReportFields& fields, Paper paper) override;

    // The report of the window's set-up with these fields.
    [[nodiscard]] std::string html(const ReportFields& fields, Paper paper) const;

private:
    [[nodiscard]] std::uint32_t serial() const;
    void remember(const ReportFields& fields, Paper paper);
    // The file to write, asked for; empty when the user cancelled.
    [[nodiscard]] std::string askFile(const char* filterText, const char* extension);
    void tell(const std::string& path, const std::optional<std::string>& error);

    MainWindow& m_window;
    ControllerSession& m_session;
    PreviewShow m_preview;
    std::function<std::string()> m_today;
};

}  // namespace kaldor
