#pragma once
// The log viewer's picture: the chosen channels as stacked lanes over one time axis, each lane
// with its scale, unit and colours, the fuel mode as a band of colours, and the vertical cursor.
// The traces are painted once per view into a picture that the cursor is drawn over, so moving
// the cursor costs a copy of that picture. Keys: +/- zoom, arrows pan (move the cursor at the
// finest zoom), Home/End, F fits the whole drive; the wheel zooms, a drag pans, a click sets
// the cursor.
#include <QColor>
#include <QImage>
#include <QWidget>

#include "live/log_view.h"

namespace kaldor {

struct SetupTexts;
struct StatusTexts;

class TraceView : public QWidget {
    Q_OBJECT
public:
    // The margin on the left that holds each lane's names and scale, and the time axis' height.
    static constexpr int kScaleWidth = 110;
    static constexpr int kAxisHeight = 22;

    explicit TraceView(QWidget* parent = nullptr);

    // Not owned; null until a recording is read.
    void setView(LogView* view);
    [[nodiscard]] LogView* view() const { return m_view; }
    // The language the lanes are named in; both outlive the view. Nothing: the built-in English.
    void setTexts(const SetupTexts* texts, const StatusTexts* status);
    // Channels, set-up or records changed: the traces are painted again.
    void tracesChanged();

    // The colour of a shown channel's trace.
    [[nodiscard]] QColor colourOf(LiveSignal id) const;
    [[nodiscard]] static QColor fuelModeColour(int mode);

    // Paints the traces (without the cursor) into `size`, as the widget shows them.
    void renderTraces(QPainter& painter, const QSize& size);

signals:
    void viewMoved();
    void cursorMoved();
    void firstPainted();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void syncWidth();
    [[nodiscard]] const SetupTexts& language() const;
    void moved(bool cursorToo);
    void paintLane(QPainter& painter, const LogLane& lane, const QRect& area, int& colourIndex);
    void paintBand(QPainter& painter, const QRect& area);
    void paintAxis(QPainter& painter, const QRect& area);

    LogView* m_view = nullptr;
    const SetupTexts* m_language = nullptr;
    const StatusTexts* m_status = nullptr;
    QImage m_picture;
    bool m_pictureStale = true;
    double m_paintedFirst = -1;  // the view the picture shows
    double m_paintedPerColumn = -1;
    bool m_painted = false;
    int m_pressX = -1;
    int m_lastX = 0;
    bool m_dragging = false;
};

}  // namespace kaldor
