// Measures the menu build: QueryContextMenu of the built module for one file, against the bare
// HKEY_CLASSES_ROOT walk that any lookup of the file's extension must make, in the same run, at
// HKEY_CLASSES_ROOT's own size and with extra subkeys that sort before ".jpg", each with the
// user's "Formats" value absent and present (menu_fixtures.h).
// Usage: menu-bench.exe MODULE_PATH JPEG_PATH UNREGISTERED_PATH HEIC_PATH [--tsv]
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "bench/class_root_walk.h"
#include "bench/menu_fixtures.h"
#include "bench/menu_measure.h"
#include "bench/registry_counters.h"
#include "bench/timing.h"
#include "common/class_id.h"
#include "common/owners.h"
#include "install/installation.h"
#include "tests/host/hosted_module.h"
#include "tests/host/test_data_object.h"

namespace {

constexpr double WARM_UP_SECONDS = 1.5;
constexpr unsigned EXTRA_KEY_COUNTS[] = {0, 2000, 8000};
// The program's name and its four paths.
constexpr int ARGUMENTS = 5;

// As Windows registers it; the switch names it among the other types it can enable.
constexpr const wchar_t* HEIC_CONTENT_TYPE = L"image/heic";
constexpr bool FORMATS_STATES[] = {false, true};

constexpr const wchar_t* TSV_OPTION = L"--tsv";

struct MenuTraits {
    using Value = HMENU;
    static Value Empty() noexcept { return nullptr; }
    static void Close(Value menu) noexcept { DestroyMenu(menu); }
};
using UniqueMenu = Owner<MenuTraits>;

template <typename Interface>
using ComPtr = UniqueInterface<Interface>;

// The extension after the last dot of path, with its dot.
std::wstring DotExtension(const std::wstring& path) {
    const size_t dot = path.rfind(L'.');
    return dot == std::wstring::npos ? std::wstring() : path.substr(dot);
}

// One file's selection, handler and Explorer command. switched: its type is offered only when
// the user's "Formats" value names it.
struct Subject {
    Subject(const std::wstring& path, bool switched)
        : path(path), selection({path}), extension(DotExtension(path)), switched(switched) {}

    // Made as Explorer makes them: the handler initialised with a one-file selection, the
    // command, and the one-item array Windows 11's menu hands its commands, made by the shell
    // from the file. False when a step fails.
    bool Make(const HostedModule& module) {
        ComPtr<IShellExtInit> init;
        ComPtr<IShellItem> item;
        return module.CreateHandlerRaw(IID_IShellExtInit, reinterpret_cast<void**>(init.Put())) ==
                   S_OK &&
               init.Get()->Initialize(nullptr, &selection, nullptr) == S_OK &&
               init.Get()->QueryInterface(IID_IContextMenu,
                                          reinterpret_cast<void**>(handler.Put())) == S_OK &&
               module.CreateObjectRaw(CLSID_QuorielCommand, IID_IExplorerCommand,
                                      reinterpret_cast<void**>(command.Put())) == S_OK &&
               SUCCEEDED(SHCreateItemFromParsingName(path.c_str(), nullptr, IID_IShellItem,
                                                     reinterpret_cast<void**>(item.Put()))) &&
               SUCCEEDED(SHCreateShellItemArrayFromShellItem(
                   item.Get(), IID_IShellItemArray, reinterpret_cast<void**>(items.Put())));
    }

    std::wstring path;
    TestDataObject selection;
    std::wstring extension;
    bool switched;
    ComPtr<IContextMenu> handler;
    ComPtr<IExplorerCommand> command;
    ComPtr<IShellItemArray> items;
    Placement before;  // without the extra subkeys
};

struct Row {
    unsigned extraKeys = 0;
    bool formats = false;
    Placement placement;
    bool offered = false;
    RegistryCalls menuCalls;
    RegistryCalls walkCalls;
    RegistryCalls stateCalls;
    MenuTimes times;
};

void PrintHeader(bool tsv) {
    if (tsv) {
        std::printf(
            "extension\tformats\textra_keys\thkcr_keys\tindex\toffered\tmenu_opens\tmenu_enums\t"
            "menu_queries\twalk_opens\twalk_enums\twalk_queries\trepetitions\trounds\tmenu_ms\t"
            "walk_ms\toverhead_percent\tlowest_percent\thighest_percent\tstate_opens\t"
            "state_enums\tstate_queries\tstate_ms\tstate_above_menu_percent\n");
        return;
    }
    std::printf("%-8s %-7s %6s %5s %5s %-7s %-11s %-11s %5s %9s %9s %9s  %-16s %9s %s\n", "ext",
                "Formats", "extra", "HKCR", "stop", "item", "menu o/e/q", "walk o/e/q", "reps",
                "ms menu", "ms walk", "overhead", "(rounds' range)", "ms state", "state-menu");
}

void PrintRow(const Subject& subject, const Row& r, bool tsv) {
    const long stop = r.placement.index == MAXDWORD ? -1 : static_cast<long>(r.placement.index);
    const RegistryCalls& m = r.menuCalls;
    const RegistryCalls& w = r.walkCalls;
    const MenuTimes& t = r.times;
    const char* formats = r.formats ? "present" : "absent";
    if (tsv) {
        std::printf(
            "%ls\t%s\t%u\t%lu\t%ld\t%d\t%lu\t%lu\t%lu\t%lu\t%lu\t%lu\t%d\t%d\t%.4f\t"
            "%.4f\t%.2f\t%.2f\t%.2f\t%lu\t%lu\t%lu\t%.4f\t%.2f\n",
            subject.extension.c_str(), formats, r.extraKeys, r.placement.count, stop,
            r.offered ? 1 : 0, m.opens, m.enums, m.queries, w.opens, w.enums, w.queries,
            t.repetitions, MENU_ROUNDS, t.menuMs, t.walkMs, t.overheadPercent, t.lowestPercent,
            t.highestPercent, r.stateCalls.opens, r.stateCalls.enums, r.stateCalls.queries,
            t.stateMs, t.stateAboveMenuPercent);
        return;
    }
    char menuCalls[32];
    char walkCalls[32];
    std::snprintf(menuCalls, sizeof menuCalls, "%lu/%lu/%lu", m.opens, m.enums, m.queries);
    std::snprintf(walkCalls, sizeof walkCalls, "%lu/%lu/%lu", w.opens, w.enums, w.queries);
    std::printf(
        "%-8ls %-7s %6u %5lu %5ld %-7s %-11s %-11s %5d %9.3f %9.3f %8.2f%%  (%5.1f to %5.1f) "
        "%9.3f %+8.2f%%\n",
        subject.extension.c_str(), formats, r.extraKeys, r.placement.count, stop,
        r.offered ? "offered" : "none", menuCalls, walkCalls, t.repetitions, t.menuMs, t.walkMs,
        t.overheadPercent, t.lowestPercent, t.highestPercent, t.stateMs, t.stateAboveMenuPercent);
}

// The registry calls of one menu build and one bare walk, and whether the item is the one the
// registry and the switch call for; false when it is not.
bool CountAndCheck(const HostedModule& module, MenuRunner& runner, const Subject& subject,
                   Row* row) {
    const bool found = row->placement.index != MAXDWORD;
    RegistryCounting counting({GetModuleHandleW(nullptr), module.Handle()});
    if (!counting.Installed()) {
        std::fprintf(stderr, "the registry calls cannot be counted: import slots not found\n");
        return false;
    }
    const int items = runner.BuildOnce();
    row->menuCalls = counting.Calls();
    counting.Reset();
    const bool walked = runner.WalkOnce();
    row->walkCalls = counting.Calls();
    counting.Reset();
    const bool enabled = runner.StateOnce();
    row->stateCalls = counting.Calls();
    row->offered = items == 1;
    const bool expected = found && (!subject.switched || row->formats);
    if (walked != found || items != (expected ? 1 : 0) || enabled != expected) {
        std::fprintf(stderr, "the handler's item for %ls does not match the registry\n",
                     subject.extension.c_str());
        return false;
    }
    return true;
}

// Measures each subject at each size of HKEY_CLASSES_ROOT, with and without the switch; false
// on the first thing that is not as the measurement needs it.
bool MeasureAll(const HostedModule& module, Subject* const (&subjects)[3], HMENU menu, bool tsv) {
    ExtraKeys extra;
    FormatsValue formats;
    // The value the installer's /formats writes.
    const std::wstring photoFormats = SwitchedFormats({FormatGroup::PHOTO});
    if (!formats.Ready()) {
        std::fprintf(stderr, "cannot prepare the settings key\n");
        return false;
    }
    for (Subject* subject : subjects) {
        subject->before = PlaceOf(subject->extension);
    }
    WarmUp([&] { BareWalk(subjects[0]->extension); }, WARM_UP_SECONDS);
    for (unsigned count : EXTRA_KEY_COUNTS) {
        if (!extra.GrowTo(count)) {
            std::fprintf(stderr, "cannot create %u extra subkeys\n", count);
            return false;
        }
        for (bool present : FORMATS_STATES) {
            if (!formats.Set(present ? photoFormats.c_str() : nullptr)) {
                std::fprintf(stderr, "cannot set the Formats value\n");
                return false;
            }
            for (const Subject* subject : subjects) {
                Row row;
                row.extraKeys = count;
                row.formats = present;
                row.placement = PlaceOf(subject->extension);
                // The extra keys must all sort before the extension, or they would not lengthen
                // its walk.
                if (row.placement.index != MAXDWORD &&
                    row.placement.index != subject->before.index + count) {
                    std::fprintf(stderr, "%ls stands at %lu, not %lu\n", subject->extension.c_str(),
                                 row.placement.index, subject->before.index + count);
                    return false;
                }
                MenuRunner runner{subject->handler.Get(), subject->command.Get(),
                                  subject->items.Get(), subject->extension, menu};
                if (!CountAndCheck(module, runner, *subject, &row)) {
                    return false;
                }
                row.times = runner.Measure();
                PrintRow(*subject, row, tsv);
                std::fflush(stdout);
            }
        }
    }
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < ARGUMENTS) {
        std::fprintf(stderr,
                     "usage: menu-bench.exe MODULE_PATH JPEG_PATH UNREGISTERED_PATH "
                     "HEIC_PATH [--tsv]\n");
        return 2;
    }
    const bool tsv = argc > ARGUMENTS && wcscmp(argv[ARGUMENTS], TSV_OPTION) == 0;
    const ExtensionKey heicKey(DotExtension(argv[4]), HEIC_CONTENT_TYPE);
    if (!heicKey.Ready()) {
        std::fprintf(stderr, "cannot register %ls\n", argv[4]);
        return 1;
    }
    const HostedModule module(argv[1]);
    if (!module.Loaded()) {
        std::fprintf(stderr, "cannot load %ls (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    // Declared after the module, so that the handlers go before it does.
    Subject jpeg(argv[2], false);
    Subject unregistered(argv[3], false);
    Subject heic(argv[4], true);
    Subject* const subjects[] = {&jpeg, &unregistered, &heic};
    for (Subject* subject : subjects) {
        if (!subject->Make(module)) {
            std::fprintf(stderr, "cannot make a handler and a command for %ls\n",
                         subject->extension.c_str());
            return 1;
        }
    }
    const UniqueMenu menu(CreatePopupMenu());
    if (!tsv) {
        std::printf(
            "QueryContextMenu against the bare HKEY_CLASSES_ROOT walk to the same stop, median of "
            "%d rounds;\noverhead is the handler's time above the walk; state-menu is the Explorer "
            "command's GetState\nfor the same file above the menu build. Registry calls of one "
            "call: key opens / subkey\nenumerations / value reads.\n\n",
            MENU_ROUNDS);
    }
    PrintHeader(tsv);
    return MeasureAll(module, subjects, menu.Get(), tsv) ? 0 : 1;
}
