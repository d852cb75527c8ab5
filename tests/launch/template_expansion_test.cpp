#include "launch/template_expansion.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

// 35°39'31.2" N, 139°44'43.5" E and 22°54'30" S, 43°10'21.6" W.
constexpr GpsPosition POSITION_A{128371200000u, 503083500000u, true, true};
constexpr GpsPosition POSITION_B{82470000000u, 155421600000u, false, false};

struct Hemispheres {
    std::wstring north, south, east, west;
    HemisphereTexts Texts() const {
        return {{north.c_str(), north.size()},
                {south.c_str(), south.size()},
                {east.c_str(), east.size()},
                {west.c_str(), west.size()}};
    }
};

const Hemispheres LETTERS{L"N", L"S", L"E", L"W"};
const Hemispheres SIGNS{L"", L"-", L"", L"-"};

std::wstring Expand(const std::wstring& stored, const GpsPosition& position,
                    const Hemispheres& hemispheres = LETTERS) {
    size_t start = stored.find_first_not_of(L' ');
    start = start == std::wstring::npos ? stored.size() : start;
    UniqueBuffer<WCHAR> expanded;
    const Status status = ExpandPositionTemplate(stored.c_str() + start, stored.size(),
                                                 hemispheres.Texts(), position, &expanded);
    EXPECT_EQ(status, RESULT_DONE);
    const std::wstring text = expanded.Get();
    EXPECT_LT(text.size(), MeasurePositionTemplate(stored.c_str() + start, stored.size(),
                                                   hemispheres.Texts(), position))
        << "the text and its NUL must fit the room reserved";
    return text;
}

GpsPosition Latitude(uint64_t value) {
    return GpsPosition{value, 0, true, true};
}

struct CodeCase {
    const wchar_t* code;
    const wchar_t* aLatitude;
    const wchar_t* aLongitude;
    const wchar_t* bLatitude;
    const wchar_t* bLongitude;
};

TEST(TemplateExpansion, WorkedValuesOfEveryCode) {
    const CodeCase cases[] = {
        {L"D", L"35", L"139", L"22", L"43"},
        {L"d", L"35.658666", L"139.745416", L"22.908333", L"43.172666"},
        {L"M", L"39", L"44", L"54", L"10"},
        {L"m", L"39.52", L"44.725", L"54.5", L"10.36"},
        {L"S", L"31", L"43", L"30", L"21"},
        {L"s", L"31.2", L"43.5", L"30", L"21.6"},
        {L"H", L"N", L"E", L"S", L"W"},
    };
    for (const CodeCase& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(Expand(std::wstring(L"@A") + c.code, POSITION_A), c.aLatitude);
        EXPECT_EQ(Expand(std::wstring(L"@O") + c.code, POSITION_A), c.aLongitude);
        EXPECT_EQ(Expand(std::wstring(L"@A") + c.code, POSITION_B), c.bLatitude);
        EXPECT_EQ(Expand(std::wstring(L"@O") + c.code, POSITION_B), c.bLongitude);
    }
}

TEST(TemplateExpansion, WholeTemplates) {
    EXPECT_EQ(Expand(L"q=@Ad,@Od", POSITION_A, SIGNS), L"q=35.658666,139.745416");
    EXPECT_EQ(Expand(L"q=@Ad,@Od", POSITION_B, LETTERS), L"q=22.908333,43.172666");
    EXPECT_EQ(Expand(L"@AH@Ad,@OH@Od", POSITION_A, SIGNS), L"35.658666,139.745416");
    EXPECT_EQ(Expand(L"@AH@Ad,@OH@Od", POSITION_B, SIGNS), L"-22.908333,-43.172666");
    EXPECT_EQ(Expand(L"@AD @Am@AH @OD @Om@OH", POSITION_A), L"35 39.52N 139 44.725E");
    EXPECT_EQ(Expand(L"@AD @Am@AH @OD @Om@OH", POSITION_B), L"22 54.5S 43 10.36W");
}

TEST(TemplateExpansion, SizePassReservesTheWorstCaseOfEachCode) {
    const std::wstring stored = L"q=@Ad,@Od";
    EXPECT_EQ(MeasurePositionTemplate(stored.c_str(), stored.size(), LETTERS.Texts(), POSITION_A),
              38u);
    EXPECT_EQ(Expand(stored, POSITION_A).size(), 22u);
    // Leading spaces count in the stored length but are not expanded.
    const std::wstring spaced = L"   q=@Ad";
    EXPECT_EQ(
        MeasurePositionTemplate(spaced.c_str() + 3, spaced.size(), LETTERS.Texts(), POSITION_A),
        8u + 14u + 1u);
    EXPECT_EQ(Expand(spaced, POSITION_A), L"q=35.658666");
}

TEST(TemplateExpansion, LargestValueFillsExactlyItsRoom) {
    const GpsPosition largest{UINT64_MAX, UINT64_MAX, true, true};
    const struct {
        const wchar_t* code;
        const wchar_t* expected;
    } cases[] = {{L"@AD", L"5124095576"}, {L"@Ad", L"5124095576.030431"}};
    for (const auto& c : cases) {
        const std::wstring stored = c.code;
        EXPECT_EQ(Expand(stored, largest), c.expected);
        EXPECT_EQ(MeasurePositionTemplate(stored.c_str(), stored.size(), LETTERS.Texts(), largest),
                  std::wstring(c.expected).size() + 1);
    }
}

TEST(TemplateExpansion, ValuesAreTruncatedAndTrimmed) {
    const uint64_t degree = MICRO_ARCSECONDS_PER_DEGREE;
    const uint64_t minute = MICRO_ARCSECONDS_PER_MINUTE;
    const uint64_t second = MICRO_ARCSECONDS_PER_SECOND;
    const struct {
        uint64_t latitude;
        const wchar_t* stored;
        const wchar_t* expected;
    } cases[] = {
        {0, L"@AD @Ad @AM @Am @AS @As", L"0 0 0 0 0 0"},
        {35 * degree, L"@AD @Ad @AM @Am @AS @As", L"35 35 0 0 0 0"},
        {30 * degree + 30 * minute, L"@Ad @Am", L"30.5 30"},
        {5 * degree + 6 * minute + 7 * second + 80, L"@As @Ad @Am", L"7.00008 5.101944 6.116668"},
        {128371200000u, L"@Ad", L"35.658666"},  // not 35.658667
        {10 * degree, L"@Ad", L"10"},           // zeros of the integer part stay
        {59 * minute + 59 * second + 999999, L"@AM @Am @AS @As", L"59 59.999999 59 59.999999"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(Expand(c.stored, Latitude(c.latitude)), c.expected);
    }
}

TEST(TemplateExpansion, TemplateLanguage) {
    const struct {
        const wchar_t* stored;
        const wchar_t* expected;
    } cases[] = {
        {L"https://example.org/map", L"https://example.org/map"},
        {L"100%s %d %n", L"100%s %d %n"},  // never used as a format
        {L"a@@b", L"a@b"},
        {L"@ x@-y", L" x-y"},
        {L"end@", L"end"},
        {L"end@A", L"endA"},
        {L"end@O", L"endO"},
        {L"@Ax@Oh", L"AxOh"},  // no code letter: axis and letter, "@" dropped
        {L"@aD", L"aD"},       // lowercase a selects no axis
        {L"@A@AD", L"A@AD"},   // "@A@" is an unknown code; "AD" is then literal
        {L"   lead", L"lead"},
        {L"", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(Expand(c.stored, POSITION_A), c.expected);
    }
}

TEST(TemplateExpansion, HemisphereTextsFollowTheFlagsAlone) {
    const Hemispheres words{L"North ", L"South ", L"East ", L"West "};
    EXPECT_EQ(Expand(L"@AH|@OH", GpsPosition{0, 0, true, false}, words), L"North |West ");
    EXPECT_EQ(Expand(L"@AH|@OH", GpsPosition{0, 0, false, true}, words), L"South |East ");

    // An empty text inserts nothing, and its code gives back its three characters.
    const std::wstring stored = L"x@AHy";
    EXPECT_EQ(Expand(stored, POSITION_A, SIGNS), L"xy");
    EXPECT_EQ(MeasurePositionTemplate(stored.c_str(), stored.size(), SIGNS.Texts(), POSITION_A),
              stored.size() - 3 + 1);
}

TEST(TemplateExpansion, HemisphereTextIsCopiedNoFurtherThanItsLength) {
    // A text whose NUL comes before its stored length ends at the NUL; one longer than its
    // stored length is cut there. Either way nothing unwritten reaches the output.
    const std::wstring early(L"ab\0cd", 5);
    const HemisphereTexts texts{{early.c_str(), 5}, {L"S", 1}, {L"Elong", 1}, {L"W", 1}};
    UniqueBuffer<WCHAR> expanded;
    const std::wstring stored = L"@AH@OH.";
    ASSERT_EQ(ExpandPositionTemplate(stored.c_str(), stored.size(), texts, POSITION_A, &expanded),
              RESULT_DONE);
    EXPECT_EQ(std::wstring(expanded.Get()), L"abE.");
}

struct MalformedCase {
    const wchar_t* stored;
    size_t offset;  // SIZE_MAX: every "@" is read as a code or "@@"
    size_t length;
};

TEST(TemplateExpansion, MalformedCodeIsTheFirstAtThatIsNoCode) {
    const MalformedCase cases[] = {
        {L"https://x/?q=@AH@Ad,@OH@Od", SIZE_MAX},
        {L"mail@@host @Os @OD", SIZE_MAX},
        {L"", SIZE_MAX},
        {L"a@", 1, 1},        // "@" at the end
        {L"@Ad,@O", 4, 2},    // an axis at the end
        {L"@AX @Ad", 0, 3},   // no code letter after the axis
        {L"@ad", 0, 2},       // the axis letter's case matters
        {L"@Ad@x@AQ", 3, 2},  // the first of two
        {L"@@@", 2, 1},       // "@@" then a lone "@"
    };
    for (const MalformedCase& c : cases) {
        SCOPED_TRACE(c.stored);
        size_t offset = SIZE_MAX;
        size_t length = 0;
        const bool found = FindMalformedCode(c.stored, &offset, &length);
        EXPECT_EQ(found, c.offset != SIZE_MAX);
        if (found) {
            EXPECT_EQ(offset, c.offset);
            EXPECT_EQ(length, c.length);
        }
    }
}

}  // namespace
