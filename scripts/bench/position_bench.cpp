// Measures the position readers on real files: the file calls of one lookup and the lookups a
// second. scripts/bench.sh prepares the Wine prefix (no launch settings, so a found position
// ends at the settings key) and the two generated JPEGs.
//
// Usage: position-bench.exe CORPUS_DIR GENERATED_DIR [--trace]
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <string>
#include <vector>

#include "common/owners.h"
#include "position/quoriel_reader.h"
#include "scripts/bench/iat_counters.h"

namespace {

// About a second a file, in timed runs of equal length; the median run is reported, so that a
// run disturbed by other work on the machine (Wine's own services start beside the program)
// does not decide the figure.
constexpr int TIMED_RUNS = 5;
constexpr double RUN_SECONDS = 0.2;
constexpr double CALIBRATION_SECONDS = 0.05;

constexpr const wchar_t* SMALL_JPEG = L"exif-20KB.jpg";
constexpr const wchar_t* LARGE_JPEG = L"exif-20MB.jpg";
constexpr const wchar_t* JPEG_EXTENSION = L".jpg";
// The corpus keeps its attribution notes beside the images.
constexpr const wchar_t* NOTES_EXTENSION = L".md";
constexpr const wchar_t* TRACE_OPTION = L"--trace";
constexpr const wchar_t* DIALOG_CLASS = L"#32770";
constexpr int CLASS_NAME_ROOM = 16;

constexpr Status STATUS_NO_SETTINGS = HResultFromWin32(ERROR_FILE_NOT_FOUND);

struct Input {
    std::wstring name;
    std::wstring path;
    bool isJpeg;
};

// An open input as a lookup sees it. length is the TIFF window, taken outside the lookup as
// the command does.
struct OpenInput {
    HANDLE file;
    bool isJpeg;
    uint32_t length;
};

struct Measurement {
    Status status = RESULT_DONE;
    IoCounters io;                // of one lookup
    unsigned boxes = 0;           // message boxes one lookup showed
    uint64_t repetitions = 0;     // per timed run
    double lookupsPerSecond = 0;  // median run
    double slowest = 0;
    double fastest = 0;
    bool steady = false;  // every timed lookup made the same reads as the first
    std::string trace;    // the first lookup's calls, when asked for
};

struct HookTraits {
    using Value = HHOOK;
    static Value Empty() noexcept { return nullptr; }
    static void Close(Value hook) noexcept { UnhookWindowsHookEx(hook); }
};
using UniqueHook = Owner<HookTraits>;

struct FindTraits {
    using Value = HANDLE;
    static Value Empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Value search) noexcept { FindClose(search); }
};
using UniqueFind = Owner<FindTraits>;

unsigned boxesClosed = 0;

// A message box waits for its user; closing each one as it comes up lets the loop go on, and
// its cost stays in the timing.
LRESULT CALLBACK CloseMessageBoxes(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        const HWND window = reinterpret_cast<HWND>(wParam);
        wchar_t name[CLASS_NAME_ROOM] = {};
        if (GetClassNameW(window, name, CLASS_NAME_ROOM) > 0 && wcscmp(name, DIALOG_CLASS) == 0) {
            PostMessageW(window, WM_COMMAND, IDOK, 0);
            ++boxesClosed;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool HasExtension(const std::wstring& name, const wchar_t* extension) {
    const size_t length = wcslen(extension);
    return name.size() >= length && _wcsicmp(name.c_str() + name.size() - length, extension) == 0;
}

std::vector<Input> ListCorpus(const std::wstring& folder) {
    std::vector<Input> inputs;
    WIN32_FIND_DATAW found;
    const UniqueFind search(FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!search) {
        return inputs;
    }
    do {
        const std::wstring name = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
            !HasExtension(name, NOTES_EXTENSION)) {
            inputs.push_back({name, folder + L"\\" + name, HasExtension(name, JPEG_EXTENSION)});
        }
    } while (FindNextFileW(search.Get(), &found));
    std::sort(inputs.begin(), inputs.end(),
              [](const Input& a, const Input& b) { return a.name < b.name; });
    return inputs;
}

// One input's lookups: the reader, an invocation without owner window, and the open file.
class LookupRunner {
  public:
    explicit LookupRunner(const OpenInput& input) : input_(input) {
        info_.cbSize = sizeof(info_);
        info_.hwnd = nullptr;
        info_.lpVerb = MAKEINTRESOURCEA(0);
    }

    // From offset 0, as on a freshly opened file. SetFilePointerEx is not counted.
    Status Once() {
        const LARGE_INTEGER start{};
        SetFilePointerEx(input_.file, start, nullptr, FILE_BEGIN);
        return input_.isJpeg ? reader_.ReadJpegPosition(input_.file, &info_)
                             : reader_.ReadTiffPosition(input_.file, &info_, 0, input_.length);
    }

    double Seconds(uint64_t repetitions) {
        LARGE_INTEGER frequency;
        LARGE_INTEGER from;
        LARGE_INTEGER to;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&from);
        for (uint64_t i = 0; i < repetitions; ++i) {
            Once();
        }
        QueryPerformanceCounter(&to);
        return static_cast<double>(to.QuadPart - from.QuadPart) /
               static_cast<double>(frequency.QuadPart);
    }

  private:
    CQuorielReader reader_;
    CMINVOKECOMMANDINFO info_{};
    OpenInput input_;
};

// Doubles the repetitions until a run is long enough to time, then scales them to one run.
uint64_t CalibrateRepetitions(LookupRunner& runner) {
    uint64_t repetitions = 1;
    double seconds = runner.Seconds(repetitions);
    while (seconds < CALIBRATION_SECONDS) {
        repetitions *= 2;
        seconds = runner.Seconds(repetitions);
    }
    const double scaled = static_cast<double>(repetitions) * RUN_SECONDS / seconds;
    return std::max<uint64_t>(1, static_cast<uint64_t>(scaled));
}

bool SameReads(const IoCounters& total, const IoCounters& one, uint64_t repetitions) {
    return total.reads == one.reads * repetitions &&
           total.bytesRead == one.bytesRead * repetitions &&
           total.seeks == one.seeks * repetitions &&
           total.positionQueries == one.positionQueries * repetitions;
}

// The first lookup, counted on its own: status, file calls, message boxes.
void MeasureFirstLookup(LookupRunner& runner, bool trace, Measurement* result) {
    ResetIoCounters();
    boxesClosed = 0;
    if (trace) {
        StartIoTrace();
    }
    result->status = runner.Once();
    if (trace) {
        result->trace = StopIoTrace();
    }
    result->io = CurrentIoCounters();
    result->boxes = boxesClosed;
}

void MeasureRate(LookupRunner& runner, Measurement* result) {
    result->repetitions = CalibrateRepetitions(runner);
    ResetIoCounters();
    double rates[TIMED_RUNS];
    for (double& rate : rates) {
        rate = static_cast<double>(result->repetitions) / runner.Seconds(result->repetitions);
    }
    std::sort(std::begin(rates), std::end(rates));
    result->slowest = rates[0];
    result->lookupsPerSecond = rates[TIMED_RUNS / 2];
    result->fastest = rates[TIMED_RUNS - 1];
    result->steady = SameReads(CurrentIoCounters(), result->io, result->repetitions * TIMED_RUNS);
}

const char* Outcome(Status status) {
    switch (status) {
        case RESULT_DONE:
            return "launched";
        case RESULT_NO_EXIF:
            return "no Exif";
        case RESULT_REPORTED:
            return "no position, box";
        case STATUS_NO_SETTINGS:
            return "position, no settings";
        default:
            return "failed";
    }
}

void PrintHeader() {
    std::printf("%-18s %-4s %9s %-10s %-21s %5s %6s %6s %5s %7s %5s %5s %6s %9s %s\n", "file",
                "kind", "size", "status", "outcome", "reads", "req B", "read B", "seeks", "queries",
                "sizes", "boxes", "reps", "lookups/s", "(slowest-fastest run)");
}

void PrintRow(const Input& input, uint64_t size, const Measurement& m) {
    const IoCounters& io = m.io;
    std::printf("%-18ls %-4s %9" PRIu64 " 0x%08lX %-21s %5" PRIu64 " %6" PRIu64 " %6" PRIu64
                " %5" PRIu64 " %7" PRIu64 " %5" PRIu64 " %5u %6" PRIu64 " %9.0f (%.0f-%.0f)%s\n",
                input.name.c_str(), input.isJpeg ? "JPEG" : "TIFF", size,
                static_cast<unsigned long>(m.status), Outcome(m.status), io.reads,
                io.bytesRequested, io.bytesRead, io.seeks, io.positionQueries, io.sizeQueries,
                m.boxes, m.repetitions, m.lookupsPerSecond, m.slowest, m.fastest,
                m.steady ? "" : "  (reads varied)");
    if (!m.trace.empty()) {
        std::printf("    calls:%s\n", m.trace.c_str());
    }
}

struct Run {
    bool ok = true;
    uint64_t smallRead = 0;
    uint64_t largeRead = 0;
    uint64_t smallSize = 0;
    uint64_t largeSize = 0;
};

// Measures one input and prints its row; false when it cannot be opened or no read was counted.
bool BenchInput(const Input& input, bool trace, Run* run) {
    UniqueFile file(CreateFileW(input.path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.Get(), &size)) {
        std::printf("%-18ls cannot be opened (error %lu)\n", input.name.c_str(), GetLastError());
        return false;
    }
    const OpenInput open{file.Get(), input.isJpeg, static_cast<uint32_t>(size.QuadPart)};
    LookupRunner runner(open);
    Measurement m;
    MeasureFirstLookup(runner, trace, &m);
    MeasureRate(runner, &m);
    const uint64_t bytes = static_cast<uint64_t>(size.QuadPart);
    PrintRow(input, bytes, m);
    if (input.name == SMALL_JPEG) {
        run->smallRead = m.io.bytesRead;
        run->smallSize = bytes;
    } else if (input.name == LARGE_JPEG) {
        run->largeRead = m.io.bytesRead;
        run->largeSize = bytes;
    }
    return m.io.reads > 0 && m.steady;
}

void PrintClaim(const Run& run) {
    std::printf("\nBytes read per lookup, same Exif block: %ls (%" PRIu64 " bytes) %" PRIu64
                ", %ls (%" PRIu64 " bytes) %" PRIu64 ": %s.\n",
                SMALL_JPEG, run.smallSize, run.smallRead, LARGE_JPEG, run.largeSize, run.largeRead,
                run.smallRead == run.largeRead ? "the same" : "DIFFERENT");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: position-bench.exe CORPUS_DIR GENERATED_DIR [--trace]\n");
        return 2;
    }
    const bool trace = argc > 3 && wcscmp(argv[3], TRACE_OPTION) == 0;
    if (!InstallIoCounters()) {
        std::fprintf(stderr, "the file calls cannot be counted: import slots not found\n");
        return 1;
    }
    const UniqueHook hook(
        SetWindowsHookExW(WH_CBT, CloseMessageBoxes, nullptr, GetCurrentThreadId()));
    if (!hook) {
        std::fprintf(stderr, "cannot hook message boxes (error %lu)\n", GetLastError());
        return 1;
    }

    std::vector<Input> inputs = ListCorpus(argv[1]);
    if (inputs.empty()) {
        std::fprintf(stderr, "no files in %ls\n", argv[1]);
        return 1;
    }
    const std::wstring generated = argv[2];
    for (const wchar_t* name : {SMALL_JPEG, LARGE_JPEG}) {
        inputs.push_back({name, generated + L"\\" + name, true});
    }

    std::printf(
        "Per lookup: ReadFile calls, bytes requested and read, SetFilePointer seeks and\n"
        "position queries, GetFileSize calls, message boxes; then lookups a second.\n\n");
    PrintHeader();
    Run run;
    for (const Input& input : inputs) {
        run.ok = BenchInput(input, trace, &run) && run.ok;
    }
    PrintClaim(run);
    return run.ok ? 0 : 1;
}
