// Copy and paste of a grid's selection: tab-separated text on the system clipboard, worked out
// and written by the core (maps/grid_tools).
#include <QClipboard>
#include <QGuiApplication>

#include <optional>
#include <string>

#include "ui/map_grid/map_grid.h"

namespace kaldor {

void MapGrid::copySelection() {
    const std::optional<GridRect> selected = selection();
    if (!selected)
        return;
    if (const std::optional<std::string> text = copyFromGrid(m_model, *selected))
        QGuiApplication::clipboard()->setText(QString::fromStdString(*text));
}

void MapGrid::pasteClipboard() {
    const std::optional<GridRect> selected = selection();
    if (!selected || !m_model.toolCells())
        return;
    const std::string text = QGuiApplication::clipboard()->text().toStdString();
    edit("paste", [&] { return pasteIntoGrid(m_model, *selected, text); });
}

}  // namespace kaldor
