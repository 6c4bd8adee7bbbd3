#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>
#include <QWidget>

// Round meter with a needle: a scale of round-numbered labelled ticks over the sweep, the
// caption and unit text on the dial and the value (number in the widget's pattern) in a readout
// under the needle's pivot. Ab180Meter sweeps a half circle, Ab270Meter three quarters.
//
// value() returns what the program set; the needle and readout show it clamped to the range.
// NaN is ignored. The dial (everything but needle and readout) is drawn once into a cached
// pixmap, so a new reading costs only the needle and the readout.
class AbRoundMeter : public QWidget {
    Q_OBJECT
    Q_PROPERTY(double value READ value WRITE setValue)
    Q_PROPERTY(double minimum READ minimum WRITE setMinimum)
    Q_PROPERTY(double maximum READ maximum WRITE setMaximum)
    Q_PROPERTY(QString format READ format WRITE setFormat)
    Q_PROPERTY(QString unitText READ unitText WRITE setUnitText)
    Q_PROPERTY(QString caption READ caption WRITE setCaption)
    Q_PROPERTY(QColor needleColor READ needleColor WRITE setNeedleColor)

public:
    [[nodiscard]] double value() const { return m_value; }
    void setValue(double value);
    [[nodiscard]] double minimum() const { return m_minimum; }
    void setMinimum(double minimum);
    [[nodiscard]] double maximum() const { return m_maximum; }
    void setMaximum(double maximum);
    void setRange(double minimum, double maximum);
    [[nodiscard]] QString format() const { return m_format; }
    void setFormat(const QString& format);
    [[nodiscard]] QString unitText() const { return m_unitText; }
    void setUnitText(const QString& unitText);
    [[nodiscard]] QString caption() const { return m_caption; }
    void setCaption(const QString& caption);
    [[nodiscard]] QColor needleColor() const { return m_needleColor; }
    void setNeedleColor(const QColor& colour);

    [[nodiscard]] double sweepDegrees() const { return m_sweep; }
    // What the widget shows: the clamped value, its readout text and the needle's angle in
    // degrees (counter-clockwise from three o'clock).
    [[nodiscard]] double shownValue() const { return m_shownValue; }
    [[nodiscard]] QString valueText() const { return m_valueText; }
    [[nodiscard]] double needleAngle() const;

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

protected:
    AbRoundMeter(double sweepDegrees, QWidget* parent);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Geometry {
        QPointF centre;
        qreal radius = 0;
        QRectF readout;
        qreal fontPixels = 8;
    };

    void refreshShown(bool force);
    void dialChanged();
    [[nodiscard]] Geometry computeGeometry() const;
    [[nodiscard]] double angleFor(double shown) const;
    [[nodiscard]] long needleStepFor(double shown) const;
    void renderDial();

    const double m_sweep;
    double m_value = 0.0;
    double m_minimum = 0.0;
    double m_maximum = 100.0;
    QString m_format = QStringLiteral("##0");
    QString m_unitText;
    QString m_caption;
    QColor m_needleColor{200, 30, 20};

    double m_shownValue = 0.0;
    QString m_valueText;
    long m_needleStep = 0;
    Geometry m_geometry;
    QPixmap m_dial;
    bool m_dialValid = false;
};

class Ab180Meter : public AbRoundMeter {
    Q_OBJECT
public:
    explicit Ab180Meter(QWidget* parent = nullptr);
};

class Ab270Meter : public AbRoundMeter {
    Q_OBJECT
public:
    explicit Ab270Meter(QWidget* parent = nullptr);
};
