#include "ui/pages/adjustment/map_surface_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>

#include "maps/main_map.h"
#include "maps/main_map_editor.h"
#include "model/number_text.h"

namespace kaldor {
namespace {

constexpr int kWheelNotch = 120;
constexpr Rgb kSelectionEdge{0, 0, 160};
constexpr Rgb kMeshLine{60, 60, 60};

QColor toQColor(Rgb c) {
    return {c.red, c.green, c.blue};
}

QPointF toPoint(const ScreenPoint& p) {
    return {p.x, p.y};
}

}  // namespace

MapSurfaceView::MapSurfaceView(const MainMapEditor& editor,
                               std::function<std::optional<GridRect>()> selection, QWidget* parent)
    : QWidget(parent), m_editor(editor), m_selection(std::move(selection)) {
    setObjectName(QStringLiteral("MapSurfaceView"));
    setAccessibleName(QStringLiteral("3D view of the main map"));
    setAutoFillBackground(true);
    setFocusPolicy(Qt::NoFocus);
}

SurfaceGrid MapSurfaceView::surface() const {
    SurfaceGrid grid;
    grid.columns = kMainMapColumns;
    grid.rows = kMainMapRows;
    grid.maximum = kMainMapCellMax;
    for (int row = 1; row <= kMainMapRows; ++row)
        for (int column = 1; column <= kMainMapColumns; ++column)
            grid.values.push_back(parseInteger(m_editor.grid().text(column, row)).value_or(0));
    return grid;
}

void MapSurfaceView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().window());
    const SurfaceGrid grid = surface();
    std::optional<GridRect> selected = m_selection ? m_selection() : std::nullopt;
    if (selected)
        *selected = {selected->left - 1, selected->top - 1, selected->right - 1,
                     selected->bottom - 1};
    const int w = width();
    const int h = height();

    // The two axes along the floor, with the grid's heading texts.
    painter.setPen(QPen(palette().windowText().color(), 1));
    const auto floor = [&](double c, double r) {
        return toPoint(projectCell(c, r, 0, grid, m_camera, w, h));
    };
    painter.drawLine(floor(0, grid.rows - 1), floor(grid.columns - 1, grid.rows - 1));
    painter.drawLine(floor(0, 0), floor(0, grid.rows - 1));
    for (int c = 0; c < grid.columns; ++c)
        painter.drawText(floor(c, grid.rows - 0.4),
                         QString::fromStdString(m_editor.grid().text(c + 1, 0)));
    for (int r = 0; r < grid.rows; r += 3)
        painter.drawText(floor(-0.9, r), QString::fromStdString(m_editor.grid().text(0, r + 1)));

    for (const SurfaceFace& face : surfaceFaces(grid, m_camera, w, h, selected)) {
        QPainterPath path;
        path.moveTo(toPoint(face.corners[0]));
        for (std::size_t k = 1; k < face.corners.size(); ++k)
            path.lineTo(toPoint(face.corners[k]));
        path.closeSubpath();
        painter.setPen(
            QPen(toQColor(face.selected ? kSelectionEdge : kMeshLine), face.selected ? 2 : 1));
        painter.setBrush(toQColor(face.fill));
        painter.drawPath(path);
    }

    // The operating point, as the grid marks it.
    const MapOperatingPoint& point = m_editor.operatingPoint();
    if (point.x < 0 || point.x >= grid.columns || point.y < 0 || point.y >= grid.rows)
        return;
    const int value = grid.values[static_cast<std::size_t>(point.y * grid.columns + point.x)];
    const ScreenPoint at = projectCell(point.x, point.y, value, grid, m_camera, w, h);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(toQColor(kOperatingPointColour));
    painter.drawEllipse(toPoint(at), 5.0, 5.0);
}

void MapSurfaceView::mousePressEvent(QMouseEvent* event) {
    m_dragFrom = event->position().toPoint();
}

void MapSurfaceView::mouseMoveEvent(QMouseEvent* event) {
    if (!event->buttons().testFlag(Qt::LeftButton))
        return;
    const QPoint now = event->position().toPoint();
    m_camera = dragged(m_camera, now.x() - m_dragFrom.x(), now.y() - m_dragFrom.y());
    m_dragFrom = now;
    update();
}

void MapSurfaceView::wheelEvent(QWheelEvent* event) {
    m_camera = zoomed(m_camera, event->angleDelta().y() / kWheelNotch);
    update();
}

}  // namespace kaldor
