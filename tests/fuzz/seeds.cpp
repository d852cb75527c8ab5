#include "tests/fuzz/seeds.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>

#include "tests/fuzz/template_input.h"
#include "tests/position/corpus_cases.h"

using namespace std::string_literals;

namespace {

constexpr size_t SOI_SIZE = 2;
constexpr size_t SEGMENT_HEADER_SIZE = 4;
constexpr size_t LENGTH_FIELD_SIZE = 2;
constexpr size_t EXIF_ID_SIZE = 6;
constexpr uint16_t LARGEST_SEGMENT_LENGTH = 0xFFFF;
constexpr uint32_t POINTER_INTO_IFD0 = TIFF_HEADER_SIZE;
constexpr uint32_t OFFSET_PAST_THE_DATA = 0xFFFF0000;

const Triple LATITUDE = Dms(35, 39, 3120);
const Triple LONGITUDE = Dms(139, 44, 4350);
const Triple LARGEST{Rational{UINT32_MAX, 1}, Rational{UINT32_MAX, 1}, Rational{UINT32_MAX, 1}};
const Triple ZERO_DENOMINATOR{Rational{35, 1}, Rational{39, 0}, Rational{3120, 100}};

// The last fills the room of D and d on the latitude, and has a half degree on the longitude.
constexpr GpsPosition POSITION_A{128371200000u, 503083500000u, true, true};
constexpr GpsPosition POSITION_B{82470000000u, 155421600000u, false, false};
constexpr GpsPosition ZERO{0, 0, true, false};
constexpr GpsPosition LARGEST_POSITION{UINT64_MAX, UINT64_MAX - MICRO_ARCSECONDS_PER_DEGREE / 2,
                                       false, true};
constexpr GpsPosition POSITIONS[] = {POSITION_A, POSITION_B, ZERO, LARGEST_POSITION};

const char* OrderName(ByteOrder order) {
    return order == ByteOrder::INTEL ? "ii" : "mm";
}

TiffLayout Position(ByteOrder order) {
    return PositionLayout(order, 'N', LATITUDE, 'E', LONGITUDE);
}

// Each kind of TIFF data the reader tells apart, in one byte order.
std::vector<std::pair<std::string, TiffLayout>> TiffLayouts(ByteOrder order) {
    std::vector<std::pair<std::string, TiffLayout>> layouts;
    layouts.emplace_back("position", Position(order));
    layouts.emplace_back("largest", PositionLayout(order, 'S', LARGEST, 'W', LARGEST));

    TiffLayout layout = Position(order);
    layout.ifd0.pop_back();
    layouts.emplace_back("no_gps_pointer", layout);

    layout = Position(order);
    layout.gps.pop_back();
    layouts.emplace_back("no_longitude", layout);

    layout = Position(order);
    layout.gps[2] = Angle(TAG_LATITUDE, ZERO_DENOMINATOR);
    layouts.emplace_back("zero_denominator", layout);

    layout = Position(order);
    layout.gps[1] = Reference(TAG_LATITUDE_REF, 'X');
    layouts.emplace_back("bad_reference", layout);

    layout = Position(order);
    layout.gps.push_back(Reference(TAG_LATITUDE_REF, 'S'));
    layout.gps.push_back(Angle(TAG_LONGITUDE, LARGEST));
    layouts.emplace_back("repeated_tags", layout);

    layout = Position(order);
    layout.ifd0.back() = Entry{TAG_GPS_POINTER, TYPE_LONG, 1, POINTER_INTO_IFD0};
    layouts.emplace_back("pointer_into_ifd0", layout);

    layout = Position(order);
    layout.gps[4] = Entry{TAG_LONGITUDE, TYPE_RATIONAL, 3, OFFSET_PAST_THE_DATA};
    layouts.emplace_back("triple_past_the_data", layout);
    return layouts;
}

// TIFF data with a raw's header magic in place of 42, as the bytes stand in the header.
struct RawHeader {
    const char* name;
    ByteOrder order;
    uint8_t magic[2];
};
constexpr RawHeader RAW_HEADERS[] = {{"orf_ii", ByteOrder::INTEL, {'R', 'O'}},
                                     {"orf_mm", ByteOrder::MOTOROLA, {'O', 'R'}},
                                     {"orf_sp_ii", ByteOrder::INTEL, {'R', 'S'}},
                                     {"rw2_ii", ByteOrder::INTEL, {'U', 0}}};
constexpr size_t MAGIC_AT = 2;

Bytes ExifIdentifier() {
    return Bytes{'E', 'x', 'i', 'f', 0, 0};
}

std::vector<Seed> JpegVariants(ByteOrder order) {
    const Bytes tiff = BuildTiff(Position(order));
    TiffLayout noGps = Position(order);
    noGps.ifd0.pop_back();
    const Bytes whole = Jpeg({JfifApp0(), ExifApp1(tiff), ScanAndEnd()});
    const std::string suffix = "_"s + OrderName(order);
    return {
        {"app0_exif_scan" + suffix, whole},
        {"exif_first" + suffix, Jpeg({ExifApp1(tiff)})},
        {"xmp_first" + suffix, Jpeg({XmpApp1(), ExifApp1(tiff)})},
        {"tables_first" + suffix, Jpeg({Segment(MARKER_DQT, Bytes(65, 1)), ExifApp1(tiff)})},
        {"scan_first" + suffix, Jpeg({JfifApp0(), ScanAndEnd(), ExifApp1(tiff)})},
        {"no_gps" + suffix, Jpeg({JfifApp0(), ExifApp1(BuildTiff(noGps))})},
        {"cut_in_exif" + suffix, Bytes(whole.begin(), whole.begin() + whole.size() / 2)},
        {"segment_past_the_end" + suffix,
         Jpeg({SegmentHeader(MARKER_APP1, LARGEST_SEGMENT_LENGTH), ExifIdentifier(), tiff})},
    };
}

const std::array<std::wstring, HEMISPHERE_COUNT> LETTERS{L"N", L"S", L"E", L"W"};
const std::array<std::wstring, HEMISPHERE_COUNT> SIGNS{L"", L"-", L"", L"-"};
const std::array<std::wstring, HEMISPHERE_COUNT> WORDS{L"\u5317\u7def", L"\u5357\u7def",
                                                       L"\u6771\u7d4c", L"\u897f\u7d4c"};
const std::array<std::wstring, HEMISPHERE_COUNT> WITH_NULS{L"N\0orth"s, L"S\0"s, L"\0E"s, L"W"};

const std::wstring TEMPLATES[] = {
    L"x@AD|@Ad|@AM|@Am|@AS|@As|@AH|@OD|@Od|@OM|@Om|@OS|@Os|@OH",
    L"https://www.openstreetmap.org/?mlat=@AH@Ad&mlon=@OH@Od&zoom=15",
    L"geo:@AH@Ad,@OH@Od",
    L"   q=@AD @Am@AH @OD @Om@OH",
    L"\"C:\\Program Files\\Maps\\maps.exe\" /pos @AD\u00b0@AM'@As\"@AH",
    L"a@@b@ x@-y end@A",
    L"@Ax@Oh@aD@A@AD",
    L"lead\0@AD behind the end"s,
    L"@Ad@Ad@Od@Od@AH@AH@OH@OH",
    L"@",
    L"    ",
    L"",
};

struct SegmentSpan {
    size_t header;
    size_t end;
};

// The first APP1 segment of a JPEG file, when there is one that ends inside the file.
bool FindFirstApp1(const Bytes& jpeg, SegmentSpan* span) {
    size_t at = SOI_SIZE;
    while (at + SEGMENT_HEADER_SIZE <= jpeg.size() && jpeg[at + 1] != MARKER_SOS) {
        const size_t end = at + LENGTH_FIELD_SIZE + (size_t{jpeg[at + 2]} << 8 | jpeg[at + 3]);
        if (jpeg[at + 1] == MARKER_APP1) {
            *span = SegmentSpan{at, end};
            return end <= jpeg.size();
        }
        at = end;
    }
    return false;
}

}  // namespace

std::vector<Seed> BuiltJpegSeeds() {
    std::vector<Seed> seeds;
    for (ByteOrder order : {ByteOrder::INTEL, ByteOrder::MOTOROLA}) {
        for (Seed& seed : JpegVariants(order)) {
            seeds.push_back(std::move(seed));
        }
    }
    seeds.push_back({"no_app1", Jpeg({JfifApp0(), ScanAndEnd()})});
    return seeds;
}

std::vector<Seed> BuiltTiffSeeds() {
    std::vector<Seed> seeds;
    for (ByteOrder order : {ByteOrder::INTEL, ByteOrder::MOTOROLA}) {
        for (const auto& [name, layout] : TiffLayouts(order)) {
            seeds.push_back({name + "_" + OrderName(order), BuildTiff(layout)});
        }
    }
    for (const RawHeader& raw : RAW_HEADERS) {
        Bytes tiff = BuildTiff(Position(raw.order));
        std::copy(std::begin(raw.magic), std::end(raw.magic), tiff.begin() + MAGIC_AT);
        seeds.push_back({std::string("position_") + raw.name, tiff});
    }
    return seeds;
}

std::vector<Seed> TemplateSeeds() {
    const struct {
        const char* name;
        const std::array<std::wstring, HEMISPHERE_COUNT>& texts;
        unsigned longerBy;
    } settings[] = {{"letters", LETTERS, 0},
                    {"signs", SIGNS, 0},
                    {"words", WORDS, 0},
                    {"nuls_longer", WITH_NULS, 3}};
    std::vector<Seed> seeds;
    size_t count = 0;
    for (const std::wstring& storedTemplate : TEMPLATES) {
        for (const auto& setting : settings) {
            const GpsPosition& position = POSITIONS[count % std::size(POSITIONS)];
            seeds.push_back(
                {"template" + std::to_string(count++) + "_" + setting.name,
                 EncodeTemplateCase(storedTemplate, setting.texts, position, setting.longerBy)});
        }
    }
    return seeds;
}

std::vector<Seed> CorpusJpegSeeds(const std::string& corpusDirectory) {
    std::vector<Seed> seeds;
    for (const CorpusCase& c : CORPUS_CASES) {
        if (c.kind == FileKind::JPEG) {
            Bytes photo = ReadWholeFile(corpusDirectory + "/" + c.name);
            SegmentSpan app1{};
            if (FindFirstApp1(photo, &app1)) {
                photo.resize(app1.end);
            }
            seeds.push_back({std::string("corpus_") + c.name, photo});
        }
    }
    return seeds;
}

std::vector<Seed> CorpusTiffSeeds(const std::string& corpusDirectory) {
    const Bytes identifier = ExifIdentifier();
    std::vector<Seed> seeds;
    for (const CorpusCase& c : CORPUS_CASES) {
        const Bytes file = ReadWholeFile(corpusDirectory + "/" + c.name);
        if (c.kind == FileKind::TIFF) {
            seeds.push_back({std::string("corpus_") + c.name, file});
            continue;
        }
        SegmentSpan app1{};
        if (!FindFirstApp1(file, &app1)) {
            continue;
        }
        const size_t start = app1.header + SEGMENT_HEADER_SIZE + EXIF_ID_SIZE;
        if (app1.end > start && std::equal(identifier.begin(), identifier.end(),
                                           file.begin() + app1.header + SEGMENT_HEADER_SIZE)) {
            seeds.push_back({std::string("corpus_tiff_in_") + c.name,
                             Bytes(file.begin() + start, file.begin() + app1.end)});
        }
    }
    return seeds;
}

Bytes ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
