// The data logger against the virtual controller, in real time.
#include <QFile>

#include "ui/pages/diagnostic/data_logger_panel.h"
#include "ui/pages/diagnostic/diagnostic_page.h"
#include "window_e2e_fixture.h"

namespace kaldor::e2etest {
namespace {

TEST_F(ConnectedWindow, AThreeSecondRecordingHoldsExactlyTheRecordsTheControllerSent) {
    DiagnosticPage& diagnostic = window->diagnosticPage();
    window->showPage(MainWindow::kPageDiagnostic);
    diagnostic.PageControlDiag->setCurrentWidget(diagnostic.TabSheet8);
    QTest::mouseClick(diagnostic.dataLogger->Button13, Qt::LeftButton);
    // Three seconds of polling: until the controller has answered 30 more live requests.
    const std::size_t before = controller->sentLiveRecords().size();
    EXPECT_TRUE(QTest::qWaitFor([&] { return controller->sentLiveRecords().size() >= before + 30; },
                                3 * kDisplayWaitMs));
    QTest::mouseClick(diagnostic.dataLogger->Button14, Qt::LeftButton);
    // The records sent, as "demo.log" lines; the file is one unbroken run of them, in order.
    std::string sent = "\n";
    for (const sim::LiveRecord& record : controller->sentLiveRecords()) {
        for (const std::uint16_t word : record)
            sent += std::to_string(word) + ',';
        sent += '\n';
    }
    QFile file(programFolder->filePath(QStringLiteral("demo.log")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::string logged = file.readAll().toStdString();
    const auto lines = std::count(logged.begin(), logged.end(), '\n');  // one per 100 ms
    EXPECT_TRUE(lines >= 25 && lines <= 32) << lines;
    EXPECT_NE(sent.find("\n" + logged), std::string::npos) << logged;
    EXPECT_TRUE(messages.empty()) << messages.front();
    EXPECT_TRUE(reports.empty());
}

}  // namespace
}  // namespace kaldor::e2etest
