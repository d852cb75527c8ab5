#include "launch/template_expansion.h"

#include <cstdint>

namespace {

constexpr WCHAR TEXT_END = L'\0';
constexpr WCHAR CODE_INTRODUCER = L'@';
constexpr WCHAR AXIS_LATITUDE = L'A';
constexpr WCHAR AXIS_LONGITUDE = L'O';

constexpr WCHAR CODE_DEGREES = L'D';
constexpr WCHAR CODE_DECIMAL_DEGREES = L'd';
constexpr WCHAR CODE_MINUTES = L'M';
constexpr WCHAR CODE_DECIMAL_MINUTES = L'm';
constexpr WCHAR CODE_SECONDS = L'S';
constexpr WCHAR CODE_DECIMAL_SECONDS = L's';
constexpr WCHAR CODE_HEMISPHERE = L'H';

// Worst-case output of each numeric code beyond the three characters of the code itself:
// D 10 (5124095576 for the largest 64-bit value), d 17 (5124095576.030431), m and s 9
// (59.999999); M and S write at most 2 and fit in the code's own room.
constexpr size_t CODE_LENGTH = 3;
constexpr size_t EXTRA_DEGREES = 10 - CODE_LENGTH;
constexpr size_t EXTRA_DECIMAL_DEGREES = 17 - CODE_LENGTH;
constexpr size_t EXTRA_DECIMAL_MINUTES = 9 - CODE_LENGTH;
constexpr size_t EXTRA_DECIMAL_SECONDS = 9 - CODE_LENGTH;

constexpr uint64_t MILLIONTHS = 1000000;
constexpr int FRACTION_DIGITS = 6;

struct Element {
    enum Kind { END, LITERAL, CODE } kind;
    WCHAR literal;
    WCHAR axis;
    WCHAR letter;
};

// One element of the template; both passes read it the same way.
const WCHAR* NextElement(const WCHAR* p, Element* element) {
    *element = Element{Element::END, TEXT_END, TEXT_END, TEXT_END};
    if (p[0] == TEXT_END) {
        return p;
    }
    if (p[0] != CODE_INTRODUCER) {
        element->kind = Element::LITERAL;
        element->literal = p[0];
        return p + 1;
    }
    if (p[1] == TEXT_END) {
        return p + 1;  // a trailing "@" yields nothing
    }
    if ((p[1] != AXIS_LATITUDE && p[1] != AXIS_LONGITUDE) || p[2] == TEXT_END) {
        element->kind = Element::LITERAL;  // "@x" yields x; "@A" at the end yields A
        element->literal = p[1];
        return p + 2;
    }
    element->kind = Element::CODE;
    element->axis = p[1];
    element->letter = p[2];
    return p + 3;
}

bool IsCodeLetter(WCHAR letter) {
    switch (letter) {
        case CODE_DEGREES:
        case CODE_DECIMAL_DEGREES:
        case CODE_MINUTES:
        case CODE_DECIMAL_MINUTES:
        case CODE_SECONDS:
        case CODE_DECIMAL_SECONDS:
        case CODE_HEMISPHERE:
            return true;
        default:
            return false;
    }
}

// An element that starts at an "@" and is neither a code nor "@@".
bool IsMalformed(const WCHAR* start, const Element& element) {
    if (start[0] != CODE_INTRODUCER) {
        return false;
    }
    switch (element.kind) {
        case Element::END:
            return true;  // the trailing "@"
        case Element::LITERAL:
            return element.literal != CODE_INTRODUCER;
        case Element::CODE:
            return !IsCodeLetter(element.letter);
    }
    return false;
}

const StoredText& SelectedHemisphere(WCHAR axis, const HemisphereTexts& hemispheres,
                                     const GpsPosition& position) {
    if (axis == AXIS_LATITUDE) {
        return position.north ? hemispheres.north : hemispheres.south;
    }
    return position.east ? hemispheres.east : hemispheres.west;
}

// What a code adds to the three characters it occupies in the template. H may add less than
// nothing; the sum over the template stays positive since each code counted its 3 characters.
size_t CodeExtra(const Element& code, const HemisphereTexts& hemispheres,
                 const GpsPosition& position) {
    switch (code.letter) {
        case CODE_DEGREES:
            return EXTRA_DEGREES;
        case CODE_DECIMAL_DEGREES:
            return EXTRA_DECIMAL_DEGREES;
        case CODE_DECIMAL_MINUTES:
            return EXTRA_DECIMAL_MINUTES;
        case CODE_DECIMAL_SECONDS:
            return EXTRA_DECIMAL_SECONDS;
        case CODE_HEMISPHERE:
            return SelectedHemisphere(code.axis, hemispheres, position).length - CODE_LENGTH;
        default:
            return 0;
    }
}

// Plain decimal, at least minDigits digits with leading zeros.
WCHAR* WriteNumber(WCHAR* out, uint64_t value, int minDigits) {
    WCHAR digits[20];  // 18446744073709551615 has 20 digits
    int count = 0;
    do {
        digits[count++] = static_cast<WCHAR>(L'0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (count < minDigits) {
        digits[count++] = L'0';
    }
    while (count > 0) {
        *out++ = digits[--count];
    }
    return out;
}

// millionths / 10^6 with six decimals, then trailing zeros trimmed; a fraction of all zeros
// leaves the bare integer part.
WCHAR* WriteDecimal(WCHAR* out, uint64_t millionths) {
    out = WriteNumber(out, millionths / MILLIONTHS, 1);
    *out++ = L'.';
    out = WriteNumber(out, millionths % MILLIONTHS, FRACTION_DIGITS);
    while (out[-1] == L'0') {
        --out;
    }
    if (out[-1] == L'.') {
        --out;
    }
    return out;
}

WCHAR* WriteHemisphere(WCHAR* out, const StoredText& hemisphere) {
    for (size_t i = 0; i < hemisphere.length && hemisphere.text[i] != TEXT_END; ++i) {
        *out++ = hemisphere.text[i];
    }
    return out;
}

WCHAR* WriteCode(WCHAR* out, const Element& code, const HemisphereTexts& hemispheres,
                 const GpsPosition& position) {
    const uint64_t v = code.axis == AXIS_LATITUDE ? position.latitude : position.longitude;
    const uint64_t inDegree = v % MICRO_ARCSECONDS_PER_DEGREE;
    const uint64_t inMinute = v % MICRO_ARCSECONDS_PER_MINUTE;
    switch (code.letter) {
        case CODE_DEGREES:
            return WriteNumber(out, v / MICRO_ARCSECONDS_PER_DEGREE, 1);
        case CODE_DECIMAL_DEGREES:
            return WriteDecimal(out, v / (MICRO_ARCSECONDS_PER_DEGREE / MILLIONTHS));
        case CODE_MINUTES:
            return WriteNumber(out, inDegree / MICRO_ARCSECONDS_PER_MINUTE, 1);
        case CODE_DECIMAL_MINUTES:
            return WriteDecimal(out, inDegree / (MICRO_ARCSECONDS_PER_MINUTE / MILLIONTHS));
        case CODE_SECONDS:
            return WriteNumber(out, inMinute / MICRO_ARCSECONDS_PER_SECOND, 1);
        case CODE_DECIMAL_SECONDS:
            return WriteDecimal(out, inMinute);
        case CODE_HEMISPHERE:
            return WriteHemisphere(out, SelectedHemisphere(code.axis, hemispheres, position));
        default:
            *out++ = code.axis;
            *out++ = code.letter;
            return out;
    }
}

}  // namespace

size_t MeasurePositionTemplate(const WCHAR* templateText, size_t storedLength,
                               const HemisphereTexts& hemispheres, const GpsPosition& position) {
    size_t room = storedLength;
    Element element;
    for (const WCHAR* p = NextElement(templateText, &element); element.kind != Element::END;
         p = NextElement(p, &element)) {
        if (element.kind == Element::CODE) {
            room += CodeExtra(element, hemispheres, position);  // unsigned wrap is intended
        }
    }
    return room + 1;
}

Status ExpandPositionTemplate(const WCHAR* templateText, size_t storedLength,
                              const HemisphereTexts& hemispheres, const GpsPosition& position,
                              UniqueBuffer<WCHAR>* expanded) {
    const size_t room = MeasurePositionTemplate(templateText, storedLength, hemispheres, position);
    UniqueBuffer<WCHAR> output(AllocateArray<WCHAR>(room));
    if (!output) {
        return STATUS_OUT_OF_MEMORY;
    }
    WCHAR* out = output.Get();
    Element element;
    for (const WCHAR* p = NextElement(templateText, &element); element.kind != Element::END;
         p = NextElement(p, &element)) {
        if (element.kind == Element::LITERAL) {
            *out++ = element.literal;
        } else {
            out = WriteCode(out, element, hemispheres, position);
        }
    }
    *out = TEXT_END;
    *expanded = std::move(output);
    return RESULT_DONE;
}

bool FindMalformedCode(const WCHAR* templateText, size_t* offset, size_t* length) {
    Element element;
    for (const WCHAR* p = templateText;;) {
        const WCHAR* next = NextElement(p, &element);
        if (IsMalformed(p, element)) {
            *offset = static_cast<size_t>(p - templateText);
            *length = static_cast<size_t>(next - p);
            return true;
        }
        if (element.kind == Element::END) {
            return false;
        }
        p = next;
    }
}
