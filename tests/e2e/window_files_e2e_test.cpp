// The window against the virtual controller: the error memory on the "ECU" page and the
// configuration files of the File menu, on a controller that holds errors and a PIN.
#include "ui/pages/diagnostic/diagnostic_page.h"
#include "ui/ui_build.h"
#include "widgets/ab_col_bit_btn.h"
#include "window_e2e_fixture.h"

namespace kaldor::e2etest {
namespace {

constexpr Frame kReadErrorsFirstHalf{0xAA, 0x02, 0x00, 0x00, 0x56, 0xF2};
constexpr Frame kReadErrorsSecondHalf{0xAA, 0x02, 0x80, 0x80, 0x56, 0xF2};
constexpr Frame kEraseErrors{0x61, 0x00, 0x00, 0x00, 0x0B, 0xF2};
constexpr Frame kAutoCommand{0x52, 0x00, 0x00, 0x00, 0xFC, 0xF2};

TEST_F(WindowAgainstController, ErrorMemoryAndConfigurationFilesAgainstAControllerWithAPin) {
    sim::VirtualController::Options options;
    options.pin = kPin;
    options.errors = {7, 15};
    start(options);
    int pinQuestions = 0;
    logic->prompts().setPinQuestions(
        [&]() -> std::optional<PinDigits> {
            ++pinQuestions;
            return PinDigits{1, 2, 3, 4};
        },
        []() -> std::optional<PinDigits> { return std::nullopt; });
    std::vector<std::string> boxes;
    logic->prompts().setOkCancelSink([&](const OkCancelBox& box) {
        boxes.push_back(box.text);
        return Answer::Ok;
    });
    const QString configFolder = programFolder->path() + QStringLiteral("/parametry");
    const QString savedPath = configFolder + QStringLiteral("/car.kcfg");
    const QString otherPath = programFolder->path() + QStringLiteral("/other.kcfg");
    logic->prompts().setFileSinks(
        [&](const FileQuestion&) -> std::optional<FileAnswer> {
            return FileAnswer{otherPath.toStdString(), 0};
        },
        [&](const FileQuestion& q) -> std::optional<FileAnswer> {
            EXPECT_EQ(q.initialFolder, configFolder.toStdString());
            return FileAnswer{savedPath.toStdString(), 0};
        });
    showActive();
    window->menu().F10autoconnect1->trigger();
    expectConnectedOnCom1();
    expectLocked(false);
    ASSERT_EQ(pinQuestions, 1);

    // "show errors" reads both halves and lists the codes with their texts.
    window->showPage(MainWindow::kPageDiagnostic);
    DiagnosticPage& page = window->diagnosticPage();
    const auto row = [&page](int r) { return cellText(page.StringGridErrorMemory, 1, r); };
    std::size_t mark = controller->receivedFrames().size();
    QTest::mouseClick(page.ButtonErrorShow, Qt::LeftButton);
    EXPECT_EQ(countFrom(mark, kReadErrorsFirstHalf), 1u);
    EXPECT_EQ(countFrom(mark, kReadErrorsSecondHalf), 1u);
    EXPECT_EQ(row(1), QStringLiteral("7 ErrPres_H- Erorr Pressure High"));
    EXPECT_EQ(row(2), QStringLiteral("15 ErrRpm_H  - RPM's Error High"));
    EXPECT_EQ(row(3), QString());

    // "erase errors": the controller's error counter moves and the error watch reads the now
    // empty memory.
    mark = controller->receivedFrames().size();
    QTest::mouseClick(page.AbColBitBtnErase, Qt::LeftButton);
    EXPECT_EQ(countArrivedFrom(mark, kAutoCommand), 1u);
    EXPECT_EQ(countFrom(mark, kEraseErrors), 1u);
    EXPECT_TRUE(controller->errorCodes().empty());
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return row(1) == QStringLiteral("NO Errors"); }, kDisplayWaitMs))
        << row(1).toStdString();

    // A saved file is the controller's memory, without its PIN.
    window->menu().savetodisk1->trigger();
    QFile saved(savedPath);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray file = saved.readAll();
    saved.close();
    const auto memory = controller->image();
    ASSERT_EQ(static_cast<std::size_t>(file.size()), memory.size());
    for (std::size_t i = 0; i < memory.size(); ++i) {
        const bool pinByte = i == kPinByte || i == kPinByte + 1;
        EXPECT_EQ(static_cast<std::uint8_t>(file[static_cast<int>(i)]), pinByte ? 0 : memory[i])
            << "byte " << i;
    }

    // A full load of another car's file writes its settings but keeps this controller's serial
    // number and PIN; the refresh after it asks for the PIN again.
    QByteArray other = file;
    const auto putWord = [&other](std::size_t index, std::uint16_t value) {
        other[static_cast<int>(2 * index)] = static_cast<char>(value & 0xFF);
        other[static_cast<int>(2 * index + 1)] = static_cast<char>(value >> 8);
    };
    putWord(184, 1500);  // minimum system pressure
    putWord(242, 0x0101);
    putWord(243, 0x0202);
    putWord(374, packPin(9, 9, 9, 9));
    QFile otherFile(otherPath);
    ASSERT_TRUE(otherFile.open(QIODevice::WriteOnly));
    otherFile.write(other);
    otherFile.close();
    window->menu().loadtoECU1->trigger();
    EXPECT_EQ(boxes, std::vector<std::string>{"load to ECU"});
    EXPECT_EQ(controller->readWord(184), 1500);
    EXPECT_EQ(controller->readWord(242) | (std::uint32_t{controller->readWord(243)} << 16),
              kSerialNumber);
    EXPECT_EQ(controller->readWord(374), kPin);
    EXPECT_EQ(pinQuestions, 1);  // the PIN given at connection is not asked again
    window->showPage(MainWindow::kPageReadings);
    expectLocked(false);

    // A map load takes the main map of a file and nothing else of it.
    for (int i = 167; i <= 294; ++i) {
        other[i] = '\x33';
    }
    putWord(184, 2500);
    ASSERT_TRUE(otherFile.open(QIODevice::WriteOnly));
    otherFile.write(other);
    otherFile.close();
    const auto beforeMap = controller->image();
    window->menu().LoadMap1->trigger();
    EXPECT_EQ(boxes.back(), "LoadMap");
    const auto afterMap = controller->image();
    for (std::size_t i = 0; i < afterMap.size(); ++i) {
        const bool cell = i >= 167 && i <= 294;
        EXPECT_EQ(afterMap[i], cell ? 0x33 : beforeMap[i]) << "byte " << i;
    }
    EXPECT_TRUE(window->timer()->isActive());
    EXPECT_TRUE(messages.empty()) << messages.front();
    EXPECT_TRUE(reports.empty());
}

}  // namespace
}  // namespace kaldor::e2etest
