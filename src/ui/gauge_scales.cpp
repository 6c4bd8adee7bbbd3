#include "ui/gauge_scales.h"

namespace kaldor {

const GaugeScale* findGaugeScale(std::string_view name) {
    for (const GaugeScale& entry : kGaugeScales) {
        if (name == entry.name) {
            return &entry;
        }
    }
    return nullptr;
}

}  // namespace kaldor
