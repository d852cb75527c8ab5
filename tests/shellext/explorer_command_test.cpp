// The command of Windows 11's menu, driven as Explorer drives it: real shell item arrays of
// real files, a site that is a window. Whether it is offered follows the classic menu's tables
// (context_menu_test and formats_switch_test check both side by side); here, its own face and
// the whole command, case for case the same as the classic handler's.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "common/class_id.h"
#include "shellext/resource_ids.h"
#include "tests/host/message_box_recorder.h"
#include "tests/host/test_data_object.h"
#include "tests/position/exif_builder.h"
#include "tests/support/command_driver.h"
#include "tests/support/handler_driver.h"
#include "tests/support/launch_record.h"
#include "tests/support/quoriel_module.h"
#include "tests/support/registry_scratch.h"
#include "tests/support/scratch_file.h"
#include "tests/support/settings_fixture.h"
#include "tests/support/test_prefix.h"
#include "tests/support/test_window.h"

namespace {

constexpr HRESULT ONE_ITEM = MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1);

std::wstring Taken(LPWSTR text) {
    const std::wstring copy = text != nullptr ? text : L"(null)";
    CoTaskMemFree(text);
    return copy;
}

TEST(ExplorerCommand, FaceOfTheCommand) {
    QuorielModule module;
    {
        ExplorerCommand explorer(module);
        IExplorerCommand* command = explorer.command;
        LPWSTR text = nullptr;
        EXPECT_EQ(command->GetTitle(nullptr, &text), S_OK);
        EXPECT_EQ(Taken(text), L"Quoriel");
        EXPECT_EQ(command->GetToolTip(nullptr, &text), S_OK);
        EXPECT_EQ(Taken(text), L"Exif 情報内の GPS 位置情報を取得します。");
        {
            ScratchKey settings(HKEY_CURRENT_USER, SETTINGS_KEY);
            settings.SetString(SETTING_LANGUAGE, LANGUAGE_ENGLISH);
            EXPECT_EQ(command->GetToolTip(nullptr, &text), S_OK);
            EXPECT_EQ(Taken(text), L"Opens the GPS position stored in the file.");
        }
        EXPECT_EQ(command->GetIcon(nullptr, &text), S_OK);
        const std::wstring icon = Taken(text);
        const std::wstring suffix = L",-" + std::to_wstring(IDI_QUORIEL);
        ASSERT_GT(icon.size(), suffix.size());
        EXPECT_EQ(icon.substr(icon.size() - suffix.size()), suffix);
        const std::wstring file = icon.substr(0, icon.size() - suffix.size());
        wchar_t loaded[MAX_PATH] = {};
        GetModuleFileNameW(module.Handle(), loaded, MAX_PATH);
        EXPECT_EQ(file, loaded) << "the module the command was made by";
        HICON small = nullptr;
        EXPECT_EQ(ExtractIconExW(file.c_str(), -IDI_QUORIEL, nullptr, &small, 1), 1u)
            << "the icon resource is in the module";
        DestroyIcon(small);

        GUID name = {};
        EXPECT_EQ(command->GetCanonicalName(&name), S_OK);
        EXPECT_TRUE(IsEqualGUID(name, QUORIEL_COMMAND_NAME));
        EXPCMDFLAGS flags = ~0u;
        EXPECT_EQ(command->GetFlags(&flags), S_OK);
        EXPECT_EQ(flags, static_cast<EXPCMDFLAGS>(ECF_DEFAULT));
        IEnumExplorerCommand* sub = reinterpret_cast<IEnumExplorerCommand*>(1);
        EXPECT_EQ(command->EnumSubCommands(&sub), E_NOTIMPL);
        EXPECT_EQ(sub, nullptr);

        IContextMenu* menu = nullptr;
        EXPECT_EQ(command->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&menu)),
                  E_NOINTERFACE);
        IObjectWithSite* withSite = nullptr;
        ASSERT_EQ(command->QueryInterface(IID_IObjectWithSite, reinterpret_cast<void**>(&withSite)),
                  S_OK);
        IUnknown* site = reinterpret_cast<IUnknown*>(1);
        EXPECT_EQ(withSite->GetSite(IID_IUnknown, reinterpret_cast<void**>(&site)), E_FAIL);
        EXPECT_EQ(site, nullptr);
        TestWindow window;
        WindowSite given(window.Get());
        EXPECT_EQ(withSite->SetSite(&given), S_OK);
        IOleWindow* got = nullptr;
        EXPECT_EQ(withSite->GetSite(IID_IOleWindow, reinterpret_cast<void**>(&got)), S_OK);
        EXPECT_EQ(got, &given);
        got->Release();
        withSite->Release();
        EXPECT_EQ(module.CanUnloadNow(), S_FALSE) << "a live command keeps the module";
        // The command's last release lets go of the site it still holds.
    }
    EXPECT_EQ(module.CanUnloadNow(), S_OK);
}

TEST(ExplorerCommand, HiddenWithoutOneFile) {
    QuorielModule module;
    ScratchFolder folder;
    ExplorerCommand command(module);
    EXPECT_EQ(command.State(nullptr), ECS_HIDDEN);
    EXPCMDSTATE state = ECS_ENABLED;
    EXPECT_EQ(command.command->GetState(nullptr, FALSE, &state), S_OK) << "never E_PENDING";
    EXPECT_EQ(state, ECS_HIDDEN);
    EXPECT_EQ(command.command->Invoke(nullptr, nullptr), E_FAIL);
    const std::wstring a = folder.Write(L"a.jpg", {});
    const std::wstring b = folder.Write(L"b.jpg", {});
    const UniqueInterface<IShellItemArray> two = ShellSelection({a, b});
    ASSERT_TRUE(two);
    EXPECT_EQ(command.State(two.Get()), ECS_HIDDEN);
    EXPECT_EQ(command.Invoke(two.Get(), nullptr), E_FAIL);
    // The folder itself is no file of a readable kind.
    const UniqueInterface<IShellItemArray> directory = ShellSelection({folder.Path()});
    ASSERT_TRUE(directory);
    EXPECT_EQ(command.State(directory.Get()), ECS_HIDDEN);
}

// What one invocation did: its result, its boxes and what it launched.
struct Outcome {
    HRESULT result = E_UNEXPECTED;
    std::vector<RecordedBox> boxes;
    std::optional<std::wstring> launched;
};

template <typename Run>
Outcome Observe(Run&& run) {
    Outcome outcome;
    LaunchRecord record;
    {
        MessageBoxRecorder boxes;
        outcome.result = run();
        outcome.boxes = boxes.Boxes();
    }
    if (outcome.result == S_OK) {
        outcome.launched = record.Wait();
    }
    return outcome;
}

void ExpectSameOutcome(const Outcome& classic, const Outcome& command) {
    EXPECT_EQ(command.result, classic.result);
    EXPECT_EQ(command.launched, classic.launched);
    ASSERT_EQ(command.boxes.size(), classic.boxes.size());
    for (size_t i = 0; i < classic.boxes.size(); ++i) {
        EXPECT_EQ(command.boxes[i].caption, classic.boxes[i].caption);
        EXPECT_EQ(command.boxes[i].text, classic.boxes[i].text);
        EXPECT_EQ(command.boxes[i].owner, classic.boxes[i].owner);
        EXPECT_EQ(command.boxes[i].buttons, classic.boxes[i].buttons);
        EXPECT_EQ(command.boxes[i].icon, classic.boxes[i].icon);
    }
}

TEST(ExplorerCommand, InvokeDoesWhatTheClassicCommandDoes) {
    SettingsFixture settings;
    ScratchFolder folder;
    TiffLayout placed =
        PositionLayout(ByteOrder::INTEL, 'S', Dms(33, 51, 3540), 'E', Dms(151, 12, 3300));
    TiffLayout unplaced = placed;
    unplaced.gps.resize(1);  // the version entry alone
    const Bytes tiff = BuildTiff(placed);
    const struct {
        const char* what;
        std::wstring name;
        Bytes bytes;
        std::wstring launchTemplate;
        bool deleted;
        size_t boxes;
    } cases[] = {
        {"position in a JPEG", L"placed.jpg", Jpeg({ExifApp1(tiff)}), L" @Ad @Od", false, 0},
        {"position in a TIFF", L"placed.tif", tiff, L" @Ad @Od", false, 0},
        {"no position", L"unplaced.jpg", Jpeg({ExifApp1(BuildTiff(unplaced))}), L" @Ad", false, 1},
        {"no Exif", L"plain.jpg", Jpeg({JfifApp0()}), L" @Ad", false, 1},
        {"a missing file", L"gone.jpg", Jpeg({ExifApp1(tiff)}), L" @Ad", true, 0},
        {"a launch that fails", L"failing.jpg", Jpeg({ExifApp1(tiff)}),
         L"C:\\qrtest\\no-such-program.exe @Ad", false, 1},
    };
    QuorielModule module;
    TestWindow owner;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const bool recorder = c.launchTemplate[0] == L' ';
        settings.Write((recorder ? std::wstring(RECORDER_PATH) : L"") + c.launchTemplate, L"N",
                       L"S", L"E", L"W");
        const std::wstring path = folder.Write(c.name, c.bytes);
        const UniqueInterface<IShellItemArray> items = ShellSelection({path});
        ASSERT_TRUE(items);
        if (c.deleted) {
            ASSERT_TRUE(DeleteFileW(path.c_str()));
        }
        TestDataObject data({path});
        Handler handler(module);
        ASSERT_EQ(handler.init->Initialize(nullptr, &data, nullptr), S_OK);
        HostMenu host;
        ASSERT_EQ(handler.menu->QueryContextMenu(host.menu, 0, 1, 2, CMF_NORMAL), ONE_ITEM);
        const Outcome classic = Observe([&] { return handler.Invoke(owner.Get()); });
        ExplorerCommand command(module);
        EXPECT_EQ(command.State(items.Get()), ECS_ENABLED);
        const Outcome ours = Observe([&] { return command.Invoke(items.Get(), owner.Get()); });
        ExpectSameOutcome(classic, ours);
        EXPECT_EQ(ours.boxes.size(), c.boxes);
        EXPECT_EQ(ours.launched.has_value(), recorder && c.boxes == 0 && !c.deleted);
        for (const RecordedBox& box : ours.boxes) {
            EXPECT_EQ(box.owner, owner.Get()) << "the site's window owns the box";
        }
        if (!c.deleted) {
            EXPECT_TRUE(NobodyHoldsFile(path));
        }
    }
    const std::wstring path = folder.Write(L"unowned.jpg", Jpeg({JfifApp0()}));
    const UniqueInterface<IShellItemArray> items = ShellSelection({path});
    ExplorerCommand command(module);
    const Outcome unowned = Observe([&] { return command.Invoke(items.Get(), nullptr); });
    ASSERT_EQ(unowned.boxes.size(), 1u);
    EXPECT_EQ(unowned.boxes[0].owner, nullptr) << "no site, no owner";
}

}  // namespace
