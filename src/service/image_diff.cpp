#include "service/image_diff.h"

#include <algorithm>

#include "maps/field_text.h"
#include "service/setup_description.h"

namespace kaldor {
namespace {

using ByteMasks = std::array<std::uint8_t, EcuImage::kSize>;

// Which bits of each byte some field names; computed once from the field table.
const ByteMasks& namedBits() {
    static const ByteMasks masks = [] {
        ByteMasks m{};
        for (std::size_t i = 0; i < fieldCount(); ++i) {
            const FieldDef& def = fieldAt(i);
            if (def.place == Place::Bits) {
                m[def.offset] |=
                    static_cast<std::uint8_t>(((1u << def.width) - 1u) << def.firstBit);
                continue;
            }
            for (std::size_t b = def.offset; b < def.offset + def.byteLength(); ++b)
                m[b] = 0xFF;
        }
        return m;
    }();
    return masks;
}

bool isControllerOwned(FieldId id) {
    return std::find(kControllerOwnedFields.begin(), kControllerOwnedFields.end(), id) !=
           kControllerOwnedFields.end();
}

SentLocation wordWrite(std::size_t index) {
    return {SendAs::Word, static_cast<std::uint16_t>(index)};
}
SentLocation byteWrite(std::size_t offset) {
    return {SendAs::Byte, static_cast<std::uint16_t>(offset)};
}

// A location without a field goes out as its word, unless that word also holds a location of
// the controller, which is never written: then only the byte goes.
SentLocation unnamedWrite(std::size_t offset) {
    const std::size_t word = offset / 2;
    if (isControllerOwnedByte(2 * word) || isControllerOwnedByte(2 * word + 1))
        return byteWrite(offset);
    return wordWrite(word);
}

std::vector<SentLocation> fieldWrites(const FieldDef& def, std::size_t element,
                                      const EcuImage& first, const EcuImage& second) {
    switch (def.sendAs) {
        case SendAs::Word:
            return {wordWrite(sentWordIndex(def, element))};
        case SendAs::Byte:
            return {byteWrite(sentByteOffset(def, element))};
        case SendAs::None:
            break;
    }
    // No editor sends it (the work times): the differing words or bytes themselves.
    std::vector<SentLocation> writes;
    const std::size_t start = def.offset + element * def.elementSize();
    const std::size_t end = start + def.elementSize();
    for (std::size_t b = start; b < end; ++b) {
        const bool differs = first.byte(b) != second.byte(b);
        if (def.elementSize() == 1 && differs)
            writes.push_back(byteWrite(b));
        else if (def.elementSize() > 1 && b % 2 == 0 && first.word(b / 2) != second.word(b / 2))
            writes.push_back(wordWrite(b / 2));
    }
    return writes;
}

// Two values that read alike although their raw values differ (two periods of one rpm) get the
// raw values added, so no entry looks like no difference. A PIN keeps its digits to itself.
void tellApart(Difference& d, const FieldDef* def) {
    if (d.first != d.second)
        return;
    if (def != nullptr && def->encoding == Encoding::Pin) {
        d.second += ", another PIN";
        return;
    }
    d.first += " (raw " + std::to_string(d.firstRaw) + ")";
    d.second += " (raw " + std::to_string(d.secondRaw) + ")";
}

// The bits no field names, most significant first; the named ones are dots.
std::string unnamedBitsText(std::uint8_t value, std::uint8_t unnamed) {
    if (unnamed == 0xFF)
        return std::to_string(value);
    std::string text;
    for (unsigned bit = 8; bit-- > 0;)
        text += (unnamed >> bit) & 1u ? ((value >> bit) & 1u ? '1' : '0') : '.';
    return text;
}

// Within a byte the bit fields in bit order, then the bits no field names.
int bitKey(const Difference& d) {
    if (!d.field)
        return 8;
    const FieldDef& def = fieldDef(*d.field);
    return def.place == Place::Bits ? def.firstBit : 0;
}

std::size_t address(const SentLocation& s) {
    return s.as == SendAs::Word ? 2u * s.at : s.at;
}

}  // namespace

bool isControllerOwnedByte(std::size_t byteOffset) {
    for (FieldId id : kControllerOwnedFields) {
        const FieldDef& def = fieldDef(id);
        if (byteOffset >= def.offset && byteOffset < def.offset + def.byteLength())
            return true;
    }
    return false;
}

ImageDiff diffImages(const EcuImage& first, const EcuImage& second, const SetupTexts& texts) {
    ImageDiff diff;
    for (std::size_t i = 0; i < fieldCount(); ++i) {
        const FieldDef& def = fieldAt(i);
        for (std::size_t e = 0; e < def.count; ++e) {
            const std::uint32_t a = readField(first, def.id, e);
            const std::uint32_t b = readField(second, def.id, e);
            if (a == b)
                continue;
            Difference d;
            d.name = setupElementName(first, def.id, e, texts);
            d.field = def.id;
            d.element = e;
            d.byteOffset = def.offset + e * def.elementSize();
            d.first = setupElementValue(first, def.id, e, texts);
            d.second = setupElementValue(second, def.id, e, texts);
            d.firstRaw = a;
            d.secondRaw = b;
            tellApart(d, &def);
            if (isControllerOwned(def.id)) {
                diff.controllerOwned.push_back(std::move(d));
            } else {
                d.sends = fieldWrites(def, e, first, second);
                diff.entries.push_back(std::move(d));
            }
        }
    }
    const ByteMasks& named = namedBits();
    for (std::size_t b = 0; b < EcuImage::kSize; ++b) {
        const auto unnamed = static_cast<std::uint8_t>(~named[b]);
        const auto a = static_cast<std::uint8_t>(first.byte(b) & unnamed);
        const auto c = static_cast<std::uint8_t>(second.byte(b) & unnamed);
        if (a == c)
            continue;
        Difference d;
        d.name = "byte " + std::to_string(b);
        d.byteOffset = b;
        d.first = unnamedBitsText(a, unnamed);
        d.second = unnamedBitsText(c, unnamed);
        d.firstRaw = a;
        d.secondRaw = c;
        d.sends = {unnamedWrite(b)};
        diff.entries.push_back(std::move(d));
    }
    const auto byPlace = [](const Difference& x, const Difference& y) {
        if (x.byteOffset != y.byteOffset)
            return x.byteOffset < y.byteOffset;
        return bitKey(x) < bitKey(y);
    };
    std::stable_sort(diff.entries.begin(), diff.entries.end(), byPlace);
    std::stable_sort(diff.controllerOwned.begin(), diff.controllerOwned.end(), byPlace);
    return diff;
}

std::vector<SentLocation> writesToMatch(const ImageDiff& diff) {
    std::vector<SentLocation> writes;
    for (const Difference& d : diff.entries)
        for (const SentLocation& s : d.sends)
            if (std::find(writes.begin(), writes.end(), s) == writes.end())
                writes.push_back(s);
    // The word carries the byte with it, as the image holds it.
    std::vector<std::uint16_t> words;
    for (const SentLocation& s : writes)
        if (s.as == SendAs::Word)
            words.push_back(s.at);
    const auto insideWrittenWord = [&words](const SentLocation& s) {
        return s.as == SendAs::Byte &&
               std::find(words.begin(), words.end(), s.at / 2) != words.end();
    };
    writes.erase(std::remove_if(writes.begin(), writes.end(), insideWrittenWord), writes.end());
    std::stable_sort(
        writes.begin(), writes.end(),
        [](const SentLocation& x, const SentLocation& y) { return address(x) < address(y); });
    return writes;
}

std::string diffText(const ImageDiff& diff, const std::string& firstLabel,
                     const std::string& secondLabel) {
    std::string text = "field: " + firstLabel + " | " + secondLabel + "\n";
    const auto lines = [&text](const std::vector<Difference>& list) {
        for (const Difference& d : list)
            text += d.name + ": " + d.first + " | " + d.second + "\n";
    };
    lines(diff.entries);
    if (!diff.controllerOwned.empty()) {
        text += "Kept by the ECU, never written:\n";
        lines(diff.controllerOwned);
    }
    return text;
}

}  // namespace kaldor
