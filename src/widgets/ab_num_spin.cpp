#include "widgets/ab_num_spin.h"

#include "widgets/number_format.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QStyle>
#include <QStyleOptionSpinBox>

#include <algorithm>
#include <cmath>

namespace {

// Longer typed texts than this are no number the controller could take.
constexpr int kMaxTypedLength = 20;
// Stepped values are snapped to this grid so that 0.7 - 0.1 is the same double as a typed 0.6;
// the handlers multiply and truncate, where a last-bit difference would show.
constexpr double kStepGrid = 1e9;
constexpr double kStepGridLimit = 1e6;

double snapToGrid(double value) {
    if (std::fabs(value) >= kStepGridLimit) {
        return value;
    }
    return std::round(value * kStepGrid) / kStepGrid;
}

}  // namespace

AbNumSpin::AbNumSpin(QWidget* parent) : QAbstractSpinBox(parent) {
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] {
        m_typed = true;
        m_typedSinceShown = true;
    });
    showValue();
}

void AbNumSpin::setValue(double value) {
    if (std::isnan(value)) {
        return;
    }
    store(value);
    m_typed = false;
    markShown();
    showValue();
}

void AbNumSpin::markShown() {
    m_shown = m_value;
    m_typedSinceShown = false;
}

void AbNumSpin::setMinimum(double minimum) {
    setRange(minimum, std::max(minimum, m_maximum));
}

void AbNumSpin::setMaximum(double maximum) {
    setRange(std::min(maximum, m_minimum), maximum);
}

void AbNumSpin::setRange(double minimum, double maximum) {
    if (!std::isfinite(minimum) || !std::isfinite(maximum)) {
        return;
    }
    m_minimum = std::min(minimum, maximum);
    m_maximum = std::max(minimum, maximum);
    // A value the new range clamps is the program's change, not the user's.
    if (store(m_value)) {
        m_shown = m_value;
        showValue();
    } else if (!m_typed) {
        showValue();
    }
    updateGeometry();
}

void AbNumSpin::setIncrement(double increment) {
    if (std::isfinite(increment) && increment >= 0.0) {
        m_increment = increment;
    }
}

void AbNumSpin::setFormat(const QString& format) {
    if (format == m_format) {
        return;
    }
    m_format = format;
    showValue();
    updateGeometry();
}

QString AbNumSpin::textFromValue(double value) const {
    return formatNumber(value, m_format);
}

bool AbNumSpin::valueFromText(const QString& text, double* value) const {
    QString cleaned = text.trimmed();
    cleaned.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double parsed = QLocale::c().toDouble(cleaned, &ok);
    if (!ok || !std::isfinite(parsed)) {
        return false;
    }
    *value = parsed;
    return true;
}

bool AbNumSpin::store(double value) {
    const double clamped = std::clamp(value, m_minimum, m_maximum);
    if (clamped == m_value) {
        return false;
    }
    m_value = clamped;
    return true;
}

void AbNumSpin::showValue() {
    const QString text = textFromValue(m_value);
    if (lineEdit()->text() != text) {
        lineEdit()->setText(text);
    }
}

void AbNumSpin::commitTypedText() {
    if (!m_typed) {
        return;
    }
    m_typed = false;
    double typed = 0.0;
    const bool changed = valueFromText(lineEdit()->text(), &typed) && store(typed);
    // A text that is no number, or one outside the range, shows the value that was taken.
    showValue();
    if (changed) {
        emit userChanged(m_value);
    }
}

QValidator::State AbNumSpin::validate(QString& input, int& pos) const {
    Q_UNUSED(pos);
    input.replace(QLatin1Char(','), QLatin1Char('.'));
    if (input.size() > kMaxTypedLength) {
        return QValidator::Invalid;
    }
    bool pointSeen = false;
    for (int i = 0; i < input.size(); ++i) {
        const QChar c = input.at(i);
        if (c.isDigit() && c.unicode() < 128) {
            continue;
        }
        if (c == QLatin1Char('.') && !pointSeen) {
            pointSeen = true;
            continue;
        }
        if (c == QLatin1Char('-') && i == 0 && m_minimum < 0.0) {
            continue;
        }
        return QValidator::Invalid;
    }
    double value = 0.0;
    if (!valueFromText(input, &value)) {
        return QValidator::Intermediate;
    }
    return value >= m_minimum && value <= m_maximum ? QValidator::Acceptable
                                                    : QValidator::Intermediate;
}

QAbstractSpinBox::StepEnabled AbNumSpin::stepEnabled() const {
    if (isReadOnly()) {
        return StepNone;
    }
    StepEnabled enabled = StepNone;
    if (m_value < m_maximum || m_typed) {
        enabled |= StepUpEnabled;
    }
    if (m_value > m_minimum || m_typed) {
        enabled |= StepDownEnabled;
    }
    return enabled;
}

void AbNumSpin::stepBy(int steps) {
    const double before = m_value;
    // A step after typing starts from the typed number.
    if (m_typed) {
        double typed = 0.0;
        if (valueFromText(lineEdit()->text(), &typed)) {
            store(typed);
        }
        m_typed = false;
    }
    store(snapToGrid(m_value + static_cast<double>(steps) * m_increment));
    showValue();
    lineEdit()->selectAll();
    if (m_value != before) {
        emit userChanged(m_value);
    }
}

void AbNumSpin::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        commitTypedText();
    }
    QAbstractSpinBox::keyPressEvent(event);
}

void AbNumSpin::focusOutEvent(QFocusEvent* event) {
    commitTypedText();
    QAbstractSpinBox::focusOutEvent(event);
    // Another window taking over (a message box, a dialog) or a popup is not leaving the box.
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        emit focusLost();
}

QSize AbNumSpin::hintFor(bool minimal) const {
    ensurePolished();
    const QFontMetrics metrics(fontMetrics());
    const QString low = textFromValue(m_minimum);
    const QString high = textFromValue(m_maximum);
    int textWidth = std::max(metrics.horizontalAdvance(low), metrics.horizontalAdvance(high));
    textWidth = std::max(textWidth, metrics.horizontalAdvance(QStringLiteral("000")));
    const int height = lineEdit()->sizeHint().height();
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    const QSize content(textWidth + 6 + (minimal ? 0 : metrics.horizontalAdvance(QLatin1Char('0'))),
                        height);
    return style()->sizeFromContents(QStyle::CT_SpinBox, &option, content, this);
}

QSize AbNumSpin::sizeHint() const {
    return hintFor(false);
}

QSize AbNumSpin::minimumSizeHint() const {
    return hintFor(true);
}
