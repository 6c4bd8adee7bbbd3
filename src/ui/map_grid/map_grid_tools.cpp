// The selection tools of a grid: the tool table (names, captions, keys, questions), the context
// menu with copy and paste, the tool buttons, their texts in the language, and Ctrl with a
// tool's key. The tools themselves work in the core (maps/grid_tools).
#include <QAction>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>

#include <optional>

#include "model/prompts.h"
#include "ui/edit_gate.h"
#include "ui/map_grid/map_grid.h"
#include "ui/window_texts.h"

namespace kaldor {
namespace {

struct ToolDef {
    GridTool tool;
    const char* name;      // after the grid's objectName
    const char* caption;   // the context menu's item, the button's accessible name
    const char* button;    // the button's caption
    Qt::Key key;           // with Ctrl
    const char* what;      // in the undo history
    const char* question;  // the number asked for first, or none
    int initial;
    WindowText captionText;   // the caption in the language files
    WindowText questionText;  // the question in the language files (Count: none)
};

constexpr ToolDef kTools[] = {
    {GridTool::InterpolateHorizontally, "InterpH", "interpolate horizontally", "<->", Qt::Key_H,
     "interpolate horizontally", nullptr, 0, WindowText::InterpolateHorizontally,
     WindowText::Count},
    {GridTool::InterpolateVertically, "InterpV", "interpolate vertically", "^v", Qt::Key_U,
     "interpolate vertically", nullptr, 0, WindowText::InterpolateVertically, WindowText::Count},
    {GridTool::InterpolateBilinear, "InterpHV", "interpolate from the corners", "[+]", Qt::Key_B,
     "interpolate from the corners", nullptr, 0, WindowText::InterpolateCorners, WindowText::Count},
    {GridTool::SetValue, "SetValue", "set to value...", "=", Qt::Key_E, "set to value",
     "set the selected cells to", 0, WindowText::SetValueItem, WindowText::SetValueQuestion},
    {GridTool::ScalePercent, "Scale", "scale by percent...", "%", Qt::Key_R, "scale",
     "scale the selected cells to percent", 100, WindowText::ScaleItem, WindowText::ScaleQuestion},
};

const ToolDef& toolDef(GridTool tool) {
    for (const ToolDef& def : kTools)
        if (def.tool == tool)
            return def;
    return kTools[0];
}

}  // namespace

void MapGrid::applyTool(GridTool tool) {
    const std::optional<GridRect> selected = selection();
    if (!selected || !m_model.toolCells() || !m_gate.open())
        return;
    const ToolDef& def = toolDef(tool);
    int amount = 0;
    if (def.question != nullptr) {
        const std::optional<int> answer = m_prompts.askNumber(
            m_texts ? windowText(*m_texts, def.questionText) : def.question, def.initial);
        if (!answer)
            return;
        amount = *answer;
    }
    edit(def.what, [&] { return applyGridTool(m_model, *selected, tool, amount); });
}

void MapGrid::buildToolMenu() {
    m_toolMenu = new QMenu(m_grid);
    m_toolMenu->setObjectName(m_grid->objectName() + QStringLiteral("Tools"));
    for (const ToolDef& def : kTools) {
        QAction* action =
            m_toolMenu->addAction(QString::fromLatin1(def.caption) + QStringLiteral("\t") +
                                  QKeySequence(Qt::CTRL | def.key).toString());
        action->setObjectName(m_grid->objectName() + QString::fromLatin1(def.name));
        const GridTool tool = def.tool;
        connect(action, &QAction::triggered, this, [this, tool] { applyTool(tool); });
    }
    m_toolMenu->addSeparator();
    QAction* copy = m_toolMenu->addAction(QStringLiteral("copy\tCtrl+C"));
    copy->setObjectName(m_grid->objectName() + QStringLiteral("Copy"));
    connect(copy, &QAction::triggered, this, [this] { copySelection(); });
    QAction* paste = m_toolMenu->addAction(QStringLiteral("paste\tCtrl+V"));
    paste->setObjectName(m_grid->objectName() + QStringLiteral("Paste"));
    connect(paste, &QAction::triggered, this, [this] { pasteClipboard(); });
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (m_model.toolCells())
            m_toolMenu->popup(m_grid->viewport()->mapToGlobal(at));
    });
}

QWidget* MapGrid::createToolButtons(QWidget* parent) {
    auto* row = new QWidget(parent);
    row->setObjectName(m_grid->objectName() + QStringLiteral("ToolButtons"));
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    for (const ToolDef& def : kTools) {
        auto* button = new QPushButton(QString::fromLatin1(def.button), row);
        button->setObjectName(m_grid->objectName() + QString::fromLatin1(def.name));
        button->setToolTip(QString::fromLatin1(def.caption) + QStringLiteral(" (") +
                           QKeySequence(Qt::CTRL | def.key).toString() + QStringLiteral(")"));
        button->setAccessibleName(QString::fromLatin1(def.caption));
        button->setFixedSize(32, 22);
        // The grid keeps the keyboard, as with the step buttons.
        button->setFocusPolicy(Qt::NoFocus);
        const GridTool tool = def.tool;
        connect(button, &QPushButton::clicked, this, [this, tool] { applyTool(tool); });
        layout->addWidget(button);
    }
    m_toolButtons = row;
    if (m_texts != nullptr)
        showTexts(*m_texts);
    return row;
}

void MapGrid::showTexts(const SetupTexts& texts) {
    m_texts = &texts;
    const QString name = m_grid->objectName();
    for (const ToolDef& def : kTools) {
        const QString caption = uiText(texts, def.captionText);
        const QString keys = QKeySequence(Qt::CTRL | def.key).toString();
        const QString tool = name + QString::fromLatin1(def.name);
        if (auto* action = m_toolMenu->findChild<QAction*>(tool))
            action->setText(caption + QStringLiteral("\t") + keys);
        if (QWidget* button = m_toolButtons ? m_toolButtons->findChild<QWidget*>(tool) : nullptr) {
            button->setToolTip(caption + QStringLiteral(" (") + keys + QStringLiteral(")"));
            button->setAccessibleName(caption);
        }
    }
    if (auto* copy = m_toolMenu->findChild<QAction*>(name + QStringLiteral("Copy")))
        copy->setText(uiText(texts, WindowText::Copy) + QStringLiteral("\tCtrl+C"));
    if (auto* paste = m_toolMenu->findChild<QAction*>(name + QStringLiteral("Paste")))
        paste->setText(uiText(texts, WindowText::Paste) + QStringLiteral("\tCtrl+V"));
}

bool MapGrid::toolKey(const QKeyEvent& key) {
    if (key.modifiers() != Qt::ControlModifier)
        return false;
    if (key.key() == Qt::Key_C) {
        copySelection();
        return true;
    }
    if (key.key() == Qt::Key_V) {
        pasteClipboard();
        return true;
    }
    for (const ToolDef& def : kTools) {
        if (key.key() == def.key) {
            applyTool(def.tool);
            return true;
        }
    }
    return false;
}

}  // namespace kaldor
