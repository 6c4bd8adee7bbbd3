#pragma once
// What the instruments' accessibility interfaces share with their reading
// (instrument_reading.cpp): the label a widget is the buddy of and a gauge's value and range.
// For the files of instrument_accessibility only.
#include <QString>

#include <optional>

class QWidget;

namespace instrument_accessibility {

// The text of the label this widget is the buddy of, without its mnemonic and a trailing colon
// ("STATUS:" names the status lamp "STATUS").
[[nodiscard]] QString buddyText(const QWidget* widget);

struct GaugeReading {
    double shown = 0;
    double minimum = 0;
    double maximum = 0;
    QString number;
};

// A bar's or round meter's value as shown, its range and its number as drawn; nothing for any
// other widget.
[[nodiscard]] std::optional<GaugeReading> gaugeReading(const QWidget* widget);

}  // namespace instrument_accessibility
