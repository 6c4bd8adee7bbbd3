#include "ui/commands/language.h"

#include "ui/accessibility/accessible_names.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGlyphRun>
#include <QMenu>
#include <QRawFont>
#include <QTextLayout>

#include <algorithm>
#include <filesystem>

#include "files/text_ids.h"
#include "live/status_texts.h"
#include "service/setup_report.h"
#include "ui/commands/language_flags.h"
#include "ui/commands/language_targets.h"
#include "ui/commands/undo_commands.h"
#include "ui/log_viewer/log_viewer_window.h"
#include "ui/main_window.h"
#include "ui/map_grid/map_grid.h"
#include "ui/pages/adjustment/cell_view_panel.h"
#include "ui/pages/advanced/axis_cell_view_panel.h"
#include "ui/session.h"
#include "ui/window_texts.h"

namespace kaldor {
namespace {

// The script of a language's character set: what its font has to cover.
QFontDatabase::WritingSystem scriptOf(const LanguageDef& language) {
    switch (language.charset) {
        case 204:
            return QFontDatabase::Cyrillic;
        case 161:
            return QFontDatabase::Greek;
        case 222:
            return QFontDatabase::Thai;
        default:
            return QFontDatabase::Latin;
    }
}

bool covers(const QString& family, QFontDatabase::WritingSystem script) {
    return QFontDatabase::writingSystems(family).contains(script);
}

#ifndef _WIN32
// The family the desktop draws a script's letters in when the application's font has none:
// its own choice for the script (fontconfig's), found by laying out a sample.
QString familyDrawing(QFontDatabase::WritingSystem script) {
    QTextLayout layout(QFontDatabase::writingSystemSample(script), QApplication::font());
    layout.beginLayout();
    (void)layout.createLine();
    layout.endLayout();
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const QString family = run.rawFont().familyName();
        if (covers(family, script))
            return family;
    }
    return {};
}
#endif

QString text(std::string_view view) {
    return QString::fromUtf8(view.data(), static_cast<qsizetype>(view.size()));
}

}  // namespace

WindowLanguage::WindowLanguage(MainWindow& window, ControllerSession& session)
    : QObject(&window),
      m_window(window),
      m_session(session),
      m_baseFolder(window.baseFolder().toStdString()),
      m_programFolder(window.programFolder().toStdString()) {
    buildMenu();
}

void WindowLanguage::buildMenu() {
    QMenu* menu = m_window.menu().language1;
    for (const std::uint8_t code : languageMenuOrder()) {
        const LanguageDef* language = findLanguage(code);
        auto* item = new QAction(languageFlag(code), text(language->menuCaption), &m_window);
        item->setObjectName(text(language->menuItem));
        connect(item, &QAction::triggered, this, [this, code] { choose(code); });
        menu->addAction(item);
    }
}

void WindowLanguage::loadChosen() {
    // An empty "lan.txt" chooses nothing: the built-in texts stay.
    if (const std::optional<std::uint8_t> code = readLanguageChoice(m_baseFolder))
        load(*code);
}

void WindowLanguage::choose(std::uint8_t code) {
    // Without "lan.txt" the choice holds for this run only.
    (void)writeLanguageChoice(m_baseFolder, code);
    load(code);
}

void WindowLanguage::load(std::uint8_t code) {
    const LanguageDef* language = findLanguage(code);
    if (language == nullptr)
        return;
    m_calibri = usesCalibri(*language);
    // Registered before the fonts are set, so the controls find the family at once.
    if (m_calibri)
        registerCalibri();
    setFonts(*language);
    const LanguageFile file = readLanguage(m_baseFolder, m_programFolder, *language);
    // As on the controls: a text the file does not supply keeps the one loaded before.
    const SetupTexts loaded = setupTexts(file);
    for (const auto& [name, text] : loaded.captions)
        m_session.setupTexts.captions[name] = text;
    for (const auto& [item, text] : loaded.items)
        m_session.setupTexts.items[item] = text;
    for (const auto& [caption, text] : loaded.reportTexts)
        m_session.setupTexts.reportTexts[caption] = text;
    // The window's own texts are English where this file lacks them, not the last language's.
    if (!file.refused)
        m_session.setupTexts.windowTexts = loaded.windowTexts;
    // The report's dialog takes its texts when it opens; its menu item is on show now.
    if (auto* item = m_window.findChild<QAction*>(QStringLiteral("PrintReport1")))
        item->setText(
            QString::fromStdString(reportCaption(m_session.setupTexts, ReportCaption::MenuItem)));
    // What a screen reader says starts again from English, so a file without those texts
    // leaves no other language's behind.
    resetSpokenTexts();
    {
        EditGate::Hold hold(m_session.gate);
        for (const LanguageEntry& entry : file.entries)
            apply(entry);
    }
    showWindowTexts();
    // Names made of the texts just loaded are made again.
    nameControls(m_window);
    if (file.error)
        m_session.prompts.message(*file.error);
}

void WindowLanguage::apply(const LanguageEntry& entry) {
    const TextTarget* target = findTextId(entry.id);
    if (target == nullptr)
        return;
    switch (target->kind) {
        case TextKind::ErrorText:
            (void)m_session.errorTexts.replace(target->index, entry.text);
            return;
        case TextKind::StatusText:
            (void)setStatusText(m_session.texts, target->index, entry.text);
            return;
        case TextKind::ReportText:
        case TextKind::WindowText:
            // Kept in the session's set-up texts for the windows and dialogs that show them.
            return;
        case TextKind::SpokenText:
            setSpokenText(target->index, entry.text);
            return;
        default:
            break;
    }
    QObject* object = findTextTarget(m_window, target->control);
    if (object == nullptr)
        return;
    (void)setTargetText(*object, *target, QString::fromStdString(entry.text));
    auto* list = qobject_cast<QComboBox*>(object);
    const std::optional<int> selected = reselectIndex(*target, m_session.image);
    // Held, so the new selection is no edit; an index the list does not have keeps the old one.
    if (list != nullptr && selected && *selected < list->count()) {
        EditGate::Hold hold(m_session.gate);
        list->setCurrentIndex(*selected);
    }
}

void WindowLanguage::showWindowTexts() {
    const SetupTexts& texts = m_session.setupTexts;
    const std::pair<const char*, WindowText> items[] = {
        {"verifyECU1", WindowText::VerifyEcu},
        {"comparewithfile1", WindowText::CompareWithFile},
        {"exportlogasCSV1", WindowText::ExportLogCsv},
        {"viewlog1", WindowText::ViewLog},
        {"history1", WindowText::History},
    };
    for (const auto& [name, text] : items)
        if (auto* item = m_window.findChild<QAction*>(QString::fromLatin1(name)))
            item->setText(uiText(texts, text));
    // The undo items name their step again when the menu opens.
    m_window.menu().undo1->setText(
        QString::fromStdString(stepText(texts, true, m_session.edits.undoStep())));
    m_window.menu().redo1->setText(
        QString::fromStdString(stepText(texts, false, m_session.edits.redoStep())));
    // What is open beside the window: the log viewers and the grids' tools.
    for (LogViewerWindow* viewer : m_window.findChildren<LogViewerWindow*>())
        viewer->setTexts(texts, m_session.texts);
    for (MapGrid* grid : MapGrid::all())
        grid->showTexts(texts);
    // The cell view over the main map, and its button named by the caption just loaded.
    for (CellViewPanel* cells : m_window.findChildren<CellViewPanel*>())
        cells->setTexts(texts);
    for (AxisCellViewPanel* cells : m_window.findChildren<AxisCellViewPanel*>())
        cells->setTexts(texts);
    if (auto* button = m_window.findChild<QAbstractButton*>(QStringLiteral("ButtonMapCells")))
        button->setAccessibleName(button->text());
}

QString WindowLanguage::fontFamily(const LanguageDef& language) {
    const QFontDatabase::WritingSystem script = scriptOf(language);
    const QString own = text(language.fontFamily);
    if (QFontDatabase::hasFamily(own) && covers(own, script))
        return own;
    // The family the desktop's font resolves to, not an alias such as "Sans Serif".
    const QString current = QFontInfo(QApplication::font()).family();
    if (covers(current, script))
        return current;
#ifndef _WIN32
    // fontconfig's own choice for the script. Windows has none to ask: its font list names a
    // family for every script it has, and Qt's font database without fontconfig (the offscreen
    // platform's there) leaves the family of a laid-out run unnamed.
    if (const QString drawn = familyDrawing(script); !drawn.isEmpty())
        return drawn;
#endif
    for (const QString& family : QFontDatabase::families(script)) {
        if (!QFontDatabase::isPrivateFamily(family) && !QFontDatabase::isFixedPitch(family))
            return family;
    }
    return current;
}

void WindowLanguage::setFonts(const LanguageDef& language) {
    // Only the family changes; size and style stay as the controls have them. Qt fonts have no
    // character set: the family's script coverage takes its place.
    const QString family = fontFamily(language);
    for (const std::string_view name : fontFollowingControls()) {
        auto* widget = qobject_cast<QWidget*>(findTextTarget(m_window, name));
        if (widget == nullptr)
            continue;
        QFont font = widget->font();
        font.setFamily(family);
        widget->setFont(font);
    }
}

void WindowLanguage::registerCalibri() {
    for (const std::string_view file : kCalibriFontFiles) {
        const std::string path =
            (std::filesystem::path(m_programFolder) / std::string(file)).string();
        if (std::find(m_registered.begin(), m_registered.end(), path) != m_registered.end())
            continue;
        // A missing file is not reported: the family then falls back to one that covers Thai.
        if (QFontDatabase::addApplicationFont(QString::fromStdString(path)) >= 0)
            m_registered.push_back(path);
    }
}

}  // namespace kaldor
