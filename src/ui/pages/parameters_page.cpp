#include "ui/pages/parameters_page.h"

#include "ui/ui_build.h"

#include <QVBoxLayout>

namespace kaldor {

ParametersPage::ParametersPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet2"));

    GroupBoxPar3 = namedGroup(this, "GroupBoxPar3", QStringLiteral("level sensor"));
    new QVBoxLayout(GroupBoxPar3);
    GroupBoxDoubleInjectionTime =
        namedGroup(this, "GroupBoxDoubleInjectionTime", QStringLiteral("double injection"));
    new QVBoxLayout(GroupBoxDoubleInjectionTime);

    EditAlter = named<QLineEdit>(this, "EditAlter");
    EditAlter->setText(QStringLiteral("pwr"));
    EditAlter->setMaximumWidth(80);
    EditAlter->hide();

    m_layout = new QGridLayout(this);
    m_layout->setContentsMargins(6, 6, 6, 6);
    m_layout->addWidget(EditAlter, 0, 0, Qt::AlignLeft | Qt::AlignTop);
    m_layout->addWidget(GroupBoxPar3, 0, 1);
    m_layout->addWidget(GroupBoxDoubleInjectionTime, 1, 1);
    m_layout->setColumnStretch(0, 3);
    m_layout->setColumnStretch(1, 2);
    m_layout->setRowStretch(2, 1);
}

}  // namespace kaldor
