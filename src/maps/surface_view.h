#pragma once
// The main map as a surface over its two axes, worked out for a painter: every cell a point of a
// mesh, the mesh seen from a camera turned about the upright axis (yaw) and tilted down (pitch),
// projected without perspective into a picture of the given size. The faces come back sorted
// from the farthest to the nearest, so painting them in order hides what lies behind.
//
// Model space: the columns run along x from -1 (first) to 1 (last), the rows along y from -1 to
// 1, the value up z from 0 to 1 (0 to the map's largest value). The camera looks along +y tilted
// down by the pitch; screen x is the turned x, screen up is y sin(pitch) + z cos(pitch).
#include <array>
#include <optional>
#include <vector>

#include "maps/grid_texts.h"
#include "maps/map_colour.h"

namespace kaldor {

struct SurfaceCamera {
    double yawDegrees = -30.0;
    double pitchDegrees = 35.0;
    double zoom = 1.0;  // 1: the map's square fills 70 % of the picture's smaller side
};

struct ScreenPoint {
    double x = 0.0;
    double y = 0.0;
    double depth = 0.0;  // larger: farther from the viewer
};

struct SurfaceGrid {
    int columns = 0;
    int rows = 0;
    int maximum = 1;          // the value drawn at the top
    std::vector<int> values;  // row by row
};

// A cell's point (column and row from 0) at a value, in a picture of width x height.
[[nodiscard]] ScreenPoint projectCell(double column, double row, double value,
                                      const SurfaceGrid& grid, const SurfaceCamera& camera,
                                      int width, int height);

struct SurfaceFace {
    std::array<ScreenPoint, 4> corners;  // cells (c, r), (c+1, r), (c+1, r+1), (c, r+1)
    int column = 0;
    int row = 0;
    Rgb fill;               // the map colour of the mean value, shaded by the face's slope
    bool selected = false;  // all four cells lie in the selection
};

// Far to near. `selection` in the grid's own cells (column and row from 0).
[[nodiscard]] std::vector<SurfaceFace> surfaceFaces(const SurfaceGrid& grid,
                                                    const SurfaceCamera& camera, int width,
                                                    int height,
                                                    const std::optional<GridRect>& selection);

// A drag of dx, dy pixels turns the camera; the pitch stays between 0 and 90 degrees.
[[nodiscard]] SurfaceCamera dragged(SurfaceCamera camera, int dx, int dy);
// A wheel turn of `steps` notches zooms by 10 % each, within 0.3 to 4.
[[nodiscard]] SurfaceCamera zoomed(SurfaceCamera camera, int steps);

}  // namespace kaldor
