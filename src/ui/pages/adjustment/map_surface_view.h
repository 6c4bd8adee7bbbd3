#pragma once
// The main map as a shaded surface over its two axes (maps/surface_view.h), painted with
// QPainter so it needs no OpenGL and paints on any platform, the offscreen one included. It lies
// over the grid while shown; the grid keeps the keyboard, so every edit shows at once. A drag
// turns the surface, the wheel zooms; the selected cells are highlighted and the operating point
// is marked in the grid's yellow.
#include <QWidget>

#include <functional>
#include <optional>

#include "maps/surface_view.h"

namespace kaldor {

class MainMapEditor;

class MapSurfaceView : public QWidget {
    Q_OBJECT

public:
    // `selection`: the grid's selected cells in grid coordinates (the axes are row and column 0).
    MapSurfaceView(const MainMapEditor& editor, std::function<std::optional<GridRect>()> selection,
                   QWidget* parent);

    [[nodiscard]] const SurfaceCamera& camera() const { return m_camera; }
    // The map's cells as the surface shows them, row by row.
    [[nodiscard]] SurfaceGrid surface() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    const MainMapEditor& m_editor;
    std::function<std::optional<GridRect>()> m_selection;
    SurfaceCamera m_camera;
    QPoint m_dragFrom;
};

}  // namespace kaldor
