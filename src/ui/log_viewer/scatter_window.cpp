#include "ui/log_viewer/scatter_window.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

#include "ui/ui_build.h"

namespace kaldor {
namespace {

constexpr int kMargin = 40;

// A widget that paints through a function: the plot and the histogram.
class PaintBox final : public QWidget {
public:
    PaintBox(QWidget* parent, std::function<void(QPainter&, const QRect&)> paint)
        : QWidget(parent), m_paint(std::move(paint)) {
        setMinimumSize(320, 200);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        m_paint(p, rect().adjusted(kMargin, 8, -8, -kMargin / 2));
    }

private:
    std::function<void(QPainter&, const QRect&)> m_paint;
};

double share(double v, const ValueRange& r) {
    return r.maximum > r.minimum ? (v - r.minimum) / (r.maximum - r.minimum) : 0.5;
}

QColor colourOf(double s) {
    s = std::clamp(s, 0.0, 1.0);
    return QColor::fromHsvF(0.66 * (1.0 - s), 0.9, 0.9);
}

QComboBox* channelList(QWidget* parent, const char* name, const QString& label, LiveSignal chosen,
                       QGridLayout* grid, int row) {
    auto* caption = namedLabel(parent, (std::string(name) + "Label").c_str(), label);
    auto* box = named<QComboBox>(parent, name);
    for (const LiveSignalDef& d : liveSignals())
        box->addItem(QString::fromUtf8(liveCsvHeader(d).c_str()), static_cast<int>(d.id));
    box->setCurrentIndex(static_cast<int>(chosen));
    box->setAccessibleName(label);
    caption->setBuddy(box);
    grid->addWidget(caption, row, 0);
    grid->addWidget(box, row, 1);
    return box;
}

LiveSignal chosenSignal(const QComboBox* box) {
    return static_cast<LiveSignal>(box->currentData().toInt());
}

}  // namespace

ScatterWindow::ScatterWindow(std::shared_ptr<const Recording> recording, RecordingSetup setup,
                             std::size_t first, std::size_t last, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_recording(std::move(recording)),
      m_setup(std::move(setup)),
      m_first(first),
      m_last(last) {
    setObjectName(QStringLiteral("ScatterWindow"));
    setWindowTitle(QStringLiteral("scatter plot"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* lists = new QGridLayout;
    ComboBoxScatterX =
        channelList(this, "ComboBoxScatterX", QStringLiteral("across:"), kScatterX, lists, 0);
    ComboBoxScatterY =
        channelList(this, "ComboBoxScatterY", QStringLiteral("up:"), kScatterY, lists, 1);
    ComboBoxScatterColour = channelList(this, "ComboBoxScatterColour", QStringLiteral("colour:"),
                                        kScatterColour, lists, 2);
    ComboBoxHistogram = channelList(this, "ComboBoxHistogram", QStringLiteral("histogram:"),
                                    kScatterColour, lists, 3);

    PaintBoxScatter = new PaintBox(this, [this](QPainter& p, const QRect& r) {
        const ScatterPlot& plot = m_plot;
        p.setPen(Qt::black);
        p.drawRect(r);
        const auto px = [&](double v) { return r.left() + share(v, plot.x) * r.width(); };
        const auto py = [&](double v) { return r.bottom() - share(v, plot.y) * r.height(); };
        // The main map's cell borders over the range shown.
        p.setPen(QPen(QColor(128, 128, 128), 1, Qt::DashLine));
        for (const double v : plot.xLines)
            if (v >= plot.x.minimum && v <= plot.x.maximum)
                p.drawLine(QPointF(px(v), r.top()), QPointF(px(v), r.bottom()));
        for (const double v : plot.yLines)
            if (v >= plot.y.minimum && v <= plot.y.maximum)
                p.drawLine(QPointF(r.left(), py(v)), QPointF(r.right(), py(v)));
        p.setPen(Qt::NoPen);
        for (const ScatterPoint& pt : plot.points) {
            p.setBrush(colourOf(share(pt.colour, plot.colour)));
            p.drawEllipse(QPointF(px(pt.x), py(pt.y)), 2, 2);
        }
        p.setPen(Qt::black);
        p.drawText(QPointF(r.left(), r.bottom() + 14), QString::number(plot.x.minimum));
        p.drawText(QPointF(r.right() - 40, r.bottom() + 14), QString::number(plot.x.maximum));
        p.drawText(QPointF(2, r.bottom()), QString::number(plot.y.minimum));
        p.drawText(QPointF(2, r.top() + 10), QString::number(plot.y.maximum));
    });
    PaintBoxScatter->setObjectName(QStringLiteral("PaintBoxScatter"));
    PaintBoxScatter->setAccessibleName(QStringLiteral("scatter plot"));
    PaintBoxHistogram = new PaintBox(this, [this](QPainter& p, const QRect& r) {
        const Histogram& h = m_histogram;
        p.setPen(Qt::black);
        p.drawRect(r);
        const std::size_t most =
            h.counts.empty() ? 0 : *std::max_element(h.counts.begin(), h.counts.end());
        if (most == 0)
            return;
        const double width = static_cast<double>(r.width()) / static_cast<double>(h.counts.size());
        p.setBrush(QColor(70, 130, 180));
        for (std::size_t i = 0; i < h.counts.size(); ++i) {
            const double height =
                static_cast<double>(h.counts[i]) / static_cast<double>(most) * r.height();
            p.drawRect(QRectF(r.left() + width * static_cast<double>(i), r.bottom() - height, width,
                              height));
        }
        p.drawText(QPointF(r.left(), r.bottom() + 14), QString::number(h.range.minimum));
        p.drawText(QPointF(r.right() - 40, r.bottom() + 14), QString::number(h.range.maximum));
    });
    PaintBoxHistogram->setObjectName(QStringLiteral("PaintBoxHistogram"));
    PaintBoxHistogram->setAccessibleName(QStringLiteral("histogram"));

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(lists);
    outer->addWidget(PaintBoxScatter, 3);
    outer->addWidget(PaintBoxHistogram, 1);
    for (QComboBox* box :
         {ComboBoxScatterX, ComboBoxScatterY, ComboBoxScatterColour, ComboBoxHistogram})
        connect(box, qOverload<int>(&QComboBox::activated), this, [this] { recompute(); });
    setTabOrder(ComboBoxScatterX, ComboBoxScatterY);
    setTabOrder(ComboBoxScatterY, ComboBoxScatterColour);
    setTabOrder(ComboBoxScatterColour, ComboBoxHistogram);
    recompute();
}

void ScatterWindow::recompute() {
    m_plot = scatterPlot(*m_recording, m_setup, chosenSignal(ComboBoxScatterX),
                         chosenSignal(ComboBoxScatterY), chosenSignal(ComboBoxScatterColour),
                         m_first, m_last);
    m_histogram =
        histogram(*m_recording, m_setup.context, chosenSignal(ComboBoxHistogram), m_first, m_last);
    PaintBoxScatter->update();
    PaintBoxHistogram->update();
}

}  // namespace kaldor
