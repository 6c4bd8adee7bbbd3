#include "model/codec.h"

#include "model/units.h"

namespace kaldor {
namespace {

// The cut-off threshold is a throttle voltage in the TPS modes and a plain voltage in the air-flow
// modes; other modes give it no unit.
enum class CutOffUnit { TpsVolts, Volts, None };

CutOffUnit cutOffUnit(const EcuImage& image) {
    const std::uint32_t mode = readField(image, FieldId::TpsCutOffMode);
    return mode <= 2 ? CutOffUnit::TpsVolts : mode <= 4 ? CutOffUnit::Volts : CutOffUnit::None;
}

int rpmSignalType(const EcuImage& image) {
    return static_cast<int>(readField(image, FieldId::RpmSignalType));
}

bool isWordField(const FieldDef& def) {
    return def.place == Place::Word || def.place == Place::Words;
}

// A number as the field holds it: words that may hold negative values are read signed.
double asSigned(const FieldDef& def, std::uint32_t raw) {
    if (isWordField(def))
        return fromSignedWord(static_cast<std::uint16_t>(raw));
    return static_cast<double>(raw);
}

// A converted number fitted to the field: words keep negatives as two's complement and clamp
// beyond 16 bits; narrower fields are masked by the store itself.
std::uint32_t fitted(const FieldDef& def, std::int64_t raw) {
    if (isWordField(def))
        return toWordField(raw);
    return static_cast<std::uint32_t>(raw < 0 ? 0 : raw);
}

std::optional<std::uint32_t> listIndex(double shown, int offset = 0) {
    if (shown < 0)
        return std::nullopt;
    return static_cast<std::uint32_t>(truncateToInt(shown) + offset);
}

}  // namespace

std::optional<double> shownValue(const EcuImage& image, FieldId id, std::size_t element) {
    const FieldDef& def = fieldDef(id);
    const std::uint32_t raw = readField(image, id, element);
    const auto r = static_cast<long>(raw);
    switch (def.encoding) {
        case Encoding::Plain:
            return asSigned(def, raw);
        case Encoding::Index:
        case Encoding::Flag:
        case Encoding::Pin:
        case Encoding::Raw:
            return static_cast<double>(raw);
        case Encoding::InverseFlag:
            return raw == 0 ? 1.0 : 0.0;
        case Encoding::IndexPlus1:
            return static_cast<double>(r - 1);
        case Encoding::IndexPlus20: {
            // Read as a signed byte: anything below the first item shows no item.
            const auto temperature = static_cast<std::int8_t>(raw & 0xFF);
            return temperature < kOnTemperatureFirst
                       ? -1.0
                       : static_cast<double>(temperature - kOnTemperatureFirst);
        }
        // A value between two items is no item: showing the item below it would claim a value
        // the controller does not hold (the defaults store 16 where the items step by 10).
        case Encoding::IndexTimes10: {
            const int value = fromSignedWord(static_cast<std::uint16_t>(raw));
            return value % 10 == 0 ? static_cast<double>(value / 10 - 1) : -1.0;
        }
        case Encoding::IndexTimes81:
            return raw % kEgtMaxLevelStep == 0 ? static_cast<double>(raw / kEgtMaxLevelStep) : -1.0;
        case Encoding::Volts:
            return AdcToVolts(r);
        case Encoding::TpsVolts:
            return AdcToTpsVolts(r);
        case Encoding::CutOffLevel:
            switch (cutOffUnit(image)) {
                case CutOffUnit::TpsVolts:
                    return AdcToTpsVolts(r);
                case CutOffUnit::Volts:
                    return AdcToVolts(r);
                case CutOffUnit::None:
                    return std::nullopt;
            }
            return std::nullopt;
        case Encoding::Millibar:
            return MillibarToBar(r);
        case Encoding::Centiseconds:
            return CentisecondsToSeconds(r);
        case Encoding::InjectionTime:
            return RawToInjTime(fromSignedWord(static_cast<std::uint16_t>(raw)));
        case Encoding::Period:
            return static_cast<double>(PeriodToRpm(raw, rpmSignalType(image)));
        case Encoding::Enrichment:
            return static_cast<double>(fromSignedWord(static_cast<std::uint16_t>(raw)) - 1000) / 10;
        case Encoding::RpmThreshold:
            return RpmThresholdFromRaw(r);
        case Encoding::InputChannel:
            for (std::size_t i = 0; i < std::size(kInputChannelWords); ++i)
                if (kInputChannelWords[i] == raw)
                    return static_cast<double>(i);
            return std::nullopt;
    }
    return std::nullopt;
}

std::optional<std::uint32_t> rawValue(const EcuImage& image, FieldId id, double shown) {
    const FieldDef& def = fieldDef(id);
    switch (def.encoding) {
        case Encoding::Plain:
        case Encoding::Raw:
        case Encoding::Pin:
            return fitted(def, PlainToRaw(shown));
        case Encoding::Index:
            return listIndex(shown);
        case Encoding::IndexPlus1:
            return listIndex(shown, 1);
        case Encoding::IndexPlus20:
            return listIndex(shown, kOnTemperatureFirst);
        case Encoding::IndexTimes10:
            if (shown < 0)
                return std::nullopt;
            return static_cast<std::uint32_t>((truncateToInt(shown) + 1) * 10);
        case Encoding::IndexTimes81:
            if (shown < 0)
                return std::nullopt;
            return static_cast<std::uint32_t>(truncateToInt(shown) * kEgtMaxLevelStep);
        case Encoding::Flag:
            return shown != 0 ? 1u : 0u;
        case Encoding::InverseFlag:
            return shown != 0 ? 0u : 1u;
        case Encoding::Volts:
            return fitted(def, VoltsToAdc(shown));
        case Encoding::TpsVolts:
            return fitted(def, TpsVoltsToAdc(shown));
        case Encoding::CutOffLevel:
            switch (cutOffUnit(image)) {
                case CutOffUnit::TpsVolts:
                    return fitted(def, TpsVoltsToAdc(shown));
                case CutOffUnit::Volts:
                    return fitted(def, VoltsToAdc(shown));
                case CutOffUnit::None:
                    return std::nullopt;
            }
            return std::nullopt;
        case Encoding::Millibar:
            return fitted(def, BarToMillibar(shown));
        case Encoding::Centiseconds:
            return fitted(def, SecondsToCentiseconds(shown));
        case Encoding::InjectionTime:
            return fitted(def, InjTimeToRaw(shown));
        case Encoding::Period: {
            const std::int64_t rpm = truncateToInt(shown);
            const auto asked = static_cast<std::uint32_t>(rpm < 0 ? 0 : rpm);
            return periodForField(RpmToPeriod(asked, rpmSignalType(image)));
        }
        case Encoding::Enrichment:
            return fitted(def, EnrichmentToRaw(shown));
        case Encoding::RpmThreshold:
            return fitted(def, RpmThresholdToRaw(shown));
        case Encoding::InputChannel: {
            const std::int64_t item = truncateToInt(shown);
            if (item < 0 || item >= static_cast<std::int64_t>(std::size(kInputChannelWords)))
                return std::nullopt;
            return kInputChannelWords[static_cast<std::size_t>(item)];
        }
    }
    return std::nullopt;
}

bool storeShown(EcuImage& image, FieldId id, double shown, std::size_t element) {
    const std::optional<std::uint32_t> raw = rawValue(image, id, shown);
    if (!raw)
        return false;
    storeField(image, id, *raw, element);
    return true;
}

}  // namespace kaldor
