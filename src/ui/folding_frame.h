#pragma once
// A group box that folds away when the user clicks its frame and comes back at the next click:
// folded, its contents are hidden and the group keeps only its folded height; unfolded, it has
// its unfolded height (the heights are the core's, kFoldingGroups). A click on a control inside
// the group belongs to that control.
#include <QObject>

class QGroupBox;

namespace kaldor {

class FoldingFrame : public QObject {
    Q_OBJECT

public:
    // `contents` is the one widget inside the group that holds everything else.
    FoldingFrame(QGroupBox* group, QWidget* contents);

    // What a click on the frame does.
    void toggle();
    [[nodiscard]] bool folded() const { return m_folded; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QGroupBox* m_group;
    QWidget* m_contents;
    bool m_folded = false;
};

}  // namespace kaldor
