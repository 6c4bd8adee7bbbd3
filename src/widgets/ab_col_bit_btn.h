#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QString>

// Coloured two-state button: shows TextOn on ColorOn when its state is on, TextOff on ColorOff
// when off; the state on also draws a dark frame and a bold text, so it does not rest on colour
// alone. A click emits clicked() as usual and does not change the state: the state shows what
// the program sets (a fuel-mode button is selected once the controller reports that mode).
// The state is the button's checked state. Assistive technology reads a button as a command
// (a push button whose press is a click) unless it is one of a set of choices (`choice`: a radio
// button, checked while its state is on); either way its press action is a click.
// Setting any property from the program emits nothing.
class AbColBitBtn : public QAbstractButton {
    Q_OBJECT
    Q_PROPERTY(bool state READ state WRITE setState)
    Q_PROPERTY(QString TextOn READ textOn WRITE setTextOn)
    Q_PROPERTY(QString TextOff READ textOff WRITE setTextOff)
    Q_PROPERTY(QColor ColorOn READ colorOn WRITE setColorOn)
    Q_PROPERTY(QColor ColorOff READ colorOff WRITE setColorOff)
    Q_PROPERTY(bool choice READ isChoice WRITE setChoice)

public:
    explicit AbColBitBtn(QWidget* parent = nullptr);

    [[nodiscard]] bool state() const { return isChecked(); }
    void setState(bool on);
    [[nodiscard]] QString textOn() const { return m_textOn; }
    void setTextOn(const QString& text);
    [[nodiscard]] QString textOff() const { return m_textOff; }
    void setTextOff(const QString& text);
    [[nodiscard]] QColor colorOn() const { return m_colorOn; }
    void setColorOn(const QColor& colour);
    [[nodiscard]] QColor colorOff() const { return m_colorOff; }
    void setColorOff(const QColor& colour);

    // One of a set of choices whose state says which is chosen (the fuel modes), not a command.
    [[nodiscard]] bool isChoice() const { return m_choice; }
    void setChoice(bool choice) { m_choice = choice; }

    // The text and colour of the current state.
    [[nodiscard]] QString shownText() const { return state() ? m_textOn : m_textOff; }
    [[nodiscard]] QColor shownColor() const { return state() ? m_colorOn : m_colorOff; }

    // Whether a text is drawn whole at the button's present size, not cut short.
    [[nodiscard]] bool fits(const QString& text) const;

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    // A click leaves the state as it is.
    void nextCheckState() override {}

private:
    void textsChanged();
    [[nodiscard]] QRectF face() const;
    [[nodiscard]] QFont textFont() const;
    [[nodiscard]] static QRectF textArea(const QRectF& face);

    QString m_textOn;
    QString m_textOff;
    QColor m_colorOn{60, 200, 60};
    QColor m_colorOff{200, 200, 200};
    bool m_choice = false;
};
