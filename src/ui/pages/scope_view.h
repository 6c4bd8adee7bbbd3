#pragma once
// The oscilloscope of the readings page: the paint box PaintBoxScope, which paints the
// recorder's picture into an off-screen bitmap and copies that to the screen in one step, and
// the four channel selectors with their items in their trace colours.
#include <QComboBox>
#include <QFont>
#include <QImage>
#include <QWidget>

#include <array>

#include "live/oscyloskop.h"

namespace kaldor {

struct ControllerSession;
struct Readings;

class ScopeBox : public QWidget {
    Q_OBJECT

public:
    explicit ScopeBox(QWidget* parent = nullptr);

    // Paints the picture into the bitmap and asks for the one copy to the screen.
    void showPicture(const ScopePicture& picture);
    [[nodiscard]] const QImage& bitmap() const { return m_bitmap; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintSteps(const ScopePicture& picture);
    void paintTrace(const ScopeStep& step);

    QImage m_bitmap;  // the off-screen picture, kept between records
    QFont m_labelFont;
};

class Oscilloscope {
public:
    using Selectors = std::array<QComboBox*, OSCYLOSKOP::kChannels>;

    // page: the readings page, the recorder runs only while it is on screen. selectors: in
    // channel order (ScopType, Red, Blue, Green); they get their items and trace colours here.
    Oscilloscope(QWidget* page, ScopeBox* box, const Selectors& selectors);

    // Takes every collected record, after the display and the calibration tables.
    void attach(ControllerSession& session);
    // One record: Feed and Draw while the readings page is shown, nothing otherwise.
    void showRecord(const Readings& readings);

    // Each selector's item index, -1 for none, in channel order.
    [[nodiscard]] std::array<int, OSCYLOSKOP::kChannels> selectedItems() const;
    // An index outside the items leaves that selector without a selection.
    void selectItems(const std::array<int, OSCYLOSKOP::kChannels>& items);
    [[nodiscard]] const OSCYLOSKOP& recorder() const { return m_recorder; }

private:
    [[nodiscard]] int focusedChannel() const;

    QWidget* m_page;
    ScopeBox* m_box;
    Selectors m_selectors;
    OSCYLOSKOP m_recorder;
};

}  // namespace kaldor
