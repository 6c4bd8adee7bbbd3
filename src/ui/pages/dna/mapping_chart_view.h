#pragma once
// The mapping chart on PaintBoxMapowanie of the DNA page: for every live record while the box is
// on screen, the core's picture of the calibration series and the engine's current point is
// painted into an off-screen bitmap, which the box's paint copies in one step. The box has no
// drawing of its own; the chart is not drawn while its page is hidden.
#include <QObject>

#include "maps/mapping_chart.h"
#include "ui/pages/readings/scope_view.h"

class QWidget;

namespace kaldor {

struct ControllerSession;
class LiveFrame;

class MappingChartView : public QObject {
    Q_OBJECT

public:
    // box: PaintBoxMapowanie; the view lives as its child.
    explicit MappingChartView(QWidget* box);

    // Draws with every displayed record.
    void attach(ControllerSession& session);
    // One record: the picture for the box's size, painted and copied, while the box is shown.
    void showRecord(const LiveFrame& frame);

    [[nodiscard]] const QImage& bitmap() const { return m_bitmap.image(); }
    [[nodiscard]] const MappingChart& chart() const { return m_chart; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_box;
    ControllerSession* m_session = nullptr;
    MappingChart m_chart;
    PictureBitmap m_bitmap;
};

}  // namespace kaldor
