// Measures the menu build: QueryContextMenu of the built module for one file, against the bare
// HKEY_CLASSES_ROOT walk that any lookup of the file's extension must make, in the same run.
// HKEY_CLASSES_ROOT is measured at its own size and with extra subkeys that sort before ".jpg";
// they are made here and removed again before the program ends. bench-menu.sh prepares the Wine
// prefix.
//
// Usage: menu-bench.exe MODULE_PATH JPEG_PATH UNREGISTERED_PATH [--tsv]
// --tsv: the table as tab-separated values, for the report.
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/class_root_walk.h"
#include "bench/timing.h"
#include "common/owners.h"
#include "tests/host/hosted_module.h"
#include "tests/host/test_data_object.h"

namespace {

// Each round times calls of both kinds side by side, so that a change in the machine's load
// falls on both alike; the median round is reported.
constexpr int ROUNDS = 11;
constexpr double ROUND_SECONDS = 0.4;
constexpr int MIN_REPETITIONS = 7;
constexpr double WARM_UP_SECONDS = 1.5;

constexpr unsigned EXTRA_KEY_COUNTS[] = {0, 2000, 8000};
constexpr int STOP_TEXT_ROOM = 16;

constexpr UINT FIRST_COMMAND = 1;
constexpr UINT LAST_COMMAND = 0x7FFF;
constexpr HRESULT ONE_ITEM = MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1);
constexpr HRESULT NO_ITEM = MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);

constexpr const wchar_t* TSV_OPTION = L"--tsv";
constexpr double MS_PER_SECOND = 1000.0;
constexpr double PERCENT = 100.0;

struct MenuTraits {
    using Value = HMENU;
    static Value Empty() noexcept { return nullptr; }
    static void Close(Value menu) noexcept { DestroyMenu(menu); }
};
using UniqueMenu = Owner<MenuTraits>;

template <typename Interface>
struct ComTraits {
    using Value = Interface*;
    static Value Empty() noexcept { return nullptr; }
    static void Close(Value object) noexcept { object->Release(); }
};
template <typename Interface>
using ComPtr = Owner<ComTraits<Interface>>;

// The extension after the last dot of path, with its dot.
std::wstring DotExtension(const std::wstring& path) {
    const size_t dot = path.rfind(L'.');
    return dot == std::wstring::npos ? std::wstring() : path.substr(dot);
}

// A handler made as Explorer makes one, initialised with a one-file selection; empty when a
// step fails.
ComPtr<IContextMenu> MakeHandler(const HostedModule& module, TestDataObject* selection) {
    ComPtr<IShellExtInit> init;
    ComPtr<IContextMenu> menu;
    if (module.CreateHandlerRaw(IID_IShellExtInit, reinterpret_cast<void**>(init.Put())) != S_OK ||
        init.Get()->Initialize(nullptr, selection, nullptr) != S_OK ||
        init.Get()->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(menu.Put())) !=
            S_OK) {
        return ComPtr<IContextMenu>();
    }
    return menu;
}

// One file's menu build and bare walk, timed call by call so that removing the item again is
// not counted.
class MenuRunner {
  public:
    MenuRunner(IContextMenu* handler, std::wstring dotExtension, HMENU menu)
        : handler_(handler), dotExtension_(std::move(dotExtension)), menu_(menu) {}

    // The item the handler gave, checked against what the registry says, once.
    bool Agrees(bool* registered) {
        const HRESULT result =
            handler_->QueryContextMenu(menu_, 0, FIRST_COMMAND, LAST_COMMAND, CMF_NORMAL);
        const int items = GetMenuItemCount(menu_);
        ClearMenu();
        *registered = BareWalk(dotExtension_);
        return *registered ? result == ONE_ITEM && items == 1 : result == NO_ITEM && items == 0;
    }

    double TimeMenuBuild() {
        const BenchClock::time_point from = BenchClock::now();
        handler_->QueryContextMenu(menu_, 0, FIRST_COMMAND, LAST_COMMAND, CMF_NORMAL);
        const double seconds = SecondsSince(from);
        ClearMenu();
        return seconds;
    }

    double TimeBareWalk() {
        const BenchClock::time_point from = BenchClock::now();
        BareWalk(dotExtension_);
        return SecondsSince(from);
    }

  private:
    void ClearMenu() {
        while (GetMenuItemCount(menu_) > 0) {
            DeleteMenu(menu_, 0, MF_BYPOSITION);
        }
    }

    IContextMenu* handler_;
    std::wstring dotExtension_;
    HMENU menu_;
};

struct Figures {
    unsigned extraKeys = 0;
    Placement placement;
    bool registered = false;
    int repetitions = 0;
    double menuMs = 0;
    double walkMs = 0;
    double overheadPercent = 0;  // median of the rounds' own overheads
    double lowestPercent = 0;
    double highestPercent = 0;
};

// Pairs a round, calibrated on pairs of the two calls.
int PairsPerRound(MenuRunner& runner) {
    const uint64_t pairs = CalibrateRepetitions(
        [&] {
            runner.TimeMenuBuild();
            runner.TimeBareWalk();
        },
        ROUND_SECONDS);
    return static_cast<int>(std::max<uint64_t>(MIN_REPETITIONS, pairs));
}

// Each call is timed on its own and paired with the call of the other kind next to it; which
// kind goes first alternates. A burst of other work on the machine then spoils a pair or two
// of a round, not its median.
void MeasureRound(MenuRunner& runner, int repetitions, std::vector<double>* menus,
                  std::vector<double>* walks, std::vector<double>* overheads) {
    std::vector<double> menu(repetitions);
    std::vector<double> walk(repetitions);
    std::vector<double> ratio(repetitions);
    for (int i = 0; i < repetitions; ++i) {
        if (i % 2 == 0) {
            menu[i] = runner.TimeMenuBuild();
            walk[i] = runner.TimeBareWalk();
        } else {
            walk[i] = runner.TimeBareWalk();
            menu[i] = runner.TimeMenuBuild();
        }
        ratio[i] = menu[i] / walk[i];
    }
    menus->push_back(SpreadOf(menu).median);
    walks->push_back(SpreadOf(walk).median);
    overheads->push_back((SpreadOf(ratio).median - 1) * PERCENT);
}

void Measure(MenuRunner& runner, Figures* figures) {
    figures->repetitions = PairsPerRound(runner);
    std::vector<double> menus;
    std::vector<double> walks;
    std::vector<double> overheads;
    for (int round = 0; round < ROUNDS; ++round) {
        MeasureRound(runner, figures->repetitions, &menus, &walks, &overheads);
    }
    figures->menuMs = SpreadOf(menus).median * MS_PER_SECOND;
    figures->walkMs = SpreadOf(walks).median * MS_PER_SECOND;
    const Spread overhead = SpreadOf(overheads);
    figures->overheadPercent = overhead.median;
    figures->lowestPercent = overhead.lowest;
    figures->highestPercent = overhead.highest;
}

void PrintHeader(bool tsv) {
    if (tsv) {
        std::printf(
            "extension\textra_keys\thkcr_keys\tindex\tregistered\trepetitions\trounds\t"
            "menu_ms\twalk_ms\toverhead_percent\tlowest_percent\thighest_percent\n");
        return;
    }
    std::printf("%-10s %10s %9s %8s %-7s %5s %11s %11s %9s  %s\n", "extension", "extra keys",
                "HKCR keys", "stops at", "item", "reps", "ms per menu", "ms per walk", "overhead",
                "(rounds' range)");
}

void PrintRow(const std::wstring& extension, const Figures& f, bool tsv) {
    const long stop = f.registered ? static_cast<long>(f.placement.index) : -1;
    if (tsv) {
        std::printf("%ls\t%u\t%lu\t%ld\t%d\t%d\t%d\t%.4f\t%.4f\t%.2f\t%.2f\t%.2f\n",
                    extension.c_str(), f.extraKeys, f.placement.count, stop, f.registered ? 1 : 0,
                    f.repetitions, ROUNDS, f.menuMs, f.walkMs, f.overheadPercent, f.lowestPercent,
                    f.highestPercent);
        return;
    }
    wchar_t stopText[STOP_TEXT_ROOM];
    if (f.registered) {
        swprintf(stopText, STOP_TEXT_ROOM, L"%lu", f.placement.index);
    } else {
        swprintf(stopText, STOP_TEXT_ROOM, L"end");
    }
    std::printf("%-10ls %10u %9lu %8ls %-7s %5d %11.3f %11.3f %8.2f%%  (%.1f to %.1f)\n",
                extension.c_str(), f.extraKeys, f.placement.count, stopText,
                f.registered ? "offered" : "none", f.repetitions, f.menuMs, f.walkMs,
                f.overheadPercent, f.lowestPercent, f.highestPercent);
}

// One file's selection, handler and runner.
struct Subject {
    explicit Subject(const std::wstring& path) : selection({path}), extension(DotExtension(path)) {}

    TestDataObject selection;
    std::wstring extension;
    ComPtr<IContextMenu> handler;
};

// Measures each subject at each size of HKEY_CLASSES_ROOT; false on the first thing that is
// not as the measurement needs it.
bool MeasureAll(Subject* const (&subjects)[2], HMENU menu, bool tsv) {
    ExtraKeys extra;
    const Placement before = PlaceOf(subjects[0]->extension);
    WarmUp([&] { BareWalk(subjects[0]->extension); }, WARM_UP_SECONDS);
    for (unsigned count : EXTRA_KEY_COUNTS) {
        if (!extra.GrowTo(count)) {
            std::fprintf(stderr, "cannot create %u extra subkeys\n", count);
            return false;
        }
        for (const Subject* subject : subjects) {
            Figures figures;
            figures.extraKeys = count;
            figures.placement = PlaceOf(subject->extension);
            MenuRunner runner(subject->handler.Get(), subject->extension, menu);
            if (!runner.Agrees(&figures.registered)) {
                std::fprintf(stderr, "the handler's item for %ls does not match the registry\n",
                             subject->extension.c_str());
                return false;
            }
            // The extra keys must all sort before ".jpg", or they would not lengthen its walk.
            if (figures.registered && figures.placement.index != before.index + count) {
                std::fprintf(stderr, "%ls stands at %lu, not %lu\n", subject->extension.c_str(),
                             figures.placement.index, before.index + count);
                return false;
            }
            Measure(runner, &figures);
            PrintRow(subject->extension, figures, tsv);
            std::fflush(stdout);
        }
    }
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: menu-bench.exe MODULE_PATH JPEG_PATH UNREGISTERED_PATH [--tsv]\n");
        return 2;
    }
    const bool tsv = argc > 4 && wcscmp(argv[4], TSV_OPTION) == 0;
    const HostedModule module(argv[1]);
    if (!module.Loaded()) {
        std::fprintf(stderr, "cannot load %ls (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    // Declared after the module, so that the handlers go before it does.
    Subject jpeg(argv[2]);
    Subject unregistered(argv[3]);
    Subject* const subjects[] = {&jpeg, &unregistered};
    for (Subject* subject : subjects) {
        subject->handler = MakeHandler(module, &subject->selection);
        if (!subject->handler) {
            std::fprintf(stderr, "cannot make a handler for %ls\n", subject->extension.c_str());
            return 1;
        }
    }
    const UniqueMenu menu(CreatePopupMenu());
    if (!tsv) {
        std::printf(
            "QueryContextMenu against the bare HKEY_CLASSES_ROOT walk to the same stop, median of "
            "%d rounds;\noverhead is the handler's time above the walk.\n\n",
            ROUNDS);
    }
    PrintHeader(tsv);
    return MeasureAll(subjects, menu.Get(), tsv) ? 0 : 1;
}
