// The ISO 6709 text as the location records carry it: the forms real writers use, exact
// conversion with truncation, and the texts that are no location.
#include <gtest/gtest.h>

#include <string>

#include "position/movie/iso6709.h"

namespace {

constexpr uint64_t DEGREE = MICRO_ARCSECONDS_PER_DEGREE;

TEST(Iso6709, ReadsDecimalDegreesAndRefusesTheRest) {
    const struct {
        std::string text;
        bool whole;
        bool read;
        uint64_t latitude = 0;
        bool north = false;
        uint64_t longitude = 0;
        bool east = false;
    } cases[] = {
        {"+35.6586+139.7454/", true, true, 128370960000u, true, 503083440000u, true},
        {"-35.658632-139.745411/", true, true, 128371075200u, false, 503083479600u, false},
        {"+35.6586+139.7454+040.000/", true, true, 128370960000u, true, 503083440000u, true},
        {"+27.5916+086.5640+8850CRSWGS_84/", true, true, 99329760000u, true, 311630400000u, true},
        {"+05.500-003.250-10.000/", true, true, 19800000000u, true, 11700000000u, false},
        {"+35.1234569999+139.0000009/", true, true, 35 * DEGREE + 444441600u, true, 139 * DEGREE,
         true},
        {"+35+139/", true, true, 35 * DEGREE, true, 139 * DEGREE, true},
        // As few integer digits as the number needs, the next sign ending it.
        {"+40.6800-74.5000/", true, true, 146448000000u, true, 268200000000u, false},
        {"+51.5932-0.2431/", true, true, 185735520000u, true, 875160000u, false},
        {"+5.5+13.25/", true, true, 19800000000u, true, 47700000000u, true},
        {"-0+0", true, true, 0, false, 0, true},
        {"+9.5+9.5", false, false},  // cut where the longitude may go on
        {"+90.0000-180.0000/", true, true, 90 * DEGREE, true, 180 * DEGREE, false},
        {"+35.6586+139.7454", true, true, 128370960000u, true, 503083440000u, true},
        {std::string("+35.6586+139.7454\0garbage", 25), false, true, 128370960000u, true,
         503083440000u, true},
        {"+35.6586+139.7454", false, false},  // cut where the longitude may go on
        {"+35.6586+139.7454CRSWGS_84/", true, true, 128370960000u, true, 503083440000u, true},
        {"+90.0001+000.0000/", true, false},
        {"+90.0000001+000.0000/", true, false},  // beyond 90 as written, though it reads as 90
        {"+00.0000-180.0000009/", true, false},
        {"+35.6586+139.7454Cgarbage", true, false},
        {"+00.0000+180.000001/", true, false},
        {"+3539.52+13944.72/", true, false},  // sexagesimal
        {"+355+139/", true, false},
        {"+35+1394/", true, false},
        {"+9.5+180.5/", true, false},
        {"35.6586+139.7454/", true, false},
        {"+35.+139.7454/", true, false},
        {"++35.6586+139.7454/", true, false},
        {"+35.6586+139.7454+/", true, false},
        {"+35.6586+139.7454x", true, false},
        {"+", true, false},
        {"", true, false},
        {"\xEF\xBC\x8B"
         "35.6586+139.7454/",
         true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        GpsPosition position{};
        ASSERT_EQ(ParseIso6709(c.text.data(), c.text.size(), c.whole, &position), c.read);
        if (c.read) {
            EXPECT_EQ(position.latitude, c.latitude);
            EXPECT_EQ(position.north, c.north);
            EXPECT_EQ(position.longitude, c.longitude);
            EXPECT_EQ(position.east, c.east);
        }
    }
}

}  // namespace
