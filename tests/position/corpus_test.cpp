// Real photos and TIFF images, each with the outcome its bytes give, launched through the real
// settings path.
#include <gtest/gtest.h>

#include "tests/position/command_harness.h"
#include "tests/position/corpus_cases.h"

namespace {

std::wstring CorpusPath(const char* name) {
    const std::string path = std::string(QUORIEL_TEST_DATA "/corpus/") + name;
    return L"Z:" + std::wstring(path.begin(), path.end());
}

Expected ExpectedOf(const CorpusCase& c) {
    switch (c.outcome) {
        case CorpusCase::POSITION:
            return Launch(PositionOf(c.north, c.latitude, c.east, c.longitude));
        case CorpusCase::NO_POSITION:
            return NO_POSITION;
        default:
            return NO_EXIF;
    }
}

double SignedDegrees(uint64_t microArcseconds, bool positive) {
    const double degrees = static_cast<double>(microArcseconds) / MICRO_ARCSECONDS_PER_DEGREE;
    return positive ? degrees : -degrees;
}

TEST(Corpus, EachFileGivesItsKnownOutcome) {
    CommandHarness harness;
    for (const CorpusCase& c : CORPUS_CASES) {
        SCOPED_TRACE(c.name);
        const CommandRun run = harness.RunFile(CorpusPath(c.name), c.kind);
        ExpectOutcome(run, ExpectedOf(c), harness.Owner());
        if (c.outcome == CorpusCase::POSITION && run.launched) {
            EXPECT_NEAR(SignedDegrees(run.launched->latitude, run.launched->north),
                        c.signedLatitude, CORPUS_TOLERANCE_DEGREES);
            EXPECT_NEAR(SignedDegrees(run.launched->longitude, run.launched->east),
                        c.signedLongitude, CORPUS_TOLERANCE_DEGREES);
        }
    }
}

}  // namespace
