#include "ui/main_window.h"

#include "files/settings_location.h"
#include "ui/accessibility/accessible_names.h"

#include "link/connection_scan.h"
#include "ui/map_grid/grid_headers.h"
#include "ui/pages/adjustment/adjustment_page.h"
#include "ui/pages/advanced/advanced_page.h"
#include "ui/pages/diagnostic/diagnostic_page.h"
#include "ui/pages/dna/dna_page.h"
#include "ui/pages/emu/emu_page.h"
#include "ui/pages/parameters/parameters_page.h"
#include "ui/pages/readings/readings_page.h"
#include "ui/pages/storage/storage_page.h"
#include "ui/setting_controls.h"
#include "ui/side_panel.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QProgressBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

namespace kaldor {

namespace {

// The page tabs are drawn as raised buttons; the active page's button is pressed in.
constexpr const char* kTabButtonStyle =
    "QTabBar::tab {"
    "  border: 2px outset #d8d8d8; border-radius: 2px; background: #e4e4e4;"
    "  padding: 3px 8px; margin: 2px 1px 3px 1px; min-width: 16px; min-height: 16px; }"
    "QTabBar::tab:selected { border-style: inset; background: #c4c4c4; }"
    "QTabBar::tab:hover:!selected { background: #eeeeee; }";

constexpr const char* kConfigurationFolder = "parametry";

}  // namespace

MainWindow::MainWindow(const Folders& folders, QWidget* parent)
    : QMainWindow(parent),
      m_baseFolder(folders.baseFolder.left(kMaxBaseFolderChars)),
      m_programFolder(folders.programFolder),
      m_programName(folders.programName) {
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QString::fromLatin1(kProductTitle) + QString::fromLatin1(kVersionText));

    m_hooks.openFolder = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    m_hooks.reportException = [this](const QString& text) {
        QMessageBox::critical(this, QApplication::applicationName(), text);
    };

    buildMenu();
    buildPages();
    // The status line: what the window has to say outside any dialog, such as a change the port
    // refused.
    QStatusBar* status = statusBar();
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setAccessibleName(QStringLiteral("status line"));
    copyHotKeys();
    writeFixedGridHeaders(this);

    // No minimum size is set on the window: the platform would clamp a resize before the size
    // rule sees it, and the rule re-centres the window besides.
    resize(kBuiltInWidth, kBuiltInHeight);
    centreOnScreen();

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(kTimerIntervalMs);
    connect(m_timer, &QTimer::timeout, this, &MainWindow::Timer1Timer);
    m_timer->start();
    m_progressSink = std::make_unique<ProgressBarSink>(progressBar(), true);
    m_timerSwitch = std::make_unique<QtTimerSwitch>(m_timer);

    // The menu keys win over the controls' own editing keys, whichever control of the window has
    // the focus (but Ctrl+A selects the text of a text entry).
    qApp->installEventFilter(this);

    // Names, buddies and the tab order once every control exists.
    prepareAccessibility(*this);
}

MainWindow::~MainWindow() {
    if (qApp != nullptr) {
        qApp->removeEventFilter(this);
    }
}

QString MainWindow::settingsFilePath() const {
    return QString::fromStdString(settingsLocation().file);
}

QString MainWindow::settingsFallbackPath() const {
    return QString::fromStdString(settingsLocation().fallback);
}

SettingsLocation MainWindow::settingsLocation() const {
    // Beside the program while its folder may be written (a portable copy), else the user's own.
    return locateSettings(m_programFolder.toStdString(),
                          (m_programName + QStringLiteral(".INI")).toStdString());
}

QString MainWindow::configurationFolder() const {
    return m_baseFolder + QLatin1Char('/') + QString::fromLatin1(kConfigurationFolder);
}

void MainWindow::buildPages() {
    auto* central = new QWidget(this);
    m_sidePanel = new SidePanel(central);

    m_pageControl = new QTabWidget(central);
    m_pageControl->setObjectName(QStringLiteral("PageControl1"));
    m_pageControl->tabBar()->setStyleSheet(QString::fromLatin1(kTabButtonStyle));
    m_pageControl->setUsesScrollButtons(true);

    m_readings = new ReadingsPage(m_pageControl);
    m_parameters = new ParametersPage(m_pageControl);
    m_adjustment = new AdjustmentPage(m_pageControl);
    m_diagnostic = new DiagnosticPage(m_pageControl);
    m_advanced = new AdvancedPage(m_pageControl);
    m_dna = new DnaPage(m_pageControl);
    m_emu = new EmuPage(m_pageControl);
    m_storage = new StoragePage(m_pageControl);
    const std::array<QWidget*, kPageCount> pages{
        m_readings, m_parameters, m_adjustment, m_diagnostic, m_advanced, m_dna, m_emu, m_storage};
    for (int i = 0; i < kPageCount; ++i) {
        // Opaque pages: a gauge or label changing on a page then repaints the page alone, not
        // the page control's frame beneath it, on every live record.
        pages[i]->setAutoFillBackground(true);
        // Pages 4, 5 and 7 have no caption in any language.
        m_pageControl->addTab(pages[i], settingPageTitle(pages[i]->objectName()));
    }
    m_pageControl->setTabVisible(kPageAdvanced, false);
    m_pageControl->setTabVisible(kPageDna, false);
    m_pageControl->setCurrentIndex(kPageReadings);

    m_sidePanel->setAutoFillBackground(true);
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    row->addWidget(m_sidePanel);
    row->addWidget(m_pageControl, 1);
    setCentralWidget(central);

    connect(m_sidePanel->AbLEDStatus, &AbLED::clicked, this, &MainWindow::F5diagnostic1Click);
    connect(m_sidePanel->AbColBitBtnPasBenzyna, &AbColBitBtn::clicked, this,
            &MainWindow::petro1Click);
    connect(m_sidePanel->AbColBitBtnPasAutomat, &AbColBitBtn::clicked, this,
            &MainWindow::auto1Click);
    connect(m_sidePanel->AbColBitBtnPasGaz, &AbColBitBtn::clicked, this,
            &MainWindow::propane1Click);
}

QProgressBar* MainWindow::progressBar() const {
    return m_sidePanel->ProgressBar1;
}

void MainWindow::showPage(int index) {
    // A page whose tab is hidden (the controller is locked) is never shown, whichever way it
    // is asked for: the status lamp's click too leads to the diagnostic page.
    if (index >= 0 && index < m_pageControl->count() && m_pageControl->isTabVisible(index)) {
        m_pageControl->setCurrentIndex(index);
    }
}

int MainWindow::currentPage() const {
    return m_pageControl->currentIndex();
}

void MainWindow::setTabShown(int page, bool shown) {
    if (page >= 0 && page < m_pageControl->count()) {
        m_pageControl->setTabVisible(page, shown);
    }
}

bool MainWindow::isTabShown(int page) const {
    return page >= 0 && page < m_pageControl->count() && m_pageControl->isTabVisible(page);
}

void MainWindow::FormActivate() {
    if (m_firstActivationDone) {
        return;
    }
    m_firstActivationDone = true;
    if (!runGuarded(m_hooks.onFirstActivation)) {
        return;
    }
    setTabShown(kPageAdvanced, true);
    setTabShown(kPageDna, true);
    m_advanced->showAdvancedControls();
    m_adjustment->showAdvancedControls();
    m_dna->showAdvancedControls();
}

void MainWindow::FormClose() {
    m_timer->stop();
    runGuarded(m_hooks.onClose);
}

bool MainWindow::event(QEvent* event) {
    const bool handled = QMainWindow::event(event);
    if (event->type() == QEvent::WindowActivate) {
        FormActivate();
    }
    return handled;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

}  // namespace kaldor
