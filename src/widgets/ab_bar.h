#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>
#include <QWidget>

// Bar gauge: a bar filled from the minimum up to the value, with the value text (the number in
// the widget's pattern followed by the unit text) and an optional caption.
//
// value() returns what the program set; the bar and the text show the value clamped to the
// range, so a reading beyond the scale shows as the scale's end. NaN is ignored (the previous
// value stays). A minimum above the maximum is drawn as the range between the two.
// A new reading repaints only when its text, its filled length in pixels or its colour
// changes, and then costs two pixmap copies and the text.
class AbBar : public QWidget {
    Q_OBJECT
    Q_PROPERTY(double value READ value WRITE setValue)
    Q_PROPERTY(double minimum READ minimum WRITE setMinimum)
    Q_PROPERTY(double maximum READ maximum WRITE setMaximum)
    Q_PROPERTY(QString format READ format WRITE setFormat)
    Q_PROPERTY(QString unitText READ unitText WRITE setUnitText)
    Q_PROPERTY(QString caption READ caption WRITE setCaption)
    Q_PROPERTY(Qt::Orientation orientation READ orientation WRITE setOrientation)
    Q_PROPERTY(QColor barColor READ barColor WRITE setBarColor)
    Q_PROPERTY(QColor warningColor READ warningColor WRITE setWarningColor)
    Q_PROPERTY(double warningAbove READ warningAbove WRITE setWarningAbove)
    Q_PROPERTY(double warningBelow READ warningBelow WRITE setWarningBelow)

public:
    explicit AbBar(QWidget* parent = nullptr);

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
    [[nodiscard]] Qt::Orientation orientation() const { return m_orientation; }
    void setOrientation(Qt::Orientation orientation);
    [[nodiscard]] QColor barColor() const { return m_barColor; }
    void setBarColor(const QColor& colour);
    [[nodiscard]] QColor warningColor() const { return m_warningColor; }
    void setWarningColor(const QColor& colour);
    // The bar takes the warning colour above / below these values; +inf / -inf (the defaults)
    // switch the warning off.
    [[nodiscard]] double warningAbove() const { return m_warningAbove; }
    void setWarningAbove(double threshold);
    [[nodiscard]] double warningBelow() const { return m_warningBelow; }
    void setWarningBelow(double threshold);

    // What the widget shows: the clamped value and its text (number and unit text).
    [[nodiscard]] double shownValue() const { return m_shownValue; }
    [[nodiscard]] QString valueText() const { return m_valueText; }

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Layout {
        QRectF caption;
        QRectF track;
        QRectF text;
        qreal fontPixels = 8.0;
    };

    void refreshShown(bool force);
    // Layout, colours or caption changed: lay out again and redraw the cached layers.
    void lookChanged();
    [[nodiscard]] QPixmap renderLayer(const QColor* fill) const;
    [[nodiscard]] Layout computeLayout() const;
    [[nodiscard]] int fillPixels(double shown) const;
    [[nodiscard]] bool isWarning() const;

    double m_value = 0.0;
    double m_minimum = 0.0;
    double m_maximum = 100.0;
    QString m_format = QStringLiteral("##0");
    QString m_unitText;
    QString m_caption;
    Qt::Orientation m_orientation = Qt::Vertical;
    QColor m_barColor{0, 150, 70};
    QColor m_warningColor{215, 40, 30};
    double m_warningAbove;
    double m_warningBelow;

    double m_shownValue = 0.0;
    QString m_valueText;
    int m_fillPixels = 0;
    Layout m_layout;
    // The bar drawn empty and drawn full (in the normal and the warning colour); a reading
    // only combines them and draws its text.
    QPixmap m_emptyLayer;
    QPixmap m_fullLayer;
    QPixmap m_warningLayer;
    bool m_layersValid = false;
};
