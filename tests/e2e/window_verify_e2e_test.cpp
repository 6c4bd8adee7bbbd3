// "verify ECU" against the virtual controller that silently ignores every Nth write: the lost
// write is found, and writing the PC's values puts it right.
#include <QStatusBar>
#include <QTableWidget>

#include "service/ecu_verify.h"
#include "service/setup_description.h"
#include "window_e2e_fixture.h"

namespace kaldor::e2etest {
namespace {

std::vector<std::string> namesOf(const std::vector<Difference>& list) {
    std::vector<std::string> names;
    for (const Difference& d : list) {
        names.push_back(d.name);
    }
    return names;
}

std::string firstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

TEST_F(WindowAgainstController, VerifyFindsTheEditWhoseFrameWasLostAndWritingThePcsValuesMends) {
    sim::VirtualController::Options options;
    options.faults.ignoreWriteEvery = 2;
    start(options);
    showActive();
    window->menu().F10autoconnect1->trigger();
    expectConnectedOnCom1();
    activate();
    QTest::keyClick(window.get(), Qt::Key_F4);
    auto* grid = window->findChild<QTableWidget*>(QStringLiteral("StringGridMapa"));
    ASSERT_NE(grid, nullptr);

    // Row 9, column 4: the first plus arrives, the second is lost.
    constexpr std::size_t kCellByte = 167 + 8 * 8 + 3;
    const std::uint8_t before = controller->readByte(kCellByte);
    const QRect cell = grid->visualRect(grid->model()->index(9, 4));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    QTest::keyClick(grid, Qt::Key_Plus);
    ASSERT_TRUE(QTest::qWaitFor([&] { return controller->readByte(kCellByte) == before + 1; },
                                kDisplayWaitMs));
    QTest::keyClick(grid, Qt::Key_Plus);
    ASSERT_EQ(logic->session().image.byte(kCellByte), before + 2);

    differenceChoices = {DifferenceChoice::WritePcValues};
    window->menu().verifyECU1->trigger();
    ASSERT_EQ(differences.size(), 2u);
    EXPECT_EQ(namesOf(differences[0].diff.entries),
              std::vector<std::string>{
                  setupElementName(logic->session().image, FieldId::MainMap, 8 * 8 + 3)});
    EXPECT_TRUE(differences[0].diff.controllerOwned.empty());
    EXPECT_EQ(differences[1].summary, kMsgEcuMatches);
    EXPECT_EQ(controller->readByte(kCellByte), before + 2);
    expectImageMatchesController(true);
    EXPECT_TRUE(window->timer()->isActive());
    EXPECT_TRUE(messages.empty()) << messages.front();
    EXPECT_TRUE(reports.empty());
}

// "load to ECU" writes the 384 words in order; the controller ignores the 185th write, word
// 184, and the verification that follows the load on its own reports it.
TEST_F(WindowAgainstController, TheVerificationAfterLoadToEcuReportsTheWordTheControllerIgnored) {
    sim::VirtualController::Options options;
    options.faults.ignoreWriteEvery = 185;
    start(options);
    const QString path = programFolder->path() + QStringLiteral("/other.kcfg");
    logic->prompts().setOkCancelSink([](const OkCancelBox&) { return Answer::Ok; });
    logic->prompts().setFileSinks(
        [&](const FileQuestion&) -> std::optional<FileAnswer> {
            return FileAnswer{path.toStdString(), 0};
        },
        [](const FileQuestion&) -> std::optional<FileAnswer> { return std::nullopt; });
    showActive();
    window->menu().F10autoconnect1->trigger();
    expectConnectedOnCom1();

    auto file = controller->image();
    const std::uint16_t pressure = controller->readWord(184) == 1500 ? 1600 : 1500;
    file[2 * 184] = static_cast<std::uint8_t>(pressure & 0xFF);
    file[2 * 184 + 1] = static_cast<std::uint8_t>(pressure >> 8);
    QFile other(path);
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write(reinterpret_cast<const char*>(file.data()), static_cast<qint64>(file.size()));
    other.close();

    differenceChoices = {DifferenceChoice::WritePcValues};
    window->menu().loadtoECU1->trigger();
    ASSERT_EQ(differences.size(), 2u);
    EXPECT_EQ(differences[0].title, "verify ECU");
    EXPECT_EQ(namesOf(differences[0].diff.entries),
              std::vector<std::string>{"parameters / minimum pressure [bar]"});
    EXPECT_EQ(firstLine(differences[1].summary), kMsgEcuMatches);
    EXPECT_EQ(controller->readWord(184), pressure);
    EXPECT_TRUE(messages.empty()) << messages.front();
    EXPECT_TRUE(reports.empty());
}

// The cable pulled partway through "load to ECU": the controller hangs up after 200 word writes
// and the port refuses the frames after it. The window says how far the write got and what to
// do, ends unconnected (the caption of an unconnected program, no polling) and verifies nothing.
TEST_F(WindowAgainstController, ALoadTheControllerHangsUpOnSaysHowFarItGotAndEndsUnconnected) {
    sim::VirtualController::Options options;
    options.faults.hangUpAfterWrites = 200;
    start(options);
    const QString filePath = programFolder->path() + QStringLiteral("/car.kcfg");
    QFile file(filePath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(768, '\x55'));
    file.close();
    logic->prompts().setOkCancelSink([](const OkCancelBox&) { return Answer::Ok; });
    logic->prompts().setFileSinks(
        [&](const FileQuestion&) -> std::optional<FileAnswer> {
            return FileAnswer{filePath.toStdString(), 0};
        },
        [](const FileQuestion&) -> std::optional<FileAnswer> { return std::nullopt; });
    showActive();
    window->menu().F10autoconnect1->trigger();
    expectConnectedOnCom1();

    window->menu().loadtoECU1->trigger();
    ASSERT_EQ(messages.size(), 1u);
    const std::string& told = messages[0];
    EXPECT_EQ(told.rfind("The write to the ECU broke off at frame ", 0), 0u) << told;
    EXPECT_NE(told.find(" of 386: the port refused it"), std::string::npos) << told;
    EXPECT_NE(told.find("mix of old and new values"), std::string::npos) << told;
    EXPECT_NE(told.find("Reconnect with F10, then load again."), std::string::npos) << told;
    EXPECT_EQ(window->statusBar()->currentMessage().toStdString(), told);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("KALDOR DIESEL v4.706"));
    EXPECT_FALSE(logic->session().state.connected);
    EXPECT_FALSE(logic->session().state.linkReady);
    EXPECT_TRUE(differences.empty()) << "nothing to verify against";
    EXPECT_EQ(controller->commandCount(0xD1), 200u);
    EXPECT_TRUE(QTest::qWaitFor([&] { return statusCaption() == QStringLiteral("error COMx"); },
                                kDisplayWaitMs));
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_TRUE(reports.empty());
}

}  // namespace
}  // namespace kaldor::e2etest
