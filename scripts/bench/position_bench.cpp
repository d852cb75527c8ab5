// Measures the position readers on real files: the file calls of one lookup and the lookups a
// second. scripts/bench.sh prepares the Wine prefix (no launch settings, so a found position
// ends at the settings key) and the generated JPEGs.
//
// Usage: position-bench.exe CORPUS_DIR GENERATED_DIR [--trace]
//        position-bench.exe --tsv [--once] FILE...
// The first form reads from a file opened once and shows any message box. The second, which
// scripts/compare-readers.sh runs beside the peer readers, makes each lookup the whole command
// from the dropped path (open, read, close) with the settings key and the boxes stubbed out,
// and prints tab-separated values; --once makes one lookup a file and no timing, for strace.
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "common/owners.h"
#include "position/quoriel_reader.h"
#include "scripts/bench/command_stubs.h"
#include "scripts/bench/iat_counters.h"
#include "tests/support/drop_list.h"

namespace {

// About a second a file, in timed runs of equal length; the median run is reported, so that a
// run disturbed by other work on the machine (Wine's own services start beside the program)
// does not decide the figure.
constexpr int TIMED_RUNS = 5;
constexpr double RUN_SECONDS = 0.2;
constexpr double CALIBRATION_SECONDS = 0.05;
constexpr double WARM_UP_SECONDS = 1.0;
// The comparison goes round all the files several times, a short run of each file a round, so
// that a burst of other work on the machine falls on one run of a file and not on all of them.
constexpr int COMPARE_ROUNDS = 7;
constexpr double COMPARE_RUN_SECONDS = 0.1;
// Keeps a lookup too quick for the clock from dividing by zero.
constexpr double SHORTEST_LOOKUP_SECONDS = 1e-6;

// The generated JPEGs that share one Exif block, whatever their size.
constexpr const wchar_t* SAME_EXIF_PREFIX = L"exif-";
constexpr const wchar_t* JPEG_EXTENSIONS[] = {L".jpg", L".jpeg", L".jpe", L".jfif"};
constexpr const wchar_t* TIFF_EXTENSIONS[] = {L".tif", L".tiff"};
constexpr const wchar_t* TRACE_OPTION = L"--trace";
constexpr const wchar_t* TSV_OPTION = L"--tsv";
constexpr const wchar_t* ONCE_OPTION = L"--once";
constexpr const wchar_t* DIALOG_CLASS = L"#32770";
constexpr int CLASS_NAME_ROOM = 16;

constexpr Status STATUS_NO_SETTINGS = HResultFromWin32(ERROR_FILE_NOT_FOUND);

enum class Kind { JPEG, TIFF, OTHER };

struct Input {
    std::wstring name;
    std::wstring path;
    Kind kind;
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
    CommandStubCounters stubs;    // of one lookup, when the command runs with its stubs
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

template <size_t N>
bool HasAnyExtension(const std::wstring& name, const wchar_t* const (&extensions)[N]) {
    return std::any_of(std::begin(extensions), std::end(extensions),
                       [&](const wchar_t* extension) { return HasExtension(name, extension); });
}

// By extension, as the registry of a fresh prefix would say.
Kind KindOf(const std::wstring& name) {
    if (HasAnyExtension(name, JPEG_EXTENSIONS)) {
        return Kind::JPEG;
    }
    return HasAnyExtension(name, TIFF_EXTENSIONS) ? Kind::TIFF : Kind::OTHER;
}

std::wstring FileName(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// The images of folder, by name; other files (the corpus's notes, say) are passed over.
std::vector<Input> ListImages(const std::wstring& folder) {
    std::vector<Input> inputs;
    WIN32_FIND_DATAW found;
    const UniqueFind search(FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!search) {
        return inputs;
    }
    do {
        const std::wstring name = found.cFileName;
        const Kind kind = KindOf(name);
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && kind != Kind::OTHER) {
            inputs.push_back({name, folder + L"\\" + name, kind});
        }
    } while (FindNextFileW(search.Get(), &found));
    std::sort(inputs.begin(), inputs.end(),
              [](const Input& a, const Input& b) { return a.name < b.name; });
    return inputs;
}

// One input's lookups, timed: the reader and an invocation without owner window.
class Runner {
  public:
    Runner() {
        info_.cbSize = sizeof(info_);
        info_.hwnd = nullptr;
        info_.lpVerb = MAKEINTRESOURCEA(0);
    }
    virtual ~Runner() = default;
    Runner(const Runner&) = delete;
    Runner& operator=(const Runner&) = delete;

    virtual Status Once() = 0;

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

  protected:
    CQuorielReader reader_;
    CMINVOKECOMMANDINFO info_{};
};

// The reader on a file opened once.
class LookupRunner final : public Runner {
  public:
    explicit LookupRunner(const OpenInput& input) : input_(input) {}

    // From offset 0, as on a freshly opened file. SetFilePointerEx is not counted.
    Status Once() override {
        const LARGE_INTEGER start{};
        SetFilePointerEx(input_.file, start, nullptr, FILE_BEGIN);
        return input_.isJpeg ? reader_.ReadJpegPosition(input_.file, &info_)
                             : reader_.ReadTiffPosition(input_.file, &info_, 0, input_.length);
    }

  private:
    OpenInput input_;
};

// The whole command, from the dropped path: open, read, close, as a peer reader does.
class CommandRunner final : public Runner {
  public:
    CommandRunner(const std::wstring& path, bool isJpeg)
        : drop_(MakeDropList({path})), isJpeg_(isJpeg) {}

    Status Once() override {
        return reader_.RunPositionCommand(&info_, static_cast<HDROP>(drop_.Get()), isJpeg_);
    }

  private:
    UniqueGlobal drop_;
    bool isJpeg_;
};

// Doubles the repetitions until a run is long enough to time, then scales them to one run.
uint64_t CalibrateRepetitions(Runner& runner, double runSeconds = RUN_SECONDS) {
    uint64_t repetitions = 1;
    double seconds = runner.Seconds(repetitions);
    while (seconds < CALIBRATION_SECONDS) {
        repetitions *= 2;
        seconds = runner.Seconds(repetitions);
    }
    const double scaled = static_cast<double>(repetitions) * runSeconds / seconds;
    return std::max<uint64_t>(1, static_cast<uint64_t>(scaled));
}

bool SameReads(const IoCounters& total, const IoCounters& one, uint64_t repetitions) {
    return total.reads == one.reads * repetitions &&
           total.bytesRead == one.bytesRead * repetitions &&
           total.seeks == one.seeks * repetitions &&
           total.positionQueries == one.positionQueries * repetitions;
}

// The first lookup, counted on its own: status, file calls, message boxes.
void MeasureFirstLookup(Runner& runner, bool trace, Measurement* result) {
    ResetIoCounters();
    ResetCommandStubCounters();
    boxesClosed = 0;
    if (trace) {
        StartIoTrace();
    }
    result->status = runner.Once();
    if (trace) {
        result->trace = StopIoTrace();
    }
    result->io = CurrentIoCounters();
    result->stubs = CurrentCommandStubCounters();
    result->boxes = boxesClosed;
}

void MeasureRate(Runner& runner, Measurement* result) {
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
                input.name.c_str(), input.kind == Kind::JPEG ? "JPEG" : "TIFF", size,
                static_cast<unsigned long>(m.status), Outcome(m.status), io.reads,
                io.bytesRequested, io.bytesRead, io.seeks, io.positionQueries, io.sizeQueries,
                m.boxes, m.repetitions, m.lookupsPerSecond, m.slowest, m.fastest,
                m.steady ? "" : "  (reads varied)");
    if (!m.trace.empty()) {
        std::printf("    calls:%s\n", m.trace.c_str());
    }
}

// Bytes read per lookup of the generated JPEGs that share one Exif block.
struct Run {
    bool ok = true;
    std::vector<std::pair<std::wstring, uint64_t>> sameExif;
};

UniqueFile OpenForReading(const std::wstring& path, uint64_t* size) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                0, nullptr));
    LARGE_INTEGER bytes{};
    if (file && !GetFileSizeEx(file.Get(), &bytes)) {
        file.Reset();
    }
    *size = static_cast<uint64_t>(bytes.QuadPart);
    return file;
}

// Measures one input and prints its row; false when it cannot be opened or no read was counted.
bool BenchInput(const Input& input, bool trace, Run* run) {
    uint64_t size = 0;
    const UniqueFile file = OpenForReading(input.path, &size);
    if (!file) {
        std::printf("%-18ls cannot be opened (error %lu)\n", input.name.c_str(), GetLastError());
        return false;
    }
    const OpenInput open{file.Get(), input.kind == Kind::JPEG, static_cast<uint32_t>(size)};
    LookupRunner runner(open);
    Measurement m;
    MeasureFirstLookup(runner, trace, &m);
    MeasureRate(runner, &m);
    PrintRow(input, size, m);
    if (input.name.rfind(SAME_EXIF_PREFIX, 0) == 0) {
        run->sameExif.emplace_back(input.name, m.io.bytesRead);
    }
    return m.io.reads > 0 && m.steady;
}

void PrintClaim(const Run& run) {
    if (run.sameExif.empty()) {
        return;
    }
    std::printf("\nBytes read per lookup, same Exif block:");
    bool same = true;
    for (const auto& [name, bytes] : run.sameExif) {
        std::printf(" %ls %" PRIu64 ",", name.c_str(), bytes);
        same = same && bytes == run.sameExif.front().second;
    }
    std::printf(" %s.\n", same ? "the same" : "DIFFERENT");
}

// What the stubs saw the command do after its reading.
const char* CommandOutcome(const Measurement& m) {
    const CommandStubCounters& stubs = m.stubs;
    if (m.status == STATUS_NO_SETTINGS && stubs.settingsOpens == 1) {
        return "position";
    }
    if (stubs.noPositionBoxes == 1) {
        return "no-position";
    }
    return stubs.noExifBoxes == 1 ? "no-exif" : "failed";
}

void PrintTsvHeader() {
    std::printf(
        "file\tsize\tkind\toutcome\tstatus\treads\tbytes_requested\tbytes_read\tseeks\t"
        "position_queries\tsize_queries\trepetitions\tlookups_per_s\tslowest_per_s\t"
        "fastest_per_s\tsteady\treader_lookups_per_s\n");
}

// One file of the comparison: the command from its path, and the reader alone on the file
// opened once, which shows how much of a lookup the open and close take.
struct Subject {
    Input input;
    uint64_t size = 0;
    UniqueFile file;
    std::unique_ptr<CommandRunner> command;
    std::unique_ptr<LookupRunner> reader;
    Measurement m;  // the command's
    uint64_t readerRepetitions = 0;
    std::vector<double> commandRates;
    std::vector<double> readerRates;
};

double RunRate(Runner& runner, uint64_t repetitions) {
    return static_cast<double>(repetitions) / runner.Seconds(repetitions);
}

double MedianOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// One timed run of the command, checked to have made the first lookup's reads every time.
void TimeCommandRun(Subject* subject) {
    Measurement& m = subject->m;
    ResetIoCounters();
    subject->commandRates.push_back(RunRate(*subject->command, m.repetitions));
    m.steady = m.steady && SameReads(CurrentIoCounters(), m.io, m.repetitions);
}

void TimeRounds(std::vector<Subject>& subjects) {
    for (Subject& subject : subjects) {
        subject.m.repetitions = CalibrateRepetitions(*subject.command, COMPARE_RUN_SECONDS);
        subject.readerRepetitions = CalibrateRepetitions(*subject.reader, COMPARE_RUN_SECONDS);
        subject.m.steady = true;
    }
    for (int round = 0; round < COMPARE_ROUNDS; ++round) {
        for (Subject& subject : subjects) {
            TimeCommandRun(&subject);
            subject.readerRates.push_back(RunRate(*subject.reader, subject.readerRepetitions));
        }
    }
    for (Subject& subject : subjects) {
        const auto [slowest, fastest] =
            std::minmax_element(subject.commandRates.begin(), subject.commandRates.end());
        subject.m.slowest = *slowest;
        subject.m.fastest = *fastest;
        subject.m.lookupsPerSecond = MedianOf(subject.commandRates);
    }
}

void PrintTsvRow(const Subject& subject) {
    const Measurement& m = subject.m;
    const IoCounters& io = m.io;
    const double readerRate = subject.readerRates.empty() ? 0 : MedianOf(subject.readerRates);
    std::printf("%ls\t%" PRIu64 "\t%s\t%s\t0x%08lX\t%" PRIu64 "\t%" PRIu64 "\t%" PRIu64 "\t%" PRIu64
                "\t%" PRIu64 "\t%" PRIu64 "\t%" PRIu64 "\t%.1f\t%.1f\t%.1f\t%d\t%.1f\n",
                subject.input.name.c_str(), subject.size,
                subject.input.kind == Kind::JPEG ? "JPEG" : "TIFF", CommandOutcome(m),
                static_cast<unsigned long>(m.status), io.reads, io.bytesRequested, io.bytesRead,
                io.seeks, io.positionQueries, io.sizeQueries, m.repetitions, m.lookupsPerSecond,
                m.slowest, m.fastest, m.steady ? 1 : 0, readerRate);
}

// Wine starts its own services beside the first program of a session; they would slow the
// first file's runs down.
void WarmUp(Runner& runner) {
    const double perLookup = runner.Seconds(1);
    runner.Seconds(
        static_cast<uint64_t>(WARM_UP_SECONDS / std::max(perLookup, SHORTEST_LOOKUP_SECONDS)) + 1);
}

// Opens each file and counts the command's first lookup of it; false when a file is not an
// image or cannot be opened.
bool PrepareSubjects(int count, wchar_t** paths, std::vector<Subject>* subjects) {
    subjects->resize(count);
    for (int i = 0; i < count; ++i) {
        Subject& subject = (*subjects)[i];
        subject.input = Input{FileName(paths[i]), paths[i], KindOf(paths[i])};
        const bool isJpeg = subject.input.kind == Kind::JPEG;
        subject.file = OpenForReading(subject.input.path, &subject.size);
        if (subject.input.kind == Kind::OTHER || !subject.file) {
            std::fprintf(stderr, "%ls: not an image, or cannot be opened\n", paths[i]);
            return false;
        }
        subject.command = std::make_unique<CommandRunner>(subject.input.path, isJpeg);
        subject.reader = std::make_unique<LookupRunner>(
            OpenInput{subject.file.Get(), isJpeg, static_cast<uint32_t>(subject.size)});
        MeasureFirstLookup(*subject.command, false, &subject.m);
    }
    return true;
}

// The command on each file, with one row of values per file. once: one lookup, no timing.
int CompareCommand(int count, wchar_t** paths, bool once) {
    if (!InstallCommandStubs()) {
        std::fprintf(stderr, "the settings key and the boxes cannot be stubbed\n");
        return 1;
    }
    std::vector<Subject> subjects;
    if (count == 0 || !PrepareSubjects(count, paths, &subjects)) {
        return 1;
    }
    if (!once) {
        WarmUp(*subjects.front().command);
        TimeRounds(subjects);
    }
    PrintTsvHeader();
    bool ok = true;
    for (const Subject& subject : subjects) {
        PrintTsvRow(subject);
        ok = ok && subject.m.io.reads > 0 && (once || subject.m.steady);
    }
    return ok ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (!InstallIoCounters()) {
        std::fprintf(stderr, "the file calls cannot be counted: import slots not found\n");
        return 1;
    }
    if (argc > 1 && wcscmp(argv[1], TSV_OPTION) == 0) {
        const bool once = argc > 2 && wcscmp(argv[2], ONCE_OPTION) == 0;
        const int first = once ? 3 : 2;
        return CompareCommand(argc - first, argv + first, once);
    }
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: position-bench.exe CORPUS_DIR GENERATED_DIR [--trace]\n"
                     "       position-bench.exe --tsv [--once] FILE...\n");
        return 2;
    }
    const bool trace = argc > 3 && wcscmp(argv[3], TRACE_OPTION) == 0;
    const UniqueHook hook(
        SetWindowsHookExW(WH_CBT, CloseMessageBoxes, nullptr, GetCurrentThreadId()));
    if (!hook) {
        std::fprintf(stderr, "cannot hook message boxes (error %lu)\n", GetLastError());
        return 1;
    }

    std::vector<Input> inputs = ListImages(argv[1]);
    const std::vector<Input> generated = ListImages(argv[2]);
    if (inputs.empty() || generated.empty()) {
        std::fprintf(stderr, "no images in %ls or %ls\n", argv[1], argv[2]);
        return 1;
    }
    inputs.insert(inputs.end(), generated.begin(), generated.end());

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
