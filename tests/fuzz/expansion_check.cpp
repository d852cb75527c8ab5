#include "tests/fuzz/expansion_check.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "common/owners.h"

namespace {

constexpr WCHAR TEXT_END = L'\0';
constexpr WCHAR INTRODUCER = L'@';
constexpr WCHAR AXIS_LATITUDE = L'A';
constexpr WCHAR AXIS_LONGITUDE = L'O';
constexpr WCHAR CODE_HEMISPHERE = L'H';
constexpr WCHAR DECIMAL_POINT = L'.';

constexpr size_t DEGREE_DIGITS = 10;      // 5124095576 degrees for the largest 64-bit value
constexpr size_t SEXAGESIMAL_DIGITS = 2;  // minutes and seconds stay below 60
constexpr size_t FRACTION_DIGITS = 6;

struct NumberShape {
    WCHAR letter;
    size_t integerDigits;
    bool fraction;
};

constexpr NumberShape NUMBER_CODES[] = {
    {L'D', DEGREE_DIGITS, false},      {L'd', DEGREE_DIGITS, true},
    {L'M', SEXAGESIMAL_DIGITS, false}, {L'm', SEXAGESIMAL_DIGITS, true},
    {L'S', SEXAGESIMAL_DIGITS, false}, {L's', SEXAGESIMAL_DIGITS, true},
};

// What one stretch of the template must become: this text exactly, or a number.
struct Piece {
    bool isNumber;
    std::wstring text;
    NumberShape shape;
};

std::wstring SelectedHemisphere(WCHAR axis, const HemisphereTexts& hemispheres,
                                const GpsPosition& position) {
    const StoredText& selected = axis == AXIS_LATITUDE
                                     ? (position.north ? hemispheres.north : hemispheres.south)
                                     : (position.east ? hemispheres.east : hemispheres.west);
    std::wstring text;
    for (size_t i = 0; i < selected.length && selected.text[i] != TEXT_END; ++i) {
        text += selected.text[i];
    }
    return text;
}

Piece CodePiece(WCHAR axis, WCHAR letter, const HemisphereTexts& hemispheres,
                const GpsPosition& position) {
    for (const NumberShape& shape : NUMBER_CODES) {
        if (shape.letter == letter) {
            return Piece{true, {}, shape};
        }
    }
    if (letter == CODE_HEMISPHERE) {
        return Piece{false, SelectedHemisphere(axis, hemispheres, position)};
    }
    return Piece{false, std::wstring{axis, letter}};  // no such code: both letters stay
}

// Neighbouring literal text is joined, so that matching walks codes rather than characters.
void AddText(std::vector<Piece>* pieces, const std::wstring& text) {
    if (!pieces->empty() && !pieces->back().isNumber) {
        pieces->back().text += text;
    } else {
        pieces->push_back(Piece{false, text});
    }
}

std::vector<Piece> Pieces(const WCHAR* t, const HemisphereTexts& hemispheres,
                          const GpsPosition& position) {
    std::vector<Piece> pieces;
    size_t i = 0;
    while (t[i] != TEXT_END) {
        if (t[i] != INTRODUCER) {
            AddText(&pieces, std::wstring(1, t[i++]));
            continue;
        }
        const WCHAR axis = t[i + 1];
        if (axis == TEXT_END) {
            break;  // a trailing introducer gives nothing
        }
        if ((axis != AXIS_LATITUDE && axis != AXIS_LONGITUDE) || t[i + 2] == TEXT_END) {
            AddText(&pieces, std::wstring(1, axis));  // "@x" gives x
            i += 2;
            continue;
        }
        const Piece code = CodePiece(axis, t[i + 2], hemispheres, position);
        if (code.isNumber) {
            pieces.push_back(code);
        } else {
            AddText(&pieces, code.text);
        }
        i += 3;
    }
    return pieces;
}

bool IsDigit(WCHAR c) {
    return c >= L'0' && c <= L'9';
}

// A set of positions 0 to size in the output, one bit each.
class Positions {
  public:
    explicit Positions(size_t size) : words_(size / BITS + 1), size_(size) {}

    void Set(size_t p) { words_[p / BITS] |= uint64_t{1} << (p % BITS); }
    bool Has(size_t p) const { return p <= size_ && (words_[p / BITS] >> (p % BITS) & 1) != 0; }
    bool Empty() const {
        return std::all_of(words_.begin(), words_.end(), [](uint64_t w) { return w == 0; });
    }
    void Clear() { std::fill(words_.begin(), words_.end(), 0); }
    void Swap(Positions& other) { words_.swap(other.words_); }

    // This set becomes a & b.
    void SetToBoth(const Positions& a, const Positions& b) {
        for (size_t i = 0; i < words_.size(); ++i) {
            words_[i] = a.words_[i] & b.words_[i];
        }
    }

    // Adds the positions of a & b moved up by n, those past the end dropped, and kept only where
    // mask has them.
    void AddMovedUp(const Positions& a, const Positions& b, size_t n, const Positions& mask) {
        const size_t wordShift = n / BITS;
        const size_t bitShift = n % BITS;
        for (size_t i = wordShift; i < words_.size(); ++i) {
            const size_t from = i - wordShift;
            uint64_t word = (a.words_[from] & b.words_[from]) << bitShift;
            if (bitShift != 0 && from > 0) {
                word |= (a.words_[from - 1] & b.words_[from - 1]) >> (BITS - bitShift);
            }
            words_[i] |= word & mask.words_[i];
        }
        words_.back() &= LastWordMask();
    }

    template <typename Visit>
    void ForEach(Visit visit) const {
        for (size_t i = 0; i < words_.size(); ++i) {
            for (uint64_t word = words_[i]; word != 0; word &= word - 1) {
                visit(i * BITS + static_cast<size_t>(__builtin_ctzll(word)));
            }
        }
    }

    static Positions All(size_t size) {
        Positions all(size);
        std::fill(all.words_.begin(), all.words_.end(), ~uint64_t{0});
        all.words_.back() &= all.LastWordMask();
        return all;
    }

  private:
    static constexpr size_t BITS = 64;

    // The bits of the last word that stand for positions up to size.
    uint64_t LastWordMask() const {
        const size_t used = size_ % BITS + 1;
        return used == BITS ? ~uint64_t{0} : (uint64_t{1} << used) - 1;
    }

    std::vector<uint64_t> words_;
    size_t size_;
};

// Follows the pieces through the output as the set of positions each can end at, so that
// numbers running into digits around them are split every possible way. The sets are kept
// in place; each piece costs a few passes over them.
class OutputMatcher {
  public:
    explicit OutputMatcher(const std::wstring& out)
        : out_(out),
          all_(Positions::All(out.size())),
          digitsFrom_(DEGREE_DIGITS + 1, Positions(out.size())),
          notZero_(out.size()),
          point_(out.size()),
          behindNonZeroDigit_(out.size()),
          reached_(out.size()),
          next_(out.size()),
          scratch_(out.size()) {
        size_t run = 0;  // digits from p on
        for (size_t p = out.size(); p-- > 0;) {
            run = IsDigit(out[p]) ? run + 1 : 0;
            for (size_t n = 1; n <= std::min(run, DEGREE_DIGITS); ++n) {
                digitsFrom_[n].Set(p);
            }
            if (out[p] != L'0') {
                notZero_.Set(p);
            }
            if (out[p] == DECIMAL_POINT) {
                point_.Set(p);
            }
            if (IsDigit(out[p]) && out[p] != L'0') {
                behindNonZeroDigit_.Set(p + 1);
            }
        }
        reached_.Set(0);
    }

    // False once the piece can end nowhere.
    bool Follow(const Piece& piece) {
        next_.Clear();
        if (piece.isNumber) {
            AddNumberEnds(piece.shape);
        } else {
            AddTextEnds(piece.text);
        }
        reached_.Swap(next_);
        return !reached_.Empty();
    }

    bool ReachedTheEnd() const { return reached_.Has(out_.size()); }

  private:
    // Integer digits without leading zeros, then for a fractional shape optionally "." and 1
    // to 6 digits, the last not 0.
    void AddNumberEnds(const NumberShape& shape) {
        next_.AddMovedUp(reached_, digitsFrom_[1], 1, all_);
        scratch_.SetToBoth(reached_, notZero_);
        for (size_t digits = 2; digits <= shape.integerDigits; ++digits) {
            next_.AddMovedUp(scratch_, digitsFrom_[digits], digits, all_);
        }
        if (!shape.fraction) {
            return;
        }
        scratch_.Clear();
        scratch_.AddMovedUp(next_, point_, 1, all_);
        for (size_t digits = 1; digits <= FRACTION_DIGITS; ++digits) {
            next_.AddMovedUp(scratch_, digitsFrom_[digits], digits, behindNonZeroDigit_);
        }
    }

    void AddTextEnds(const std::wstring& text) {
        reached_.ForEach([&](size_t from) {
            if (out_.compare(from, text.size(), text) == 0) {
                next_.Set(from + text.size());
            }
        });
    }

    const std::wstring& out_;
    const Positions all_;
    std::vector<Positions> digitsFrom_;  // [n]: n digits start here
    Positions notZero_;                  // the character here is not "0"
    Positions point_;                    // the character here is "."
    Positions behindNonZeroDigit_;       // the character before is 1 to 9
    Positions reached_;
    Positions next_;
    Positions scratch_;
};

}  // namespace

bool MatchesTemplate(const WCHAR* templateText, const HemisphereTexts& hemispheres,
                     const GpsPosition& position, const std::wstring& output) {
    OutputMatcher matcher(output);
    for (const Piece& piece : Pieces(templateText, hemispheres, position)) {
        if (!matcher.Follow(piece)) {
            return false;
        }
    }
    return matcher.ReachedTheEnd();
}

std::string CheckExpansion(const WCHAR* templateText, size_t storedLength,
                           const HemisphereTexts& hemispheres, const GpsPosition& position) {
    const size_t room = MeasurePositionTemplate(templateText, storedLength, hemispheres, position);
    UniqueBuffer<WCHAR> expanded;
    const Status status =
        ExpandPositionTemplate(templateText, storedLength, hemispheres, position, &expanded);
    if (status != RESULT_DONE) {
        return "the expansion failed with status " + std::to_string(status);
    }
    // The write pass had exactly room characters (AllocateBuffer is malloc), so AddressSanitizer
    // stops any write past them; the text must also end inside them.
    const WCHAR* text = expanded.Get();
    size_t length = 0;
    while (length < room && text[length] != TEXT_END) {
        ++length;
    }
    if (length == room) {
        return "the expanded text has no end inside its room of " + std::to_string(room);
    }
    const std::wstring output(text, length);
    if (!MatchesTemplate(templateText, hemispheres, position, output)) {
        return "the expanded text \"" + Printable(output) + "\" is not the template \"" +
               Printable(templateText) + "\" with its codes replaced";
    }
    return {};
}

std::string Printable(const std::wstring& text) {
    constexpr WCHAR FIRST_PRINTABLE = 0x20;
    constexpr WCHAR LAST_PRINTABLE = 0x7E;
    std::string printable;
    for (WCHAR c : text) {
        if (c >= FIRST_PRINTABLE && c <= LAST_PRINTABLE) {
            printable += static_cast<char>(c);
        } else {
            char escaped[16];
            std::snprintf(escaped, sizeof escaped, "\\u{%x}", static_cast<unsigned>(c));
            printable += escaped;
        }
    }
    return printable;
}
