#include "ui/setting_controls.h"

#include <string>

#include "service/setting_rows.h"
#include "ui/ui_build.h"

namespace kaldor {
namespace {

QString text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace

AbNumSpin* settingSpin(QWidget* parent, const char* control) {
    const SettingRow* row = findPageSetting(control);
    if (row == nullptr || row->editor != SettingEditor::Spin)
        return named<AbNumSpin>(parent, control);
    const SpinDesign& d = row->spin;
    const std::string pattern(d.pattern);
    return namedSpin(parent, control, {d.minimum, d.maximum, d.step, pattern.c_str(), d.initial});
}

QComboBox* settingList(QWidget* parent, const char* control) {
    auto* box = named<QComboBox>(parent, control);
    if (const SettingRow* row = findPageSetting(control))
        for (const std::string& item : settingItems(*row))
            box->addItem(QString::fromStdString(item));
    return box;
}

QCheckBox* settingTick(QWidget* parent, const char* control) {
    const SettingRow* row = findPageSetting(control);
    return named<QCheckBox>(parent, control, row != nullptr ? text(row->caption) : QString());
}

QLabel* settingLabel(QWidget* parent, const char* control) {
    const SettingRow* row = findPageSetting(control);
    const std::string name = row != nullptr && !row->label.empty() ? std::string(row->label)
                                                                   : std::string("Label") + control;
    return namedLabel(parent, name.c_str(), row != nullptr ? text(row->caption) : QString());
}

QLabel* settingLabel(QWidget* parent, const QWidget* control) {
    return settingLabel(parent, control->objectName().toLatin1().constData());
}

QGroupBox* settingGroup(QWidget* parent, const char* name) {
    return namedGroup(parent, name, settingGroupTitle(name));
}

QString settingPageTitle(const QString& name) {
    const std::string page = name.toStdString();
    const SettingContainer* c = findSettingPage(page);
    return c != nullptr ? text(c->caption) : QString();
}

QString settingGroupTitle(const char* name) {
    return text(groupBuiltInCaption(name));
}

}  // namespace kaldor
