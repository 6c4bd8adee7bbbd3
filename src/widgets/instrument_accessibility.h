#pragma once
// The instruments as assistive technology (screen readers, magnifiers, UI test robots) sees
// them. A bar or round meter is a read-only gauge whose name is its caption (or the text of the
// label it is the buddy of) with its unit, and whose value is the number as shown followed by
// the unit ("2500 rpm", "1.70 bar"); a lamp's value is "on" or "off", or, for a lamp named by a
// label of its own (the status lamp), the caption it shows. A live text reads as its text.
// Drop-down lists are named by their label on every platform (Qt's own interface names them by
// their current item on Linux) and read their current entry as their value, as their text and as
// the selected row of their popup list. Lamps, gauges and lists offer their reading as text too:
// on the Linux accessibility bus (AT-SPI) a value other than a number reaches a screen reader
// only so. A two-state button's press action is a click: a command reads as a push button, one
// of a set of choices (the fuel modes) as a radio button checked while its state is on.
//
// Value changes are announced to the accessibility bus at most once per kAnnounceIntervalMs
// per instrument: a change only marks the instrument, and one timer announces the marked ones
// with their latest values. Nothing at all happens while no assistive technology listens.
#include <QAccessible>
#include <QString>

#include <functional>

class QComboBox;
class QWidget;

namespace instrument_accessibility {

inline constexpr int kAnnounceIntervalMs = 500;

// Installs the interfaces; call before the first instrument is asked for (the window does it at
// creation). Installing again does nothing.
void install();

// Gives the controls under `root` this file's interfaces where Qt made its own before the
// factory was installed: with a screen reader on the bus from the start, Qt asks for a widget's
// interface as soon as it is created, and keeps the one it made (a two-state button would stay
// a check box whose "Toggle" does nothing).
void adopt(QWidget& root);

// Makes a drop-down list read by its given name or its label, not by its current item (Qt's
// own interface for lists does that on Linux, and it comes before any installed factory), and
// keeps its popup's selected row on its current entry.
void nameByLabel(QComboBox* list);

// The unit a gauge's value is read with, when its own unit text is blank or not a word a reader
// can say ("P[Bar]" is read "bar" when given that unit here).
void setUnit(QWidget* instrument, const QString& unit);
[[nodiscard]] QString unit(const QWidget* instrument);

// How a gauge's value is read: its shown value times `scale` with `decimals` decimals and the
// unit ("1375 rpm" for a meter drawn in thousands with the scale 1000). Without it a gauge reads
// its number as drawn.
void setReading(QWidget* instrument, const QString& unit, int decimals, double scale = 1);

// The role of a widget the program draws itself (a chart); before it is first asked for.
void setRole(QWidget* widget, QAccessible::Role role);

// The name a gauge or lamp is read by when it has no given name, no label and no caption.
void setFallbackName(QWidget* instrument, const QString& name);

// The words a lamp named by its caption is read with, lit and unlit ("on", "off" by default).
void setLampWords(const QString& on, const QString& off);

// The name and the value as assistive technology reads them.
[[nodiscard]] QString nameOf(const QWidget* instrument);
[[nodiscard]] QString valueTextOf(const QWidget* instrument);

// An instrument's shown value changed: it is announced with the next batch.
void valueShown(QWidget* instrument);

// Tests: every announcement goes to `sink` (with the value text announced) and counts as heard,
// whether or not a bus listens. An empty sink goes back to the bus.
using AnnouncementSink = std::function<void(QWidget* instrument, const QString& value)>;
void setAnnouncementSink(AnnouncementSink sink);

}  // namespace instrument_accessibility
