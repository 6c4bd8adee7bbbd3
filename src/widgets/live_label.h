#pragma once
// A one-line text that changes with every live record. Unlike QLabel, a new text only repaints
// the text: its size does not follow the text, so a changing number never makes the window lay
// itself out again. The caption sets the size it asks for.
#include <QString>
#include <QWidget>

class LiveLabel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)

public:
    explicit LiveLabel(QWidget* parent = nullptr);

    [[nodiscard]] QString text() const { return m_text; }
    void setText(const QString& text);
    // The text the widget sizes itself for (default: twenty-four digits).
    void setSizingText(const QString& text);
    void setAlignment(Qt::Alignment alignment);

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    QString m_sizingText = QStringLiteral("000000000000000000000000");
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignVCenter;
};
