#include "maps/surface_view.h"

#include <algorithm>
#include <cmath>

namespace kaldor {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kFill = 0.35;  // half the map's square, as a share of the smaller side
constexpr double kDegreesPerPixel = 0.5;
constexpr double kZoomStep = 1.1;
constexpr double kMinZoom = 0.3;
constexpr double kMaxZoom = 4.0;
// The darkest share of the colour a face turned away from the light keeps.
constexpr double kAmbient = 0.45;

double radians(double degrees) {
    return degrees * kPi / 180.0;
}

double spread(double index, int count) {
    return count > 1 ? -1.0 + 2.0 * index / (count - 1) : 0.0;
}

bool inside(const GridRect& s, int column, int row) {
    return column >= std::min(s.left, s.right) && column <= std::max(s.left, s.right) &&
           row >= std::min(s.top, s.bottom) && row <= std::max(s.top, s.bottom);
}

std::uint8_t shade(std::uint8_t component, double light) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(component * light), 0L, 255L));
}

}  // namespace

ScreenPoint projectCell(double column, double row, double value, const SurfaceGrid& grid,
                        const SurfaceCamera& camera, int width, int height) {
    const double x = spread(column, grid.columns);
    const double y = spread(row, grid.rows);
    const double z = value / std::max(grid.maximum, 1);
    const double yaw = radians(camera.yawDegrees);
    const double pitch = radians(camera.pitchDegrees);
    const double turnedX = x * std::cos(yaw) - y * std::sin(yaw);
    const double turnedY = x * std::sin(yaw) + y * std::cos(yaw);
    const double scale = camera.zoom * kFill * std::min(width, height);
    ScreenPoint p;
    p.x = width / 2.0 + turnedX * scale;
    p.y = height / 2.0 - (turnedY * std::sin(pitch) + (z - 0.5) * std::cos(pitch)) * scale;
    p.depth = turnedY * std::cos(pitch) - z * std::sin(pitch);
    return p;
}

std::vector<SurfaceFace> surfaceFaces(const SurfaceGrid& grid, const SurfaceCamera& camera,
                                      int width, int height,
                                      const std::optional<GridRect>& selection) {
    std::vector<SurfaceFace> faces;
    if (grid.columns < 2 || grid.rows < 2 ||
        grid.values.size() < static_cast<std::size_t>(grid.columns * grid.rows))
        return faces;
    const auto value = [&](int c, int r) {
        return grid.values[static_cast<std::size_t>(r * grid.columns + c)];
    };
    for (int r = 0; r + 1 < grid.rows; ++r) {
        for (int c = 0; c + 1 < grid.columns; ++c) {
            SurfaceFace face;
            face.column = c;
            face.row = r;
            const int cs[4] = {c, c + 1, c + 1, c};
            const int rs[4] = {r, r, r + 1, r + 1};
            long sum = 0;
            face.selected = selection.has_value();
            for (int k = 0; k < 4; ++k) {
                face.corners[static_cast<std::size_t>(k)] =
                    projectCell(cs[k], rs[k], value(cs[k], rs[k]), grid, camera, width, height);
                sum += value(cs[k], rs[k]);
                if (selection && !inside(*selection, cs[k], rs[k]))
                    face.selected = false;
            }
            // Light from straight above: the steeper the face, the darker.
            const double cellX = 2.0 / (grid.columns - 1);
            const double cellY = 2.0 / (grid.rows - 1);
            const double top = std::max(grid.maximum, 1);
            const double slopeX = (value(c + 1, r) - value(c, r)) / top / cellX;
            const double slopeY = (value(c, r + 1) - value(c, r)) / top / cellY;
            const double light =
                kAmbient + (1.0 - kAmbient) / std::sqrt(1.0 + slopeX * slopeX + slopeY * slopeY);
            const Rgb base = MapCellColour(sum / 4);
            face.fill = {shade(base.red, light), shade(base.green, light), shade(base.blue, light)};
            faces.push_back(face);
        }
    }
    const auto depth = [](const SurfaceFace& f) {
        double d = 0.0;
        for (const ScreenPoint& p : f.corners)
            d += p.depth;
        return d;
    };
    std::stable_sort(faces.begin(), faces.end(), [&](const SurfaceFace& a, const SurfaceFace& b) {
        return depth(a) > depth(b);
    });
    return faces;
}

SurfaceCamera dragged(SurfaceCamera camera, int dx, int dy) {
    camera.yawDegrees = std::fmod(camera.yawDegrees + dx * kDegreesPerPixel, 360.0);
    camera.pitchDegrees = std::clamp(camera.pitchDegrees + dy * kDegreesPerPixel, 0.0, 90.0);
    return camera;
}

SurfaceCamera zoomed(SurfaceCamera camera, int steps) {
    camera.zoom = std::clamp(camera.zoom * std::pow(kZoomStep, steps), kMinZoom, kMaxZoom);
    return camera;
}

}  // namespace kaldor
