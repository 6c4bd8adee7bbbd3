#include "ui/folding_frame.h"

#include <QEvent>
#include <QGroupBox>

#include "emulation/emulator_settings.h"

namespace kaldor {

FoldingFrame::FoldingFrame(QGroupBox* group, QWidget* contents)
    : QObject(group), m_group(group), m_contents(contents) {
    group->installEventFilter(this);
}

void FoldingFrame::toggle() {
    // Until the first click the group has no height limit, which counts as unfolded.
    const std::optional<int> next =
        toggledGroupHeight(m_group->objectName().toStdString(), m_group->maximumHeight());
    if (!next)
        return;
    m_folded = !m_folded;
    m_contents->setVisible(!m_folded);
    m_group->setFixedHeight(*next);
}

bool FoldingFrame::eventFilter(QObject* watched, QEvent* event) {
    // A press that a control inside the group took never reaches the group itself.
    if (watched == m_group && event->type() == QEvent::MouseButtonPress) {
        toggle();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace kaldor
