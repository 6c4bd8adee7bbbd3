#include "ui/pages/diagnostic/diagnostic_page.h"
#include "ui/setting_controls.h"

#include "live/live_signals.h"
#include "model/codec.h"
#include "service/error_memory.h"
#include "ui/bindings.h"
#include "ui/pages/diagnostic/data_logger_panel.h"
#include "ui/session.h"
#include "ui/ui_build.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

namespace kaldor {
namespace {

// Row 0 and column 0 are headings; column 1 of rows 1 to 32 holds one stored code each.
constexpr int kGridRows = static_cast<int>(kErrorGridRows) + 1;
constexpr int kErrorGridColumns = 2;
constexpr int kErrorListColumn = 1;
constexpr int kNumberColumnWidth = 24;
constexpr int kErrorColumnWidth = 420;

}  // namespace

DiagnosticPage::DiagnosticPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet4"));

    PageControlDiag = named<QTabWidget>(this, "PageControlDiag");
    TabSheet6 = named<QWidget>(PageControlDiag, "TabSheet6");
    TabSheet7 = named<QWidget>(PageControlDiag, "TabSheet7");
    TabSheet8 = named<QWidget>(PageControlDiag, "TabSheet8");
    PageControlDiag->addTab(TabSheet6, settingGroupTitle("TabSheet6"));
    PageControlDiag->addTab(TabSheet7, QStringLiteral("EOBD/OBD/OBDII"));
    PageControlDiag->addTab(TabSheet8, QStringLiteral("DataLogger"));

    buildErrorMemory();
    dataLogger = new DataLoggerPanel(TabSheet8);
    (new QVBoxLayout(TabSheet8))->addWidget(dataLogger);

    AbLEDobd = named<AbLED>(TabSheet7, "AbLEDobd");
    AbLEDobd->setCaption(QStringLiteral("MIL status"));
    AbLEDobd->setColor(QColor(240, 170, 30));
    auto* obd = new QVBoxLayout(TabSheet7);
    obd->addWidget(AbLEDobd, 0, Qt::AlignLeft | Qt::AlignTop);
    obd->addStretch(1);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(4, 4, 4, 4);
    page->addWidget(PageControlDiag);
}

DiagnosticPage::~DiagnosticPage() = default;

void DiagnosticPage::buildErrorMemory() {
    ButtonErrorShow = named<QPushButton>(TabSheet6, "ButtonErrorShow");
    ButtonErrorShow->setText(QStringLiteral("show errors"));
    AbColBitBtnErase = named<AbColBitBtn>(TabSheet6, "AbColBitBtnErase");
    AbColBitBtnErase->setTextOn(QStringLiteral("erase errors"));
    AbColBitBtnErase->setTextOff(QStringLiteral("erase errors"));
    AbColBitBtnErase->setColorOff(QColor(235, 120, 100));
    AbColBitBtnErase->setMinimumWidth(ButtonErrorShow->sizeHint().width());
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ButtonErrorShow);
    buttons->addWidget(AbColBitBtnErase);
    buttons->addStretch(1);

    StringGridErrorMemory = namedGrid(TabSheet6, "StringGridErrorMemory", kGridRows,
                                      kErrorGridColumns, 1, 1, kNumberColumnWidth);
    StringGridErrorMemory->setColumnWidth(kErrorListColumn, kErrorColumnWidth);
    StringGridErrorMemory->horizontalHeader()->setStretchLastSection(true);
    for (int row = 1; row < kGridRows; ++row)
        setCellText(StringGridErrorMemory, 0, row, QString::number(row));

    // The return to propane after an error sits with its label under the error memory.
    LabelDiagErrorAuto = settingLabel(TabSheet6, "ComboBoxGazAutoOn");
    ComboBoxGazAutoOn = settingList(TabSheet6, "ComboBoxGazAutoOn");
    auto* autoOn = new QHBoxLayout;
    autoOn->addWidget(LabelDiagErrorAuto);
    autoOn->addWidget(ComboBoxGazAutoOn);
    autoOn->addStretch(1);

    auto* ecu = new QVBoxLayout(TabSheet6);
    ecu->addLayout(buttons);
    ecu->addWidget(StringGridErrorMemory, 1);
    ecu->addLayout(autoOn);
}

void DiagnosticPage::attach(ControllerSession& session, LivePoller& poller,
                            const QString& baseFolder) {
    // The logger's display runs before the error watch, which comes last of the record.
    dataLogger->attach(session, poller, baseFolder);
    m_session = &session;
    m_errors = std::make_unique<ErrorMemory>(session.commands, session.state);
    session.live.add(LiveStage::Display, [this](const LiveRecord& record) { showRecord(record); });
    session.gate.onClick(ButtonErrorShow, [this] { ShowErrors(); });
    session.gate.onClick(AbColBitBtnErase, [this] { EraseErrors(); });
    // The error watch reads whatever the gate says: it only reads, and its list must be current
    // when the page is shown again.
    connect(this, &DiagnosticPage::errorCounterMoved, this, &DiagnosticPage::ShowErrors);
    m_bindings = std::make_unique<PageBindings>(this, session);
}

void DiagnosticPage::ShowErrors() {
    if (m_errors == nullptr)
        return;
    const std::vector<std::string> rows =
        m_errors->showErrors(m_session->timer, m_session->errorTexts, m_session->texts.noErrors);
    // Every row of the grid is written, so nothing of a longer earlier list stays.
    for (int row = 1; row < kGridRows; ++row) {
        const auto index = static_cast<std::size_t>(row - 1);
        setCellText(StringGridErrorMemory, kErrorListColumn, row,
                    index < rows.size() ? QString::fromStdString(rows[index]) : QString());
    }
    // Without a controller nothing was read: the list shows what the block held before.
    if (m_session->state.connected) {
        m_errorsRead = rows;
        m_errorsSerial = readField(m_session->image, FieldId::ControllerSerialNumber);
    }
}

std::optional<std::vector<std::string>> DiagnosticPage::errorsReadFrom(std::uint32_t serial) const {
    if (m_errorsSerial != serial)
        return std::nullopt;
    return m_errorsRead;
}

void DiagnosticPage::EraseErrors() {
    if (m_errors != nullptr)
        m_errors->eraseErrors();
}

void DiagnosticPage::refreshReturnToPropane() {
    m_bindings->refresh(RefreshStep::ReturnToGasAndMainMap);
}

void DiagnosticPage::showRecord(const LiveRecord& record) {
    if (m_errorWatch.moved(static_cast<std::uint16_t>(record.raw(LiveSignal::ErrorCounter))))
        emit errorCounterMoved();
}

}  // namespace kaldor
