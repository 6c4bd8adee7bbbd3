#pragma once
// Page 5 (no caption): the chain regulation group and the mapping chart, inside
// PanelDNADigitAll, which stays hidden until the window's first activation.
#include <QFrame>
#include <QGroupBox>
#include <QWidget>

namespace kaldor {

class DnaPage : public QWidget {
    Q_OBJECT

public:
    explicit DnaPage(QWidget* parent = nullptr);

    QFrame* PanelDNADigitAll = nullptr;
    QGroupBox* GroupBoxDNA = nullptr;
    QWidget* PaintBoxMapowanie = nullptr;
};

}  // namespace kaldor
