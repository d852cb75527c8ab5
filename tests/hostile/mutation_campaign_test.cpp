// Thousands of mutated photos through the real module's command, each answered with one of
// the outcomes the design allows. No settings are configured, so a position that survives the
// mutation ends in the settings failure instead of starting a program.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>

#include "common/messages.h"
#include "common/registry_names.h"
#include "tests/hostile/exif_mutator.h"
#include "tests/position/corpus_cases.h"
#include "tests/support/child_process.h"
#include "tests/support/handler_driver.h"
#include "tests/host/message_box_recorder.h"
#include "tests/support/registry_scratch.h"
#include "tests/support/scratch_file.h"
#include "tests/host/test_data_object.h"
#include "tests/support/test_window.h"

namespace {

constexpr uint32_t CAMPAIGN_SEED = 20261208;
constexpr int MUTATIONS_PER_SEED = 500;
constexpr HRESULT SETTINGS_MISSING = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);

struct Seed {
    std::string name;
    Bytes bytes;
    FileKind kind;
};

std::vector<Seed> Seeds() {
    std::vector<Seed> seeds;
    for (const CorpusCase& c : CORPUS_CASES) {
        if (c.outcome != CorpusCase::NO_EXIF) {
            const std::wstring path =
                FromLinuxPath(std::string(QUORIEL_TEST_DATA "/corpus/") + c.name);
            seeds.push_back({c.name, ReadFileBytes(path), c.kind});
        }
    }
    for (ByteOrder order : {ByteOrder::INTEL, ByteOrder::MOTOROLA}) {
        const Bytes tiff =
            BuildTiff(PositionLayout(order, 'N', Dms(35, 39, 3120), 'E', Dms(139, 44, 4350)));
        const char* name = order == ByteOrder::INTEL ? "built II" : "built MM";
        seeds.push_back({std::string(name) + " TIFF", tiff, FileKind::TIFF});
        seeds.push_back(
            {std::string(name) + " JPEG",
             Jpeg({JfifApp0(), Segment(MARKER_APP2, Bytes(300, 1)), ExifApp1(tiff), ScanAndEnd()}),
             FileKind::JPEG});
    }
    return seeds;
}

enum class Outcome { NO_EXIF, NO_POSITION, POSITION };

// The outcome the result and the boxes make, or a failure that says what was wrong.
testing::AssertionResult Classify(HRESULT result, const std::vector<RecordedBox>& boxes, HWND owner,
                                  Outcome* outcome) {
    if (result == SETTINGS_MISSING && boxes.empty()) {
        *outcome = Outcome::POSITION;
        return testing::AssertionSuccess();
    }
    if (result == S_FALSE && boxes.size() == 1 && boxes[0].caption == CAPTION_COMMAND &&
        boxes[0].owner == owner) {
        if (boxes[0].text == TEXT_NO_EXIF || boxes[0].text == TEXT_NO_POSITION) {
            *outcome = boxes[0].text == TEXT_NO_EXIF ? Outcome::NO_EXIF : Outcome::NO_POSITION;
            return testing::AssertionSuccess();
        }
    }
    char hex[16];
    std::snprintf(hex, sizeof(hex), "0x%08lX", static_cast<unsigned long>(result));
    return testing::AssertionFailure()
           << "result " << hex << " with " << boxes.size() << " box(es)";
}

TEST(MutationCampaign, EveryMutatedPhotoGetsAnAllowedOutcome) {
    DeleteKeyTree(HKEY_CURRENT_USER, SETTINGS_KEY);
    QuorielModule module;
    ScratchFolder folder;
    TestWindow owner;
    ExifMutator mutator(CAMPAIGN_SEED);
    std::map<Outcome, int> outcomes;
    int runs = 0;
    const std::vector<Seed> seeds = Seeds();
    for (const Seed& seed : seeds) {
        const ExifFields fields = FindExifFields(seed.bytes, seed.kind);
        const std::wstring path =
            folder.Write(seed.kind == FileKind::JPEG ? L"mutant.jpg" : L"mutant.tif", {});
        TestDataObject selection({path});
        Handler handler(module);
        ASSERT_EQ(handler.init->Initialize(nullptr, &selection, nullptr), S_OK);
        HostMenu menu;
        ASSERT_EQ(handler.menu->QueryContextMenu(menu.menu, 0, 1, 2, CMF_NORMAL),
                  MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1));
        MessageBoxRecorder boxes({}, Answering::AT_ONCE);
        for (int i = 0; i < MUTATIONS_PER_SEED; ++i, ++runs) {
            const Bytes mutant = mutator.Mutate(seed.bytes, fields);
            folder.Write(seed.kind == FileKind::JPEG ? L"mutant.jpg" : L"mutant.tif", mutant);
            boxes.Clear();
            const HRESULT result = handler.Invoke(owner.Get());
            Outcome outcome;
            ASSERT_TRUE(Classify(result, boxes.Boxes(), owner.Get(), &outcome))
                << seed.name << ", mutation " << i << " of seed " << CAMPAIGN_SEED;
            ASSERT_TRUE(NobodyHoldsFile(path)) << seed.name << ", mutation " << i;
            ++outcomes[outcome];
        }
    }
    std::printf("%d mutated photos from %zu seeds: %d no Exif, %d no position, %d positions\n",
                runs, seeds.size(), outcomes[Outcome::NO_EXIF], outcomes[Outcome::NO_POSITION],
                outcomes[Outcome::POSITION]);
    EXPECT_GT(outcomes[Outcome::POSITION], 0) << "some mutations keep a readable position";
    EXPECT_GT(outcomes[Outcome::NO_EXIF], 0);
    EXPECT_EQ(module.CanUnloadNow(), S_OK);
}

}  // namespace
