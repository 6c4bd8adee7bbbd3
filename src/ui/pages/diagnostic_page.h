#pragma once
// Page 3, "[F5]diagnostic": an inner page control with the error memory ("ECU"), the OBD page
// with its MIL lamp (shown, driven by nothing) and the data logger.
#include <QTabWidget>
#include <QWidget>

#include "widgets/ab_led.h"

namespace kaldor {

class DiagnosticPage : public QWidget {
    Q_OBJECT

public:
    explicit DiagnosticPage(QWidget* parent = nullptr);

    QTabWidget* PageControlDiag = nullptr;
    QWidget* TabSheet6 = nullptr;
    QWidget* TabSheet7 = nullptr;
    QWidget* TabSheet8 = nullptr;
    AbLED* AbLEDobd = nullptr;
};

}  // namespace kaldor
