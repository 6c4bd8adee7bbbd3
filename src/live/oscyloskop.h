#pragma once
// The four-trace strip-chart recorder of the readings page. Each collected record feeds one
// sample per trace; the newest sample is drawn at the left edge and older ones move right by one
// pixel per record. Draw() describes the whole picture as a list of drawing steps that the page
// paints into an off-screen bitmap and copies to the paint box in one step.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "live/live_signals.h"

namespace kaldor {

struct ScopeColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend constexpr bool operator==(ScopeColour a, ScopeColour b) {
        return a.red == b.red && a.green == b.green && a.blue == b.blue;
    }
};

inline constexpr ScopeColour kScopeBlack{0, 0, 0};
inline constexpr ScopeColour kScopeWhite{255, 255, 255};
inline constexpr ScopeColour kScopeMaroon{128, 0, 0};
inline constexpr ScopeColour kScopeGreen{0, 128, 0};
inline constexpr ScopeColour kScopeBlue{0, 0, 255};

// The entries of every channel selector, in item order; item 0 switches the channel off. The
// signal each item shows is the one whose row in the live signal table names the item.
struct ScopeQuantity {
    const char* item;
    float rangeMax;  // drawn at the top edge; the bottom edge is 0 for every quantity
};
inline constexpr std::array<ScopeQuantity, 8> kScopeQuantities{{
    {"OFF ", 0},
    {"RPM", 6000},
    {"TPS", 15},
    {"MAF (MAS AIR FLOW)", 5},
    {"VACUM (BOOST)", 4},
    {"ADC(CONTACT)", 35},
    {"VDC(AKU)", 25},
    {"EGT", 1250},
}};

// The selector of each channel and its trace colour, which is also the selector's text colour
// (the selector named Blue draws green and the one named Green draws blue).
struct ScopeChannelDef {
    const char* selector;
    ScopeColour colour;
};
inline constexpr std::array<ScopeChannelDef, 4> kScopeChannels{{
    {"ComboBoxScopType", kScopeBlack},
    {"ComboBoxScopeTypeRed", kScopeMaroon},
    {"ComboBoxScopeTypeBlue", kScopeGreen},
    {"ComboBoxScopeTypeGreen", kScopeBlue},
}};

// The signal of a selector item; nothing for "OFF " and unknown items.
[[nodiscard]] std::optional<LiveSignal> scopeSignal(int item);
// The value a selector item takes from a record (0 for "OFF " and unknown items).
[[nodiscard]] double scopeValue(int item, const LiveRecord& record);

struct ScopePoint {
    int x = 0;
    int y = 0;
    friend constexpr bool operator==(ScopePoint a, ScopePoint b) {
        return a.x == b.x && a.y == b.y;
    }
};

enum class ScopePen { Solid, Dotted };
enum class ScopeBrush { None, DiagonalCross };

// One step of the picture, painted in list order with the step's own pen and brush. The
// oscilloscope and the mapping chart share it.
struct ScopeStep {
    enum class Kind { Line, Polyline, Rectangle, Ellipse, Text };
    Kind kind = Kind::Line;
    ScopeColour colour;  // pen colour; for a rectangle also its brush colour; for a text its colour
    int penWidth = 1;
    ScopePen pen = ScopePen::Solid;
    ScopeBrush brush = ScopeBrush::None;
    // A solid fill of a rectangle or an ellipse in a colour of its own, instead of the brush.
    std::optional<ScopeColour> fill;
    ScopePoint from;  // line start, rectangle or ellipse corner, top-left corner of a text
    ScopePoint to;    // line end (included), opposite rectangle or ellipse corner
    // Polyline points: the trace's own array, valid until the next Draw.
    const ScopePoint* points = nullptr;
    std::size_t pointCount = 0;
    std::string text;
    std::optional<ScopeColour> textBackground;  // nothing: a transparent background
    int fontSize = 0;
};

struct ScopePicture {
    int width = 0;
    int height = 0;
    ScopeColour background = kScopeWhite;
    std::vector<ScopeStep> steps;
};

class OSCYLOSKOP {
public:
    static constexpr std::size_t kChannels = kScopeChannels.size();
    static constexpr std::size_t kHistory = 4096;
    static constexpr int kPenWidth = 2;
    static constexpr int kFocusedPenWidth = 4;
    static constexpr int kMarkerPenWidth = 3;
    static constexpr int kFontSize = 12;
    static constexpr int kGridLines = 10;
    static constexpr ScopeColour kGridColour = kScopeBlack;
    static constexpr ScopeColour kBackground = kScopeWhite;

    struct Channel {
        bool enabled = false;
        ScopeColour colour;
        int penWidth = kPenWidth;
        int offset = 0;  // vertical shift in pixels
        float rangeMax = 0;
        float rangeMin = 0;
        float value = 0;  // newest value fed, before clamping
        float largest = 0;
        int largestX = 0;
        float smallest = 0;
        int smallestX = 0;
        std::vector<float> samples;      // kHistory entries, index 0 the newest
        std::vector<ScopePoint> points;  // kHistory entries, the first pointCount drawn
        std::size_t pointCount = 0;
    };

    OSCYLOSKOP();

    using Items = std::array<int, kChannels>;
    using Values = std::array<double, kChannels>;

    // Each selector's value in a record.
    [[nodiscard]] static Values valuesOf(const Items& items, const LiveRecord& record);
    // items: each selector's item index (-1 for none); focused: the channel whose selector has
    // the keyboard focus, or -1; values: this record's value for every channel.
    void Feed(const Items& items, int focused, const Values& values);
    // Advances the history by the values fed and describes the picture for a box of this size.
    const ScopePicture& Draw(int width, int height);

    [[nodiscard]] const Channel& channel(std::size_t i) const { return m_channels.at(i); }
    [[nodiscard]] std::size_t sampleCount() const { return m_sampleCount; }
    [[nodiscard]] const ScopePicture& picture() const { return m_picture; }

private:
    void drawGrid(int width, int height);
    void drawChannel(Channel& c, int width, int height);

    std::array<Channel, kChannels> m_channels;
    std::size_t m_sampleCount = 0;
    ScopePicture m_picture;
};

}  // namespace kaldor
