#pragma once
// The oscilloscope of the readings page: the paint box PaintBoxScope, which paints the
// recorder's picture into an off-screen bitmap and copies that to the screen in one step, and
// the four channel selectors with their items in their trace colours.
#include <QComboBox>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QStaticText>
#include <QWidget>

#include <array>

#include "live/oscyloskop.h"

namespace kaldor {

struct ControllerSession;
struct LiveRecord;

// The off-screen bitmap a picture of drawing steps is painted into, to be copied onto its paint
// box in one step, so the box never flickers: the painter of the oscilloscope and the mapping
// chart. Lines solid or dotted, traces, rectangles and ellipses with a brush or a solid fill,
// texts at their step's font size, on a transparent or a coloured background.
class PictureBitmap {
public:
    // font: the face texts are drawn in, at each text step's own size.
    explicit PictureBitmap(const QFont& font);

    void paint(const ScopePicture& picture);
    // The one copy onto a widget of this size at (0, 0); a widget grown since the last picture
    // shows the background beyond it.
    void copyTo(QPainter& painter, const QRect& exposed, const QSize& widgetSize,
                ScopeColour background) const;
    [[nodiscard]] const QImage& image() const { return m_image; }

private:
    [[nodiscard]] static bool isDottedHairline(const ScopeStep& step);
    void paintDottedHairline(const ScopeStep& step);
    void paintTrace(const ScopeStep& step);
    void paintText(QPainter& painter, const ScopeStep& step);

    static constexpr qsizetype kTextCacheLimit = 512;

    QImage m_image;  // kept between pictures
    QFont m_font;
    QHash<QString, QStaticText> m_texts;  // by font size and text
};

class ScopeBox : public QWidget {
    Q_OBJECT

public:
    explicit ScopeBox(QWidget* parent = nullptr);

    // Paints the picture into the bitmap and asks for the one copy to the screen.
    void showPicture(const ScopePicture& picture);
    [[nodiscard]] const QImage& bitmap() const { return m_bitmap.image(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PictureBitmap m_bitmap;
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
    void showRecord(const LiveRecord& record);

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
