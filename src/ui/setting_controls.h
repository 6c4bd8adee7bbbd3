#pragma once
// The controls of the settings table's rows, built from their rows: a spin editor with its range,
// step, number pattern and first value; a list with its entries; a check box with its caption;
// the label that carries a setting's caption; a group with its title. A name without a row gets
// an empty control of its kind, so a page never fails to build.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>

#include "widgets/ab_num_spin.h"

namespace kaldor {

[[nodiscard]] AbNumSpin* settingSpin(QWidget* parent, const char* control);
[[nodiscard]] QComboBox* settingList(QWidget* parent, const char* control);
[[nodiscard]] QCheckBox* settingTick(QWidget* parent, const char* control);
// The label with the caption of the setting `control` (for a caption from the group and unit: the
// unit label), named as the row names it.
[[nodiscard]] QLabel* settingLabel(QWidget* parent, const char* control);
// The same for the setting whose control is `control`.
[[nodiscard]] QLabel* settingLabel(QWidget* parent, const QWidget* control);
// The group (or page part) `name` with its built-in title.
[[nodiscard]] QGroupBox* settingGroup(QWidget* parent, const char* name);
[[nodiscard]] QString settingGroupTitle(const char* name);
// The built-in caption of the page `name`; empty for a page without one.
[[nodiscard]] QString settingPageTitle(const QString& name);

}  // namespace kaldor
