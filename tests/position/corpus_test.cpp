// Real photos and TIFF images (tests/data/corpus, see its README for their source and
// licence), each with the outcome its bytes give, launched through the real settings path.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/position/command_harness.h"

namespace {

std::wstring CorpusPath(const wchar_t* name) {
    const std::string folder = QUORIEL_TEST_DATA "/corpus/";
    return L"Z:" + std::wstring(folder.begin(), folder.end()) + name;
}

struct CorpusCase {
    const wchar_t* name;
    bool isJpeg;
    Expected expected;
    double latitude;  // decimal degrees from an independent reader, signed
    double longitude;
};

Expected Position(bool north, uint64_t latitude, bool east, uint64_t longitude) {
    return Launch(PositionOf(north, latitude, east, longitude));
}

double SignedDegrees(uint64_t microArcseconds, bool positive) {
    const double degrees = static_cast<double>(microArcseconds) / MICRO_ARCSECONDS_PER_DEGREE;
    return positive ? degrees : -degrees;
}

TEST(Corpus, EachFileGivesItsKnownOutcome) {
    const CorpusCase cases[] = {
        {L"DSCN0010.jpg", true, Position(true, 156482814000u, true, 42786455999u), 43.4674483333333,
         11.8851266666639},
        {L"DSCN0021.jpg", true, Position(true, 156481493999u, true, 42784337999u), 43.4670816666639,
         11.8845383333306},
        {L"Kodak_CX7530.jpg", true, Position(false, 1336680000u, true, 129803100000u), -0.3713,
         36.0564166666667},
        {L"iphone_hdr_NO.jpg", true, Position(true, 145609100000u, false, 13409110000u),
         40.4469722222222, -3.72475277777778},
        {L"gps_mm.tiff", false, Position(true, 128371197600u, true, 503083497600u), 35.658666,
         139.745416},
        {L"gps_ii.tiff", false, Position(false, 82470000000u, false, 155421600000u),
         -22.9083333333333, -43.1726666666667},
        {L"Canon_40D.jpg", true, NO_POSITION},
        {L"BlueSquare.jpg", true, NO_POSITION},
        {L"image01551.jpg", true, NO_EXIF},
        {L"Arbitro.tiff", false, NO_POSITION},
        {L"Picoawards.tiff", false, NO_POSITION},
    };
    CommandHarness harness;
    for (const CorpusCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.name)));
        const CommandRun run = harness.RunFile(CorpusPath(c.name), c.isJpeg);
        ExpectOutcome(run, c.expected, harness.Owner());
        if (c.expected.kind == Expected::LAUNCH && run.launched) {
            EXPECT_NEAR(SignedDegrees(run.launched->latitude, run.launched->north), c.latitude,
                        0.000001);
            EXPECT_NEAR(SignedDegrees(run.launched->longitude, run.launched->east), c.longitude,
                        0.000001);
        }
    }
}

}  // namespace
