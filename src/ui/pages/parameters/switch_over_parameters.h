#pragma once
// The switch-over settings of the parameters page: the CDi emulator mode (ComboBoxDciEn), the
// engine's power class (ComboBoxEnginePower) and the double injection time (ComboBoxDoubleTime in
// "! DOUBLE INJECTION TIME !"). Each is a preset of several fields: the emulator mode and the
// power class store fields whose controls sit on the advanced page (fieldsStored() names the
// refresh step that shows them again); the double injection time rescales the cruise map and
// the main map, whose grid texts the window hands in.
#include <QObject>

#include "model/refresh_step.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QWidget;

namespace kaldor {

struct ControllerSession;
class GridTexts;

class SwitchOverParameters : public QObject {
    Q_OBJECT

public:
    // Creates the emulator mode and power class lists in engineGroup (the page places them).
    explicit SwitchOverParameters(QWidget* engineGroup);

    // Fills the double injection group.
    void buildDoubleInjection(QGroupBox* group);
    void attach(ControllerSession& session);
    // StringGridMapaTempomatu's and StringGridMapa's texts: the double injection time shows the
    // rescaled maps in them.
    void setMapTexts(GridTexts* cruise, GridTexts* main);

    void refreshEnginePower();   // refresh step EnginePower
    void refreshEmulatorMode();  // refresh step CdiEmulator

    QComboBox* ComboBoxDciEn = nullptr;
    QComboBox* ComboBoxEnginePower = nullptr;
    QLabel* LabelDoubleTime = nullptr;
    QComboBox* ComboBoxDoubleTime = nullptr;

signals:
    void fieldsStored(kaldor::RefreshStep step);

private:
    void doubleInjectionChosen(int item);

    ControllerSession* m_session = nullptr;
    GridTexts* m_cruiseTexts = nullptr;
    GridTexts* m_mainTexts = nullptr;
};

}  // namespace kaldor
