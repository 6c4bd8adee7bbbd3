#pragma once
// The main window TForm1: identity, folders, the summary panel, the eight pages, the menu with
// its keys, Timer1, first activation, closing and the size rule. The menu and its keys are built
// in main_menu.cpp, the command slots run in menu_commands.cpp, the size rule is
// window_size_rule.cpp's.
//
// The window owns its controls and the timer; what the commands do belongs to the rest of the
// program, which plugs it in through MainWindowHooks. A hook that is not set does nothing.
// Every hook runs guarded: an exception it throws is reported (reportException) and ends that
// handler's remaining steps, and the window stays open.
#include <QMainWindow>
#include <QString>
#include <QUrl>

#include <array>
#include <functional>
#include <memory>

#include "ui/qt_adapters.h"

class QAction;
class QMenu;
class QMenuBar;
class QProgressBar;
class QTabWidget;
class QTimer;

namespace kaldor {

struct SettingsLocation;

class SidePanel;
class ReadingsPage;
class ParametersPage;
class AdjustmentPage;
class DiagnosticPage;
class AdvancedPage;
class DnaPage;
class EmuPage;
class StoragePage;

// Where the program finds its files, handed in by main().
struct Folders {
    QString baseFolder;     // working folder at start: language files, "parametry"
    QString programFolder;  // the executable's folder: settings file, fonts, help
    QString programName;    // the executable's base name: the settings file is <name>.INI
};

struct MainWindowHooks {
    std::function<void()> onAutoconnect;      // F10 / "[F10] autoconnect": the port scan
    std::function<void()> onSaveToDisk;       // "save to disk"
    std::function<void()> onLoadToEcu;        // "load to ECU"
    std::function<void()> onLoadMap;          // "LoadMap"
    std::function<void()> onVerifyEcu;        // "verify ECU"
    std::function<void()> onCompareWithFile;  // "compare with file..."
    std::function<void()> onExportLogCsv;     // "export log as CSV"
    std::function<void()> onViewLog;          // "view log..."
    std::function<void()> onHistory;          // "history..."
    std::function<void()> onPrintReport;      // "print report..."
    std::function<void()> onReset;            // "RESET ECU"
    std::function<void()> onUndo;             // "undo", Ctrl+Z
    std::function<void()> onRedo;             // "redo", Ctrl+Y and Ctrl+Shift+Z
    std::function<void()> onFuelModeDiesel;   // diesel button, "-> diesel", Ctrl+P
    std::function<void()> onFuelModeAuto;     // auto button, "-> auto", Ctrl+A
    std::function<void()> onFuelModePropane;  // propane button, "-> propane", Ctrl+L
    std::function<void()> onTimerTick;        // every Timer1 tick: the live polling step
    // First activation, before the advanced controls are shown: apply the stored settings
    // (window geometry, oscilloscope channels).
    std::function<void()> onFirstActivation;
    // Closing, after Timer1 has stopped: close the link, write the settings file.
    std::function<void()> onClose;
    // Opens a folder in the desktop's file manager; QDesktopServices::openUrl unless replaced.
    std::function<void(const QUrl&)> openFolder;
    // Shows the text of an exception that escaped a handler; a message box unless replaced.
    std::function<void(const QString&)> reportException;
};

// The menu's items, by their names.
struct MainMenu {
    QMenuBar* MainMenu1 = nullptr;
    QMenu* File1 = nullptr;
    QAction* savetodisk1 = nullptr;
    QAction* loadtoECU1 = nullptr;
    QAction* exit1 = nullptr;
    QAction* LoadMap1 = nullptr;
    QAction* verifyECU1 = nullptr;
    QAction* comparewithfile1 = nullptr;
    QAction* exportlogasCSV1 = nullptr;
    QAction* viewlog1 = nullptr;
    QAction* history1 = nullptr;
    QAction* PrintReport1 = nullptr;
    QMenu* port1 = nullptr;
    QAction* F10autoconnect1 = nullptr;
    QMenu* options1 = nullptr;
    QAction* F2readings1 = nullptr;
    QAction* F3parameters1 = nullptr;
    QAction* F4adjustment1 = nullptr;
    QAction* F5diagnostic1 = nullptr;
    QAction* petro1 = nullptr;
    QAction* auto1 = nullptr;
    QAction* propane1 = nullptr;
    QAction* RESET1 = nullptr;
    QAction* undo1 = nullptr;
    QAction* redo1 = nullptr;
    QMenu* language1 = nullptr;  // filled with the language items by the language support
    QAction* help1 = nullptr;
};

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kBuiltInWidth = 1064;
    static constexpr int kBuiltInHeight = 631;
    static constexpr int kMinWidth = 800;
    static constexpr int kMinHeight = 600;
    static constexpr int kMaxBaseFolderChars = 511;
    static constexpr int kTimerIntervalMs = 50;

    // Page indexes of PageControl1.
    static constexpr int kPageReadings = 0;
    static constexpr int kPageParameters = 1;
    static constexpr int kPageAdjustment = 2;
    static constexpr int kPageDiagnostic = 3;
    static constexpr int kPageAdvanced = 4;
    static constexpr int kPageDna = 5;
    static constexpr int kPageEmu = 6;
    static constexpr int kPageStorage = 7;
    static constexpr int kPageCount = 8;

    explicit MainWindow(const Folders& folders, QWidget* parent = nullptr);
    ~MainWindow() override;

    [[nodiscard]] MainWindowHooks& hooks() { return m_hooks; }

    [[nodiscard]] const QString& baseFolder() const { return m_baseFolder; }
    [[nodiscard]] const QString& programFolder() const { return m_programFolder; }
    // The settings file read and written, and the one read under it ("" when none): see
    // files/settings_location.h.
    [[nodiscard]] QString settingsFilePath() const;
    [[nodiscard]] QString settingsFallbackPath() const;
    [[nodiscard]] SettingsLocation settingsLocation() const;
    // BaseFolder/parametry: where the save dialog starts.
    [[nodiscard]] QString configurationFolder() const;

    [[nodiscard]] SidePanel& sidePanel() const { return *m_sidePanel; }
    [[nodiscard]] ReadingsPage& readingsPage() const { return *m_readings; }
    [[nodiscard]] ParametersPage& parametersPage() const { return *m_parameters; }
    [[nodiscard]] AdjustmentPage& adjustmentPage() const { return *m_adjustment; }
    [[nodiscard]] DiagnosticPage& diagnosticPage() const { return *m_diagnostic; }
    [[nodiscard]] AdvancedPage& advancedPage() const { return *m_advanced; }
    [[nodiscard]] DnaPage& dnaPage() const { return *m_dna; }
    [[nodiscard]] EmuPage& emuPage() const { return *m_emu; }
    [[nodiscard]] StoragePage& storagePage() const { return *m_storage; }
    [[nodiscard]] QTabWidget* pageControl() const { return m_pageControl; }
    [[nodiscard]] const MainMenu& menu() const { return m_menu; }

    // Makes page index the active page of PageControl1; an index out of range, or a page whose
    // tab is hidden, is ignored.
    void showPage(int index);
    [[nodiscard]] int currentPage() const;
    // Shows or hides a page's tab; an index out of range is ignored.
    void setTabShown(int page, bool shown);
    [[nodiscard]] bool isTabShown(int page) const;
    // The controller lock: disables the File1 and options1 menus, with their items and keys.
    void setMenusLocked(bool locked);
    [[nodiscard]] bool menusLocked() const { return m_menusLocked; }

    [[nodiscard]] QProgressBar* progressBar() const;
    [[nodiscard]] QTimer* timer() const { return m_timer; }
    [[nodiscard]] ProgressSink& progressSink() { return *m_progressSink; }
    [[nodiscard]] TimerSwitch& timerSwitch() { return *m_timerSwitch; }
    [[nodiscard]] bool firstActivationDone() const { return m_firstActivationDone; }

    // The size rule, on the outer frame size: a width below 800 becomes 800, a height below 600
    // becomes 600 (independently); either one re-centres the window and refuses the requested
    // size, so the other dimension keeps its current value. Returns whether the requested size
    // may be applied; newWidth and newHeight come back corrected.
    bool FormCanResize(int& newWidth, int& newHeight);
    void centreOnScreen();
    // What the window frame adds to the client size on this desktop.
    [[nodiscard]] QSize frameExtra() const;

public slots:
    void F2readings1Click();
    void F3parameters1Click();
    void F4adjustment1Click();
    void F5diagnostic1Click();
    void F10autoconnect1Click();
    void savetodisk1Click();
    void loadtoECU1Click();
    void LoadMap1Click();
    void verifyECU1Click();
    void comparewithfile1Click();
    void exportlogasCSV1Click();
    void viewlog1Click();
    void history1Click();
    void PrintReport1Click();
    void RESET1Click();
    void undo1Click();
    void redo1Click();
    void petro1Click();
    void auto1Click();
    void propane1Click();
    void exit1Click();
    void help1Click();
    void Timer1Timer();
    // Runs its steps on the first call only.
    void FormActivate();
    void FormClose();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenu();
    void buildPages();
    void copyHotKeys();
    // Runs a hook; false when it threw (the exception has then been reported).
    bool runGuarded(const std::function<void()>& hook);
    [[nodiscard]] bool isEnabledHotKey(const QKeyCombination& keys) const;
    // A control that selects its text with the select-all key.
    [[nodiscard]] static bool isTextEntry(const QWidget* widget);

    MainWindowHooks m_hooks;
    QString m_baseFolder;
    QString m_programFolder;
    QString m_programName;

    SidePanel* m_sidePanel = nullptr;
    QTabWidget* m_pageControl = nullptr;
    ReadingsPage* m_readings = nullptr;
    ParametersPage* m_parameters = nullptr;
    AdjustmentPage* m_adjustment = nullptr;
    DiagnosticPage* m_diagnostic = nullptr;
    AdvancedPage* m_advanced = nullptr;
    DnaPage* m_dna = nullptr;
    EmuPage* m_emu = nullptr;
    StoragePage* m_storage = nullptr;
    MainMenu m_menu;
    std::array<QAction*, 8> m_hotKeyActions{};

    QTimer* m_timer = nullptr;
    std::unique_ptr<ProgressBarSink> m_progressSink;
    std::unique_ptr<QtTimerSwitch> m_timerSwitch;
    bool m_firstActivationDone = false;
    bool m_menusLocked = false;
    bool m_applyingSizeRule = false;
};

}  // namespace kaldor
