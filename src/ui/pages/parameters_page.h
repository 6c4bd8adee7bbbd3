#pragma once
// Page 1, "[F3]parameters": engine and sensor parameters, the level-sensor group and the double
// injection group. The parameter controls are added by their owners; the page holds the groups
// and the hidden "pwr" text box of the third rpm signal level.
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QWidget>

namespace kaldor {

class ParametersPage : public QWidget {
    Q_OBJECT

public:
    explicit ParametersPage(QWidget* parent = nullptr);

    QGroupBox* GroupBoxPar3 = nullptr;
    QGroupBox* GroupBoxDoubleInjectionTime = nullptr;
    QLineEdit* EditAlter = nullptr;

    // Column 0 is free for the engine and sensor parameters; column 1 holds the groups.
    QGridLayout* pageLayout() const { return m_layout; }

private:
    QGridLayout* m_layout = nullptr;
};

}  // namespace kaldor
