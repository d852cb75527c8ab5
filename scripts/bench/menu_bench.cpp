// Measures the menu build: QueryContextMenu of the built module for one file, against the bare
// HKEY_CLASSES_ROOT walk that any lookup of the file's extension must make, in the same run.
// HKEY_CLASSES_ROOT is measured at its own size and with extra subkeys that sort before ".jpg";
// they are made here and removed again before the program ends. scripts/bench-menu.sh prepares
// the Wine prefix.
//
// Usage: menu-bench.exe MODULE_PATH JPEG_PATH UNREGISTERED_PATH [--tsv]
// --tsv: the table as tab-separated values, for the report.
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "common/owners.h"
#include "tests/support/test_data_object.h"

namespace {

// {6A0C5B7E-3D24-4F19-9E8B-2C71D4A05F63}
constexpr CLSID CLSID_QUORIEL = {
    0x6A0C5B7E, 0x3D24, 0x4F19, {0x9E, 0x8B, 0x2C, 0x71, 0xD4, 0xA0, 0x5F, 0x63}};

// Each round times calls of both kinds side by side, so that a change in the machine's load
// falls on both alike; the median round is reported.
constexpr int ROUNDS = 11;
constexpr double ROUND_SECONDS = 0.4;
constexpr int MIN_REPETITIONS = 7;
constexpr int CALIBRATION_CALLS = 3;
// Wine starts its own services beside the first program of a session; they would disturb the
// first rounds.
constexpr double WARM_UP_SECONDS = 1.5;

constexpr unsigned EXTRA_KEY_COUNTS[] = {0, 2000, 8000};
// '!' sorts before every letter, so these come before ".jpg" whatever the case rules.
constexpr const wchar_t* EXTRA_KEY_PREFIX = L".!qbench";
constexpr const wchar_t* EXTRA_KEY_FORMAT = L".!qbench%05u";
constexpr int EXTRA_KEY_ROOM = 32;

constexpr UINT FIRST_COMMAND = 1;
constexpr UINT LAST_COMMAND = 0x7FFF;
constexpr HRESULT ONE_ITEM = MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1);
constexpr HRESULT NO_ITEM = MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);

// Room for a key name of 255 characters and its NUL, as the module keeps.
constexpr DWORD NAME_ROOM = 256;
constexpr DWORD CONTENT_TYPE_ROOM = 64;
constexpr const wchar_t* CONTENT_TYPE = L"Content Type";
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

double Now() {
    static const double frequency = [] {
        LARGE_INTEGER value;
        QueryPerformanceFrequency(&value);
        return static_cast<double>(value.QuadPart);
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / frequency;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The extension after the last dot of path, with its dot.
std::wstring DotExtension(const std::wstring& path) {
    const size_t dot = path.rfind(L'.');
    return dot == std::wstring::npos ? std::wstring() : path.substr(dot);
}

// Where ".jpg" stands in HKEY_CLASSES_ROOT's enumeration, and how many subkeys there are.
struct Placement {
    DWORD index = 0;
    DWORD count = 0;
};

Placement PlaceOf(const std::wstring& name) {
    Placement placement{MAXDWORD, 0};
    wchar_t found[NAME_ROOM];
    for (DWORD index = 0;; ++index) {
        DWORD length = NAME_ROOM;
        const LONG error = RegEnumKeyExW(HKEY_CLASSES_ROOT, index, found, &length, nullptr, nullptr,
                                         nullptr, nullptr);
        if (error == ERROR_NO_MORE_ITEMS) {
            placement.count = index;
            return placement;
        }
        if (error == ERROR_SUCCESS && lstrcmpiW(found, name.c_str()) == 0) {
            placement.index = index;
        }
    }
}

// The extra subkeys: made in batches as the cases need them, removed when the object goes,
// and any left behind by an interrupted run removed first.
class ExtraKeys {
  public:
    ExtraKeys() { RemoveAll(); }
    ~ExtraKeys() { RemoveAll(); }
    ExtraKeys(const ExtraKeys&) = delete;
    ExtraKeys& operator=(const ExtraKeys&) = delete;

    bool GrowTo(unsigned total) {
        for (; made_ < total; ++made_) {
            UniqueKey key;
            if (RegCreateKeyExW(HKEY_CLASSES_ROOT, Name(made_).c_str(), 0, nullptr, 0, KEY_READ,
                                nullptr, key.Put(), nullptr) != ERROR_SUCCESS) {
                return false;
            }
        }
        return true;
    }

  private:
    static std::wstring Name(unsigned number) {
        wchar_t name[EXTRA_KEY_ROOM];
        swprintf(name, EXTRA_KEY_ROOM, EXTRA_KEY_FORMAT, number);
        return name;
    }

    // Collects the names first: deleting while enumerating would shift the indexes.
    static void RemoveAll() {
        std::vector<std::wstring> names;
        wchar_t name[NAME_ROOM];
        const size_t prefixLength = wcslen(EXTRA_KEY_PREFIX);
        for (DWORD index = 0;; ++index) {
            DWORD length = NAME_ROOM;
            const LONG error = RegEnumKeyExW(HKEY_CLASSES_ROOT, index, name, &length, nullptr,
                                             nullptr, nullptr, nullptr);
            if (error == ERROR_NO_MORE_ITEMS) {
                break;
            }
            if (error == ERROR_SUCCESS && wcsncmp(name, EXTRA_KEY_PREFIX, prefixLength) == 0) {
                names.push_back(name);
            }
        }
        for (const std::wstring& extra : names) {
            RegDeleteKeyW(HKEY_CLASSES_ROOT, extra.c_str());
        }
    }

    unsigned made_ = 0;
};

// The walk any lookup of the extension must make, and nothing else: open HKEY_CLASSES_ROOT,
// enumerate up to the match (or the end), then open the match and read its "Content Type".
// Only names with a leading dot are compared. True when the extension was found.
bool BareWalk(const std::wstring& dotExtension) {
    UniqueKey classes;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, nullptr, 0, KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS,
                      classes.Put()) != ERROR_SUCCESS) {
        return false;
    }
    wchar_t name[NAME_ROOM];
    for (DWORD index = 0;; ++index) {
        DWORD length = NAME_ROOM;
        const LONG error =
            RegEnumKeyExW(classes.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (error == ERROR_NO_MORE_ITEMS) {
            return false;
        }
        if (error == ERROR_SUCCESS && name[0] == L'.' &&
            lstrcmpiW(name, dotExtension.c_str()) == 0) {
            break;
        }
    }
    UniqueKey key;
    if (RegOpenKeyExW(classes.Get(), name, 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS) {
        return false;
    }
    wchar_t type[CONTENT_TYPE_ROOM];
    DWORD size = sizeof(type);
    return RegQueryValueExW(key.Get(), CONTENT_TYPE, nullptr, nullptr,
                            reinterpret_cast<BYTE*>(type), &size) == ERROR_SUCCESS;
}

// The module as a host holds it: loaded by path, reached through DllGetClassObject.
class Module {
  public:
    explicit Module(const wchar_t* path) : module_(LoadLibraryW(path)) {
        if (module_) {
            getClassObject_ = reinterpret_cast<GetClassObjectFunction>(
                reinterpret_cast<void*>(GetProcAddress(module_.Get(), "DllGetClassObject")));
        }
    }

    bool Loaded() const { return getClassObject_ != nullptr; }

    // A handler made as Explorer makes one, initialised with a one-file selection.
    ComPtr<IContextMenu> MakeHandler(TestDataObject* selection) const {
        ComPtr<IClassFactory> factory;
        ComPtr<IShellExtInit> init;
        ComPtr<IContextMenu> menu;
        if (getClassObject_(CLSID_QUORIEL, IID_IClassFactory,
                            reinterpret_cast<void**>(factory.Put())) != S_OK ||
            factory.Get()->CreateInstance(nullptr, IID_IShellExtInit,
                                          reinterpret_cast<void**>(init.Put())) != S_OK ||
            init.Get()->Initialize(nullptr, selection, nullptr) != S_OK ||
            init.Get()->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(menu.Put())) !=
                S_OK) {
            return ComPtr<IContextMenu>();
        }
        return menu;
    }

  private:
    using GetClassObjectFunction = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    UniqueModule module_;
    GetClassObjectFunction getClassObject_ = nullptr;
};

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
        const double from = Now();
        handler_->QueryContextMenu(menu_, 0, FIRST_COMMAND, LAST_COMMAND, CMF_NORMAL);
        const double seconds = Now() - from;
        ClearMenu();
        return seconds;
    }

    double TimeBareWalk() {
        const double from = Now();
        BareWalk(dotExtension_);
        return Now() - from;
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

int CalibrateRepetitions(MenuRunner& runner) {
    double pair = 0;
    for (int i = 0; i < CALIBRATION_CALLS; ++i) {
        pair += runner.TimeMenuBuild() + runner.TimeBareWalk();
    }
    pair /= CALIBRATION_CALLS;
    return std::max(MIN_REPETITIONS, static_cast<int>(ROUND_SECONDS / pair));
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
    menus->push_back(Median(menu));
    walks->push_back(Median(walk));
    overheads->push_back((Median(ratio) - 1) * PERCENT);
}

void Measure(MenuRunner& runner, Figures* figures) {
    figures->repetitions = CalibrateRepetitions(runner);
    std::vector<double> menus;
    std::vector<double> walks;
    std::vector<double> overheads;
    for (int round = 0; round < ROUNDS; ++round) {
        MeasureRound(runner, figures->repetitions, &menus, &walks, &overheads);
    }
    figures->menuMs = Median(menus) * MS_PER_SECOND;
    figures->walkMs = Median(walks) * MS_PER_SECOND;
    figures->overheadPercent = Median(overheads);
    std::sort(overheads.begin(), overheads.end());
    figures->lowestPercent = overheads.front();
    figures->highestPercent = overheads.back();
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
    wchar_t stopText[EXTRA_KEY_ROOM];
    if (f.registered) {
        swprintf(stopText, EXTRA_KEY_ROOM, L"%lu", f.placement.index);
    } else {
        swprintf(stopText, EXTRA_KEY_ROOM, L"end");
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

void WarmUp(const std::wstring& dotExtension) {
    const double until = Now() + WARM_UP_SECONDS;
    while (Now() < until) {
        BareWalk(dotExtension);
    }
}

// Measures each subject at each size of HKEY_CLASSES_ROOT; false on the first thing that is
// not as the measurement needs it.
bool MeasureAll(Subject* const (&subjects)[2], HMENU menu, bool tsv) {
    ExtraKeys extra;
    const Placement before = PlaceOf(subjects[0]->extension);
    WarmUp(subjects[0]->extension);
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
    const Module module(argv[1]);
    if (!module.Loaded()) {
        std::fprintf(stderr, "cannot load %ls (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    // Declared after the module, so that the handlers go before it does.
    Subject jpeg(argv[2]);
    Subject unregistered(argv[3]);
    Subject* const subjects[] = {&jpeg, &unregistered};
    for (Subject* subject : subjects) {
        subject->handler = module.MakeHandler(&subject->selection);
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
