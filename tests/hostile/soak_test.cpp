// Ten thousand menu-and-invoke cycles in one process, on one handler and on fresh handlers,
// with photos that start no program: one without a position and one whose launch the shell
// refuses. Memory must not grow, no file may stay held, and the module must be unloadable.
#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>

#include <cstdio>

#include "common/messages.h"
#include "common/registry_names.h"
#include "tests/position/exif_builder.h"
#include "tests/support/handler_driver.h"
#include "tests/host/message_box_recorder.h"
#include "tests/support/registry_scratch.h"
#include "tests/support/scratch_file.h"
#include "tests/host/test_data_object.h"
#include "tests/support/test_window.h"

namespace {

constexpr int CYCLES_PER_MODE = 5000;
constexpr int WARM_UP_CYCLES = 500;
// Wine's own message-box and menu machinery may settle a little after the warm-up; anything
// the module leaked per cycle would show as megabytes over thousands of cycles.
constexpr SIZE_T ALLOWED_GROWTH = 1 << 20;

// The process's committed memory (Wine leaves PrivateUsage at 0).
SIZE_T CommittedBytes() {
    PROCESS_MEMORY_COUNTERS counters = {};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters.PagefileUsage;
}

// One menu build and one command; the box it shows is answered at once.
void Cycle(const Handler& handler, HWND owner, MessageBoxRecorder* boxes) {
    HostMenu menu;
    ASSERT_EQ(handler.menu->QueryContextMenu(menu.menu, 0, 1, 2, CMF_NORMAL),
              MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1));
    boxes->Clear();
    ASSERT_EQ(handler.Invoke(owner), S_FALSE);
    ASSERT_EQ(boxes->Boxes().size(), 1u);
}

class Soak : public testing::Test {
  protected:
    void SetUp() override {
        settings_.SetString(L"Object", L"C:\\qrtest\\absent.exe @Ad @Od");
        for (const wchar_t* name : {L"N", L"S", L"E", L"W"}) {
            settings_.SetString(name, L"");
        }
        const Bytes withPosition = BuildTiff(
            PositionLayout(ByteOrder::INTEL, 'N', Dms(35, 39, 3120), 'E', Dms(139, 44, 4350)));
        TiffLayout noPosition =
            PositionLayout(ByteOrder::MOTOROLA, 'N', Dms(1, 2, 3), 'E', Dms(4, 5, 6));
        noPosition.gps.pop_back();
        photos_[0] = folder_.Write(L"refused.jpg", Jpeg({JfifApp0(), ExifApp1(withPosition)}));
        photos_[1] = folder_.Write(L"nothing.tif", BuildTiff(noPosition));
    }

    void Report(const char* mode, SIZE_T before, SIZE_T after) {
        std::printf("%s: %d cycles, committed bytes %zu after warm-up, %zu at the end\n", mode,
                    CYCLES_PER_MODE, static_cast<size_t>(before), static_cast<size_t>(after));
        EXPECT_GT(before, 0u) << "the counter is read";
        EXPECT_LT(after, before + ALLOWED_GROWTH) << mode;
        for (const std::wstring& photo : photos_) {
            EXPECT_TRUE(NobodyHoldsFile(photo));
        }
        EXPECT_EQ(module_.CanUnloadNow(), S_OK);
    }

    ScratchKey settings_{HKEY_CURRENT_USER, SETTINGS_KEY};
    ScratchFolder folder_;
    std::wstring photos_[2];
    QuorielModule module_;
    TestWindow owner_;
};

TEST_F(Soak, OneHandlerManyCycles) {
    MessageBoxRecorder boxes({}, Answering::AT_ONCE);
    SIZE_T warm = 0;
    {
        TestDataObject selection({photos_[0]});
        Handler handler(module_);
        ASSERT_EQ(handler.init->Initialize(nullptr, &selection, nullptr), S_OK);
        for (int i = 0; i < CYCLES_PER_MODE; ++i) {
            if (i == WARM_UP_CYCLES) {
                warm = CommittedBytes();
            }
            ASSERT_NO_FATAL_FAILURE(Cycle(handler, owner_.Get(), &boxes)) << "cycle " << i;
        }
    }
    Report("one handler", warm, CommittedBytes());
}

TEST_F(Soak, FreshHandlerEveryCycle) {
    MessageBoxRecorder boxes({}, Answering::AT_ONCE);
    SIZE_T warm = 0;
    for (int i = 0; i < CYCLES_PER_MODE; ++i) {
        if (i == WARM_UP_CYCLES) {
            warm = CommittedBytes();
        }
        TestDataObject selection({photos_[i % 2]});
        {
            Handler handler(module_);
            ASSERT_EQ(handler.init->Initialize(nullptr, &selection, nullptr), S_OK);
            ASSERT_NO_FATAL_FAILURE(Cycle(handler, owner_.Get(), &boxes)) << "cycle " << i;
        }
        ASSERT_EQ(selection.MediaReleased(), selection.MediaGiven()) << "cycle " << i;
    }
    Report("fresh handlers", warm, CommittedBytes());
}

}  // namespace
