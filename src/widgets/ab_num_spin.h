#pragma once

#include <QAbstractSpinBox>
#include <QString>

// Number spin editor. Holds a double that is always within [minimum, maximum] and shows it in
// the widget's number pattern.
//
// Two kinds of change: the program's (setValue, setMinimum, setMaximum: never signalled) and
// the user's (arrow keys, wheel, step buttons, or Enter / leaving the box after typing), which
// emit userChanged() when the value actually changed. Leaving the box emits focusLost() after
// any userChanged() of the typed text, because the window runs its handler on both.
// userEdited() tells whether the user changed the shown value since the program last set it
// (typing counts, confirmed or not), so that leaving a box nobody changed sends nothing.
// Typing accepts digits, one decimal point ('.' or ','), and a leading '-' only when the
// minimum is negative; a typed value outside the range is clamped when it is taken.
class AbNumSpin : public QAbstractSpinBox {
    Q_OBJECT
    Q_PROPERTY(double value READ value WRITE setValue)
    Q_PROPERTY(double minimum READ minimum WRITE setMinimum)
    Q_PROPERTY(double maximum READ maximum WRITE setMaximum)
    Q_PROPERTY(double increment READ increment WRITE setIncrement)
    Q_PROPERTY(QString format READ format WRITE setFormat)

public:
    explicit AbNumSpin(QWidget* parent = nullptr);

    [[nodiscard]] double value() const { return m_value; }
    void setValue(double value);
    [[nodiscard]] double minimum() const { return m_minimum; }
    void setMinimum(double minimum);
    [[nodiscard]] double maximum() const { return m_maximum; }
    void setMaximum(double maximum);
    void setRange(double minimum, double maximum);
    // The step of the arrows, wheel and buttons.
    [[nodiscard]] double increment() const { return m_increment; }
    void setIncrement(double increment);
    [[nodiscard]] QString format() const { return m_format; }
    void setFormat(const QString& format);

    // True when the user typed, or changed the value, since the program last set it.
    [[nodiscard]] bool userEdited() const { return m_typedSinceShown || m_value != m_shown; }
    // The value now shown counts as the program's: the edit it holds has been taken.
    void markShown();

    [[nodiscard]] QString textFromValue(double value) const;
    // The number in a typed text (',' taken as '.'); false when the text holds none.
    [[nodiscard]] bool valueFromText(const QString& text, double* value) const;

    void stepBy(int steps) override;
    [[nodiscard]] QValidator::State validate(QString& input, int& pos) const override;
    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

signals:
    void userChanged(double value);
    void focusLost();

protected:
    [[nodiscard]] StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // Stores the value clamped; true when it changed.
    bool store(double value);
    // Takes a typed text; emits userChanged() when it changed the value.
    void commitTypedText();
    void showValue();
    [[nodiscard]] QSize hintFor(bool minimal) const;

    double m_value = 0.0;
    double m_minimum = 0.0;
    double m_maximum = 99.0;
    double m_increment = 1.0;
    QString m_format = QStringLiteral("#0");
    bool m_typed = false;
    double m_shown = 0.0;  // the value the program last set
    bool m_typedSinceShown = false;
};
