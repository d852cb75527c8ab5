// Replays the regression cases and every seed of the fuzz targets through the same property
// checks, deterministically; and shows that the checks refuse what they must.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "position/kind_table.h"
#include "tests/fuzz/fuzz_property.h"
#include "tests/fuzz/expansion_check.h"
#include "tests/fuzz/iso6709_check.h"
#include "tests/fuzz/raw_magic_check.h"
#include "tests/fuzz/reading_properties.h"
#include "tests/fuzz/seeds.h"
#include "tests/fuzz/template_input.h"
#include "tests/position/corpus_cases.h"

using namespace std::string_literals;

namespace {

const std::string CORPUS = QUORIEL_TEST_DATA "/corpus";

// The property a target checks, as its fuzz target names it.
template <auto check>
std::string Violation(const Bytes& bytes) {
    return ViolationOf(check(bytes.data(), bytes.size()));
}

struct Target {
    const char* kind;  // the folder of its cases under regressions/ and seeds/
    std::string (*violation)(const Bytes&);
    std::vector<Seed> (*built)();  // null where the seeds are all files of seeds/
};

const Target TARGETS[] = {
    {"jpeg", Violation<CheckJpegReading>, BuiltJpegSeeds},
    {"tiff", Violation<CheckTiffReading>, BuiltTiffSeeds},
    {"template", Violation<CheckTemplateInput>, TemplateSeeds},
    {"heif", Violation<CheckHeifReading>, nullptr},
    {"webp", Violation<CheckWebpReading>, nullptr},
    {"png", Violation<CheckPngReading>, nullptr},
    {"video", Violation<CheckVideoReading>, nullptr},
    {"cr3", Violation<CheckCr3Reading>, nullptr},
    {"iso6709", Violation<CheckIso6709Text>, nullptr},
};

std::vector<std::filesystem::path> CaseFiles(const std::string& folder, const char* kind) {
    std::vector<std::filesystem::path> files;
    const std::filesystem::path directory =
        std::filesystem::path(QUORIEL_FUZZ_SOURCE) / folder / kind;
    if (!std::filesystem::is_directory(directory)) {
        return files;
    }
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file() && name[0] != '.' && entry.path().extension() != ".md") {
            files.push_back(entry.path());
        }
    }
    return files;
}

TEST(FuzzReplay, RegressionCasesAndHandcraftedSeedsKeepTheProperties) {
    for (const Target& target : TARGETS) {
        for (const char* folder : {"regressions", "seeds"}) {
            for (const auto& file : CaseFiles(folder, target.kind)) {
                SCOPED_TRACE(file.string());
                EXPECT_EQ(target.violation(ReadWholeFile(file.string())), "");
            }
        }
    }
}

TEST(FuzzReplay, BuiltSeedsKeepTheProperties) {
    for (const Target& target : TARGETS) {
        if (target.built == nullptr) {
            continue;
        }
        const std::vector<Seed> seeds = target.built();
        EXPECT_FALSE(seeds.empty()) << target.kind;
        for (const Seed& seed : seeds) {
            SCOPED_TRACE(seed.name);
            EXPECT_EQ(target.violation(seed.bytes), "");
        }
    }
}

TEST(FuzzReplay, WholeCorpusAndItsSeedsKeepTheProperties) {
    for (const CorpusCase& c : CORPUS_CASES) {
        SCOPED_TRACE(c.name);
        const Bytes file = ReadWholeFile(CORPUS + "/" + c.name);
        ASSERT_FALSE(file.empty());
        EXPECT_EQ(c.kind == FileKind::JPEG ? Violation<CheckJpegReading>(file)
                                           : Violation<CheckTiffReading>(file),
                  "");
    }
    for (const Seed& seed : CorpusJpegSeeds(CORPUS)) {
        SCOPED_TRACE(seed.name);
        EXPECT_EQ(Violation<CheckJpegReading>(seed.bytes), "");
    }
    for (const Seed& seed : CorpusTiffSeeds(CORPUS)) {
        SCOPED_TRACE(seed.name);
        EXPECT_EQ(Violation<CheckTiffReading>(seed.bytes), "");
    }
}

// The fuzzing starts from every outcome of each reader, so none of them is left to chance.
TEST(FuzzReplay, ReaderSeedsReachEveryOutcome) {
    const std::set<Status> every{RESULT_DONE, RESULT_NO_EXIF, RESULT_NO_POSITION};
    std::set<Status> jpeg, tiff;
    for (const Seed& seed : BuiltJpegSeeds()) {
        jpeg.insert(CheckJpegReading(seed.bytes.data(), seed.bytes.size()).status);
    }
    for (const Seed& seed : BuiltTiffSeeds()) {
        tiff.insert(CheckTiffReading(seed.bytes.data(), seed.bytes.size()).status);
    }
    EXPECT_EQ(jpeg, every);
    EXPECT_EQ(tiff, every);
}

TEST(RawMagicChecker, RefusesAnotherOutcomeThanTiffsWithMagic42) {
    const KindOutcome done{RESULT_DONE, {1, 2, true, false}};
    const KindOutcome moved{RESULT_DONE, {1, 3, true, false}};
    const KindOutcome noExif{RESULT_NO_EXIF, {}};
    const KindOutcome noPosition{RESULT_NO_POSITION, {}};
    const struct {
        FileKind kind;
        uint16_t magic;
        KindOutcome outcome;
        KindOutcome as42;
        bool holds;
    } cases[] = {
        {FileKind::ORF, 0x4F52, done, done, true},
        {FileKind::ORF, 0x5352, noPosition, noPosition, true},
        {FileKind::RW2, 0x0055, noExif, noExif, true},
        {FileKind::ORF, 0x4F52, noExif, done, false},
        {FileKind::ORF, 0x5352, moved, done, false},
        {FileKind::RW2, 0x0055, noPosition, done, false},
        {FileKind::RW2, 0x4F52, done, done, false},  // another kind's magic
        {FileKind::ORF, 42, noPosition, noPosition, false},
        {FileKind::ORF, 0x524F, noExif, done, true},  // "IIOR": the word of the other order
        {FileKind::TIFF, 0x0055, noPosition, noPosition, false},
        {FileKind::TIFF, 0x0055, noExif, done, true},
        {FileKind::TIFF, 42, done, done, true},
        {FileKind::TIFF_RAW, 42, noPosition, done, false},
        {FileKind::TIFF_RAW, 0x4F52, done, done, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(KindName(c.kind)) + " " + std::to_string(c.magic));
        EXPECT_EQ(CheckKindOutcome(c.kind, c.magic, c.outcome, c.as42).empty(), c.holds);
    }
}

TEST(FuzzReplay, TemplateInputDecodesAsTheLoaderHandsOver) {
    const GpsPosition position{7, 9, false, true};
    const std::array<std::wstring, HEMISPHERE_COUNT> texts{L"N\0orth"s, L"", L"E", L"W\0"s};
    const Bytes plainInput = EncodeTemplateCase(L"  a@AH\0b"s, texts, position);
    const TemplateCase plain = DecodeTemplateCase(plainInput.data(), plainInput.size());
    EXPECT_EQ(plain.start, 2u);
    EXPECT_EQ(plain.storedLength, 6u);
    EXPECT_EQ(plain.stored.size(), 9u) << "the text, its NUL and nothing more";
    EXPECT_EQ(plain.hemisphereLengths, (std::array<size_t, 4>{1, 0, 1, 1}));
    EXPECT_EQ(plain.position.latitude, 7u);
    EXPECT_EQ(plain.position.longitude, 9u);
    EXPECT_FALSE(plain.position.north);
    EXPECT_TRUE(plain.position.east);

    const Bytes longerInput = EncodeTemplateCase(L"@OH", texts, position, 200);
    const TemplateCase longer = DecodeTemplateCase(longerInput.data(), longerInput.size());
    EXPECT_EQ(longer.hemisphereLengths, (std::array<size_t, 4>{201, 200, 201, 201}));
    EXPECT_EQ(longer.hemisphereTexts[0].size(), 7u);

    const uint8_t tooShort[] = {1, 2, 3};
    const TemplateCase empty = DecodeTemplateCase(tooShort, sizeof tooShort);
    EXPECT_EQ(empty.storedLength, 0u);
    EXPECT_EQ(empty.position.latitude, 0x030201u);
}

TEST(ExpansionChecker, AcceptsExactlyTheTemplateWithItsCodesReplaced) {
    const std::wstring north = L"North";
    const HemisphereTexts hemispheres{{north.c_str(), 2}, {L"S", 1}, {L"", 0}, {L"W", 1}};
    const GpsPosition northEast{0, 0, true, true};
    const struct {
        const wchar_t* templateText;
        const wchar_t* output;
        bool matches;
    } cases[] = {
        {L"x@AD|@Ad|@AH|@OH", L"x35|35.658666|No|", true},
        {L"x@AD|@Ad|@AH|@OH", L"x35|35|No|", true},
        {L"x@AD|@Ad|@AH|@OH", L"x35|35.658666|North|", false},  // past the stored length
        {L"x@AD|@Ad|@AH|@OH", L"x35|35.658666|S|", false},      // the other hemisphere
        {L"x@AD|@Ad|@AH|@OH", L"x3a|35.658666|No|", false},
        {L"x@AD|@Ad|@AH|@OH", L"x035|35.658666|No|", false},
        {L"x@AD|@Ad|@AH|@OH", L"x35.5|35.658666|No|", false},
        {L"x@AD|@Ad|@AH|@OH", L"x35|35.6586660|No|", false},
        {L"x@AD|@Ad|@AH|@OH", L"x35|35.1234567|No|", false},
        {L"x@AD|@Ad|@AH|@OH", L"x35|35.|No|", false},
        {L"x@AD|@Ad|@AH|@OH", L"x35|35.658666|No|!", false},
        {L"x@AD|@Ad|@AH|@OH", L"35|35.658666|No|", false},
        {L"@AD", L"", false},
        {L"@AD", L"12345678901", false},
        {L"@AM@AS", L"595", true},  // numbers may run together
        {L"@AM", L"123", false},
        {L"@Am", L"59.999999", true},
        {L"@AD5", L"355", true},
        {L"a@@b@ x@-y end@A", L"a@b x-y endA", true},
        {L"@Ax@Oh@aD", L"AxOhaD", true},
        {L"end@", L"end", true},
        {L"end@", L"end@", false},
        {L"", L"", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Printable(c.templateText) + " -> " + Printable(c.output));
        EXPECT_EQ(MatchesTemplate(c.templateText, hemispheres, northEast, c.output), c.matches);
    }
}

}  // namespace
