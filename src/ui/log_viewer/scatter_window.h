#pragma once
// The log viewer's scatter plot and histogram, in a window of their own: two channels of the
// range the viewer shows against each other, each point coloured by a third channel (blue low,
// red high), with the main map's cell borders drawn where a plotted channel is one of the map's
// axes; and the histogram of one channel. Engine speed against manifold pressure, coloured by
// the exhaust temperature, at first.
#include <QWidget>

#include <memory>

#include "live/recording.h"
#include "live/recording_setup.h"
#include "maps/scatter_plot.h"

class QComboBox;

namespace kaldor {

class ScatterWindow : public QWidget {
    Q_OBJECT

public:
    ScatterWindow(std::shared_ptr<const Recording> recording, RecordingSetup setup,
                  std::size_t first, std::size_t last, QWidget* parent);

    [[nodiscard]] const ScatterPlot& plot() const { return m_plot; }
    [[nodiscard]] const Histogram& histogramShown() const { return m_histogram; }

    QComboBox* ComboBoxScatterX = nullptr;
    QComboBox* ComboBoxScatterY = nullptr;
    QComboBox* ComboBoxScatterColour = nullptr;
    QComboBox* ComboBoxHistogram = nullptr;
    QWidget* PaintBoxScatter = nullptr;
    QWidget* PaintBoxHistogram = nullptr;

private:
    void recompute();

    std::shared_ptr<const Recording> m_recording;
    RecordingSetup m_setup;
    std::size_t m_first;
    std::size_t m_last;
    ScatterPlot m_plot;
    Histogram m_histogram;
};

}  // namespace kaldor
