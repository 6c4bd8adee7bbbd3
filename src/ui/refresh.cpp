#include "ui/refresh.h"

#include "model/revision_rules.h"
#include "ui/main_window.h"
#include "ui/pages/adjustment_page.h"
#include "ui/pages/advanced_page.h"
#include "ui/pages/diagnostic_page.h"
#include "ui/pages/dna_page.h"
#include "ui/pages/emu_page.h"
#include "ui/pages/frequency_emulator_group.h"
#include "ui/pages/parameters_page.h"
#include "ui/pages/readings_page.h"
#include "ui/pages/storage_page.h"
#include "ui/pin_flow.h"
#include "ui/session.h"

namespace kaldor {

void ControlsRefresh::RefreshControls() {
    // Nothing the refresh sets counts as an edit: a handler run now would store a shown value,
    // which went through a display conversion, back into the image.
    const EditGate::Hold hold(m_session.gate);
    ParametersPage& parameters = m_window.parametersPage();
    AdjustmentPage& adjustment = m_window.adjustmentPage();
    AdvancedPage& advanced = m_window.advancedPage();
    FrequencyEmulatorGroup& frequency = *m_window.emuPage().GroupBoxFreqAlg;
    const unsigned software = m_session.state.softwareRevision;
    const unsigned hardware = m_session.state.hardwareRevision;

    m_window.storagePage().ButtonNaniesPunktyClick();  // 1
    parameters.refreshEnginePower();                   // 2
    m_pin.checkPin();                                  // 3
    advanced.showFields(4);                            // 4
    adjustment.showFields(4);
    frequency.refresh();  // 5
    EmuPage& emu = m_window.emuPage();
    emu.refreshDtpsLimits();                      // 6
    emu.refreshInput();                           // 7
    emu.refreshEmulatorSettings();                // 8
    m_window.dnaPage().refreshChainRegulation();  // 8
    emu.refreshTpsTable();                        // 9
    emu.refreshStepTable();                       // 10
    emu.refreshDnaType();                         // 11
    advanced.showFields(12);                      // 12
    advanced.showFields(13);                      // 13
    adjustment.showFields(13);
    parameters.refreshDoubleInjectionTime();                           // 14
    advanced.refreshEnabledErrors();                                   // 15
    const RevisionGroups groups = revisionGroups(software, hardware);  // 16
    parameters.showRevisionGroups(groups);
    adjustment.showRevisionGroups(groups);
    advanced.showRevisionGroups(groups);
    m_window.emuPage().showRevisionGroups(groups);
    frequency.showRevisionGroups(groups);
    adjustment.refreshCruiseHeading();              // 17
    m_window.readingsPage().refreshSetPinButton();  // 18
    parameters.refreshEmulatorMode();               // 19
    advanced.showFields(19);
    parameters.refreshRpmSignal();                       // 20
    parameters.refreshEgtAndTurbo();                     // 21
    parameters.refreshSensors();                         // 22
    parameters.refreshPressures();                       // 23
    parameters.refreshOnTemperature();                   // 24
    parameters.refreshSwitchOn();                        // 25
    parameters.refreshLevelSensor();                     // 26
    parameters.refreshLevelPoints();                     // 28
    advanced.refreshCorrectionEnables();                 // 29
    adjustment.refreshCruiseMap();                       // 30
    advanced.refreshCorrectionMaps();                    // 31
    adjustment.refreshWorkPressure();                    // 32
    m_window.diagnosticPage().refreshReturnToPropane();  // 33
    adjustment.ShowMainMap();
}

}  // namespace kaldor
