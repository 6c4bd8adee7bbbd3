#pragma once

#include <QColor>
#include <QRectF>
#include <QString>
#include <QTimer>
#include <QWidget>

// Indicator lamp with an optional caption beside or under it.
//
// Two ways of lighting it, as the window uses both: `status` (1 lit, 0 unlit; any non-zero
// counts as 1) for status lamps, and `checked` for on/off indicators. The lamp is lit when
// either is set. When `flashing` is on and the lamp is lit it blinks (on and off every
// blinkInterval ms, 2 Hz by default); the blink timer runs only while it is needed.
// A click on the lamp emits clicked().
class AbLED : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int status READ status WRITE setStatus)
    Q_PROPERTY(bool flashing READ flashing WRITE setFlashing)
    Q_PROPERTY(bool checked READ checked WRITE setChecked)
    Q_PROPERTY(QString caption READ caption WRITE setCaption)
    Q_PROPERTY(QColor color READ color WRITE setColor)
    Q_PROPERTY(bool captionBelow READ captionBelow WRITE setCaptionBelow)
    Q_PROPERTY(int blinkInterval READ blinkInterval WRITE setBlinkInterval)

public:
    explicit AbLED(QWidget* parent = nullptr);

    [[nodiscard]] int status() const { return m_status; }
    void setStatus(int status);
    [[nodiscard]] bool flashing() const { return m_flashing; }
    void setFlashing(bool flashing);
    [[nodiscard]] bool checked() const { return m_checked; }
    void setChecked(bool checked);
    [[nodiscard]] QString caption() const { return m_caption; }
    void setCaption(const QString& caption);
    // The colour when lit; the unlit lamp is a dark shade of it.
    [[nodiscard]] QColor color() const { return m_color; }
    void setColor(const QColor& colour);
    [[nodiscard]] bool captionBelow() const { return m_captionBelow; }
    void setCaptionBelow(bool below);
    [[nodiscard]] int blinkInterval() const { return m_blink.interval(); }
    void setBlinkInterval(int milliseconds);

    // Lit by status or checked, before blinking.
    [[nodiscard]] bool isLit() const { return m_status != 0 || m_checked; }
    // What is drawn right now: lit and, while blinking, in the bright phase.
    [[nodiscard]] bool isLitShown() const;
    [[nodiscard]] bool isBlinking() const { return m_blink.isActive(); }

    // Whether the caption is drawn whole at the lamp's present size, not cut short.
    [[nodiscard]] bool captionFits() const;

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Where the lamp and its caption go in the widget, and the caption's pixel size.
    struct LampLayout {
        QRectF area, lamp, text;
        qreal diameter = 0;
        qreal fontPixels = 0;
    };
    [[nodiscard]] LampLayout parts() const;
    void updateBlink();
    void toggleBlinkPhase();

    int m_status = 0;
    bool m_flashing = false;
    bool m_checked = false;
    QString m_caption;
    QColor m_color{40, 220, 40};
    bool m_captionBelow = false;
    bool m_blinkBright = true;
    bool m_pressed = false;
    QTimer m_blink;
};
