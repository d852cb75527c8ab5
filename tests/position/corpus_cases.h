#pragma once
// The real photos and TIFF images of tests/data/corpus (see its README for their source and
// licence) with the outcome their bytes give: a position in micro-arcseconds, "no position" or
// "no Exif", and for positions the decimal degrees an independent reader reports.

#include <cstdint>

#include "common/file_kind.h"

struct CorpusCase {
    const char* name;
    FileKind kind;
    enum Outcome { POSITION, NO_POSITION, NO_EXIF } outcome;
    bool north;
    uint64_t latitude;
    bool east;
    uint64_t longitude;
    double signedLatitude;
    double signedLongitude;
};

constexpr CorpusCase CORPUS_CASES[] = {
    {"DSCN0010.jpg", FileKind::JPEG, CorpusCase::POSITION, true, 156482814000u, true, 42786455999u,
     43.4674483333333, 11.8851266666639},
    {"DSCN0021.jpg", FileKind::JPEG, CorpusCase::POSITION, true, 156481493999u, true, 42784337999u,
     43.4670816666639, 11.8845383333306},
    {"Kodak_CX7530.jpg", FileKind::JPEG, CorpusCase::POSITION, false, 1336680000u, true,
     129803100000u, -0.3713, 36.0564166666667},
    {"iphone_hdr_NO.jpg", FileKind::JPEG, CorpusCase::POSITION, true, 145609100000u, false,
     13409110000u, 40.4469722222222, -3.72475277777778},
    {"gps_mm.tiff", FileKind::TIFF, CorpusCase::POSITION, true, 128371197600u, true, 503083497600u,
     35.658666, 139.745416},
    {"gps_ii.tiff", FileKind::TIFF, CorpusCase::POSITION, false, 82470000000u, false, 155421600000u,
     -22.9083333333333, -43.1726666666667},
    {"Canon_40D.jpg", FileKind::JPEG, CorpusCase::NO_POSITION},
    {"BlueSquare.jpg", FileKind::JPEG, CorpusCase::NO_POSITION},
    {"image01551.jpg", FileKind::JPEG, CorpusCase::NO_EXIF},
    {"Arbitro.tiff", FileKind::TIFF, CorpusCase::NO_POSITION},
    {"Picoawards.tiff", FileKind::TIFF, CorpusCase::NO_POSITION},
};

// Within this of the independent reader's decimal degrees.
constexpr double CORPUS_TOLERANCE_DEGREES = 0.000001;
