// The binding table walked control by control, and the faults of the connection and the live
// display that the window must survive.
#include <QCheckBox>
#include <QComboBox>

#include <cmath>

#include "link/connection_scan.h"
#include "model/codec.h"
#include "ui/bindings.h"
#include "ui/pages/emu/emu_page.h"
#include "widgets/ab_num_spin.h"
#include "window_logic_fixture.h"

namespace kaldor::test {
namespace {

// A value the control can hold: the middle of a spin editor's range, a list's last item, a tick.
double sampleFor(const QWidget* control) {
    if (const auto* spin = qobject_cast<const AbNumSpin*>(control))
        return (spin->minimum() + spin->maximum()) / 2;
    if (const auto* box = qobject_cast<const QComboBox*>(control))
        return box->count() - 1;
    return 1;
}

// The smallest step the control's pattern shows: "#0.0#" shows hundredths.
double displayStep(const QWidget* control) {
    const auto* spin = qobject_cast<const AbNumSpin*>(control);
    if (spin == nullptr)
        return 0;
    const QString format = spin->format();
    const int point = format.indexOf(QLatin1Char('.'));
    return point < 0 ? 1 : std::pow(10.0, -(format.size() - point - 1));
}

// Every bound control shows its field after a refresh, and what it shows stores back to the
// same raw value, or to one whose shown value is one display step away (the show and store
// constants differ slightly).
TEST_F(LogicTest, EveryBindingShowsItsFieldAndStoresItBack) {
    EcuImage sample;
    storeField(sample, FieldId::RpmSignalType, 3);
    // Twice: a field another one converts (an engine speed by the rpm signal type listed after
    // it) is stored again with that one's sample in place.
    for (int pass = 0; pass < 2; ++pass) {
        for (const ControlBinding& b : controlBindings()) {
            const QWidget* control = find<QWidget>(b.control);
            ASSERT_NE(control, nullptr) << b.control;
            ASSERT_TRUE(storeShown(sample, b.field, sampleFor(control))) << b.control;
        }
    }
    std::copy(sample.bytes().begin(), sample.bytes().end(), controller.memory.begin());
    showActive();
    connect();
    const EcuImage& image = logic->session().image;
    for (const ControlBinding& b : controlBindings()) {
        if (b.refreshStep == RefreshStep::None)
            continue;
        const QWidget* control = find<QWidget>(b.control);
        EcuImage back = image;
        ASSERT_TRUE(storeShown(back, b.field, shownOf(control))) << b.control;
        const double before = *shownValue(image, b.field);
        const double after = *shownValue(back, b.field);
        EXPECT_LE(std::abs(after - before), displayStep(control) + 1e-9)
            << b.control << ": raw " << readField(image, b.field) << " stores back as "
            << readField(back, b.field);
    }
}

TEST_F(LogicTest, PageRejectedTwiceIsReadAgainAndConnects) {
    controller.failPageReads = 2;
    showActive();
    connect();
    EXPECT_TRUE(logic->session().state.linkReady);
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(window->windowTitle().endsWith(QStringLiteral("COM1 SN: 0")));
    for (std::size_t i = 0; i < EcuImage::kSize; ++i)
        ASSERT_EQ(logic->session().image.byte(i), controller.memory[i]) << "byte " << i;
}

TEST_F(LogicTest, PageRejectedThreeTimesLeavesTheProgramUnconnected) {
    showActive();
    connect();  // a controller was connected before: its caption must go
    controller.failPageReads = 3;
    connect();
    EXPECT_EQ(messages, std::vector<std::string>{kMsgImageReadFailed});
    EXPECT_EQ(window->windowTitle(), QStringLiteral("KALDOR DIESEL v4.706"));
    EXPECT_TRUE(window->menusLocked());
    EXPECT_FALSE(window->isTabShown(MainWindow::kPageParameters));
    pollOnce();
    pollOnce();
    EXPECT_TRUE(log.writes().empty()) << "no live polling without a connection";
    EXPECT_EQ(window->sidePanel().AbLEDStatus->caption(), QStringLiteral("error COMx"));
}

TEST_F(LogicTest, EmulatorExtremesMoveWhileAnotherPageIsShown) {
    controller.hardware = 2;  // the simple DNA emulator group is part of the EMU page
    showActive();
    connect();
    ASSERT_EQ(window->currentPage(), MainWindow::kPageReadings);
    controller.setRecordWord(65, 0x04);  // the controller measures the emulator inputs
    controller.setRecordWord(9, 1000);
    pollOnce();
    EXPECT_EQ(window->emuPage().LabelDnaMaxMinK1->text(),
              QStringLiteral("K1 max: 3.831 | min: 3.831"));
}

}  // namespace
}  // namespace kaldor::test
