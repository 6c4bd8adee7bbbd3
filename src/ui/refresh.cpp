#include "ui/refresh.h"

#include "model/revision_rules.h"
#include "ui/main_window.h"
#include "ui/pages/adjustment/adjustment_page.h"
#include "ui/pages/advanced/advanced_page.h"
#include "ui/pages/diagnostic/diagnostic_page.h"
#include "ui/pages/dna/dna_page.h"
#include "ui/pages/emu/emu_page.h"
#include "ui/pages/parameters/parameters_page.h"
#include "ui/pages/readings/readings_page.h"
#include "ui/pages/storage/storage_page.h"
#include "ui/pin_flow.h"
#include "ui/session.h"

namespace kaldor {

void ControlsRefresh::RefreshControls() {
    // Nothing the refresh sets counts as an edit: a handler run now would store a shown value,
    // which went through a display conversion, back into the image.
    const EditGate::Hold hold(m_session.gate);
    for (const RefreshStep step : kRefreshSteps)
        run(step);
}

void ControlsRefresh::run(RefreshStep step) {
    ParametersPage& parameters = m_window.parametersPage();
    AdjustmentPage& adjustment = m_window.adjustmentPage();
    AdvancedPage& advanced = m_window.advancedPage();
    EmuPage& emu = m_window.emuPage();
    switch (step) {
        case RefreshStep::None:
            break;
        case RefreshStep::CalibrationHeadings:
            m_window.storagePage().ButtonNaniesPunktyClick();
            break;
        case RefreshStep::EnginePower:
            parameters.refreshEnginePower();
            break;
        case RefreshStep::Pin:
            m_pin.checkPin();
            break;
        case RefreshStep::CruiseSettings:
        case RefreshStep::CutOff:
            advanced.showFields(step);
            adjustment.showFields(step);
            break;
        case RefreshStep::FrequencyEmulator:
            emu.refreshFrequencyEmulator();
            break;
        case RefreshStep::DtpsLimits:
            emu.refreshDtpsLimits();
            break;
        case RefreshStep::EmulatorInput:
            emu.refreshInput();
            break;
        case RefreshStep::EmulatorSettings:
            emu.refreshEmulatorSettings();
            m_window.dnaPage().refreshChainRegulation();
            break;
        case RefreshStep::TpsEmulatorTable:
            emu.refreshTpsTable();
            break;
        case RefreshStep::StepEmulatorTable:
            emu.refreshStepTable();
            break;
        case RefreshStep::DnaType:
            emu.refreshDnaType();
            break;
        case RefreshStep::DynamicK:
            advanced.showFields(step);
            break;
        case RefreshStep::DoubleInjectionTime:
            parameters.refreshDoubleInjectionTime();
            break;
        case RefreshStep::EnabledErrors:
            advanced.refreshEnabledErrors();
            break;
        case RefreshStep::RevisionGroups: {
            const RevisionGroups groups =
                revisionGroups(m_session.state.softwareRevision, m_session.state.hardwareRevision);
            parameters.showRevisionGroups(groups);
            adjustment.showRevisionGroups(groups);
            advanced.showRevisionGroups(groups);
            emu.showRevisionGroups(groups);
            break;
        }
        case RefreshStep::CruiseHeading:
            adjustment.refreshCruiseHeading();
            break;
        case RefreshStep::SetPinButton:
            m_window.readingsPage().refreshSetPinButton();
            break;
        case RefreshStep::CdiEmulator:
            parameters.refreshEmulatorMode();
            advanced.showFields(step);
            break;
        case RefreshStep::RpmSignal:
            parameters.refreshRpmSignal();
            break;
        case RefreshStep::EgtAndTurbo:
            parameters.refreshEgtAndTurbo();
            break;
        case RefreshStep::Sensors:
            parameters.refreshSensors();
            break;
        case RefreshStep::Pressures:
            parameters.refreshPressures();
            break;
        case RefreshStep::OnTemperature:
            parameters.refreshOnTemperature();
            break;
        case RefreshStep::SwitchOn:
            parameters.refreshSwitchOn();
            break;
        case RefreshStep::LevelSensor:
            parameters.refreshLevelSensor();
            break;
        case RefreshStep::LevelPoints:
            parameters.refreshLevelPoints();
            break;
        case RefreshStep::CorrectionEnables:
            advanced.refreshCorrectionEnables();
            break;
        case RefreshStep::CruiseMap:
            adjustment.refreshCruiseMap();
            break;
        case RefreshStep::CorrectionMaps:
            advanced.refreshCorrectionMaps();
            break;
        case RefreshStep::WorkingPressure:
            adjustment.refreshWorkPressure();
            break;
        case RefreshStep::ReturnToGasAndMainMap:
            m_window.diagnosticPage().refreshReturnToPropane();
            adjustment.ShowMainMap();
            break;
    }
}

}  // namespace kaldor
