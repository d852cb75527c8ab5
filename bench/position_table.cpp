#include <windows.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "bench/iat_counters.h"
#include "bench/position_table.h"
#include "bench/position_lookup.h"
#include "bench/timing.h"
#include "common/owners.h"

namespace {

// About a second a file, in timed runs of equal length; the median run is reported, so that a
// run disturbed by other work on the machine (Wine's own services start beside the program)
// does not decide the figure.
constexpr int TIMED_RUNS = 5;
constexpr double RUN_SECONDS = 0.2;

constexpr int NAME_WIDTH = 26;

struct FindTraits {
    using Value = HANDLE;
    static Value Empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Value search) noexcept { FindClose(search); }
};
using UniqueFind = Owner<FindTraits>;

// The images and videos of folder, by name; other files (the corpus's notes) are passed over.
std::vector<Input> ListImages(const std::wstring& folder) {
    std::vector<Input> inputs;
    WIN32_FIND_DATAW found;
    const UniqueFind search(FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!search) {
        return inputs;
    }
    do {
        const Input input = InputAt(folder + L"\\" + found.cFileName);
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
            input.kind != FileKind::NONE) {
            inputs.push_back(input);
        }
    } while (FindNextFileW(search.Get(), &found));
    std::sort(inputs.begin(), inputs.end(),
              [](const Input& a, const Input& b) { return a.name < b.name; });
    return inputs;
}

struct Measurement {
    FirstLookup first;
    uint64_t repetitions = 0;  // per timed run
    Spread rates;              // lookups a second of the timed runs
    bool steady = false;       // every timed lookup made the same reads as the first
};

Measurement Measure(Lookup& lookup, bool trace) {
    Measurement m;
    m.first = CountFirstLookup(lookup, trace);
    m.repetitions = CalibrateRepetitions(lookup, RUN_SECONDS);
    ResetIoCounters();
    std::vector<double> rates;
    for (int run = 0; run < TIMED_RUNS; ++run) {
        rates.push_back(RunRate(lookup, m.repetitions));
    }
    m.rates = SpreadOf(rates);
    m.steady = MadeSameReads(m.first.io, m.repetitions * TIMED_RUNS);
    return m;
}

void PrintHeader() {
    std::printf("%-*s %-5s %10s %-10s %-11s %5s %6s %6s %5s %7s %5s %6s %9s %s\n", NAME_WIDTH,
                "file", "kind", "size", "status", "outcome", "reads", "req B", "read B", "seeks",
                "queries", "sizes", "reps", "lookups/s", "(slowest-fastest run)");
}

void PrintRow(const Input& input, uint64_t size, const Measurement& m) {
    const IoCounters& io = m.first.io;
    std::printf("%-*ls %-5s %10" PRIu64 " 0x%08lX %-11s %5" PRIu64 " %6" PRIu64 " %6" PRIu64
                " %5" PRIu64 " %7" PRIu64 " %5" PRIu64 " %6" PRIu64 " %9.0f (%.0f-%.0f)%s\n",
                NAME_WIDTH, input.name.c_str(), KindName(input.kind), size,
                static_cast<unsigned long>(m.first.status), OutcomeOf(m.first.status), io.reads,
                io.bytesRequested, io.bytesRead, io.seeks, io.positionQueries, io.sizeQueries,
                m.repetitions, m.rates.median, m.rates.lowest, m.rates.highest,
                m.steady ? "" : "  (reads varied)");
    if (!m.first.trace.empty()) {
        std::printf("    calls:%s\n", m.first.trace.c_str());
    }
}

// The generated files that share one Exif block, movie box or raw metadata, whatever their
// size: exif-[LAYOUT-]SIZE.EXT, video-LAYOUT-SIZE.EXT and raw-SIZE.EXT; nullptr for any other.
const char* SharedRecordOf(const std::wstring& name) {
    for (const auto& [prefix, record] :
         {std::pair{L"exif-", "same Exif block"}, std::pair{L"video-", "same movie box"},
          std::pair{L"raw-", "same raw metadata"}}) {
        if (name.rfind(prefix, 0) == 0) {
            return record;
        }
    }
    return nullptr;
}

// Those of one layout and extension form a group: the name with its size part (behind the last
// '-', up to the extension) taken out, "exif-mdat-*.heic" for "exif-mdat-1MB.heic".
std::wstring GroupOf(const std::wstring& name) {
    const size_t dash = name.rfind(L'-');
    const size_t dot = name.rfind(L'.');
    return dash == std::wstring::npos || dot == std::wstring::npos || dot < dash
               ? name
               : name.substr(0, dash + 1) + L"*" + name.substr(dot);
}

// Each group's files with the bytes read per lookup, in the order their first files came.
using SameRecordGroups =
    std::vector<std::pair<std::wstring, std::vector<std::pair<std::wstring, uint64_t>>>>;

// Measures one input and prints its row; false when it cannot be opened or no read was counted.
bool BenchInput(const Input& input, bool trace, SameRecordGroups* groups) {
    uint64_t size = 0;
    const UniqueFile file = OpenForReading(input.path, &size);
    if (!file) {
        std::printf("%-*ls cannot be opened (error %lu)\n", NAME_WIDTH, input.name.c_str(),
                    GetLastError());
        return false;
    }
    Lookup lookup{input, file.Get(), {}, {}};
    const Measurement m = Measure(lookup, trace);
    PrintRow(input, size, m);
    if (SharedRecordOf(input.name) != nullptr) {
        const std::wstring group = GroupOf(input.name);
        auto found = std::find_if(groups->begin(), groups->end(),
                                  [&](const auto& known) { return known.first == group; });
        if (found == groups->end()) {
            found = groups->insert(groups->end(), {group, {}});
        }
        found->second.emplace_back(input.name, m.first.io.bytesRead);
    }
    return m.first.io.reads > 0 && m.steady;
}

void PrintClaims(const SameRecordGroups& groups) {
    if (!groups.empty()) {
        std::printf("\n");
    }
    for (const auto& [group, members] : groups) {
        std::printf("Bytes read per lookup, %s (%ls):", SharedRecordOf(group), group.c_str());
        bool same = true;
        for (const auto& [name, bytes] : members) {
            std::printf(" %ls %" PRIu64 ",", name.c_str(), bytes);
            same = same && bytes == members.front().second;
        }
        std::printf(" %s.\n", same ? "the same" : "DIFFERENT");
    }
}

}  // namespace

int RunTable(const std::vector<std::wstring>& folders, bool trace) {
    std::vector<Input> inputs;
    for (const std::wstring& folder : folders) {
        const std::vector<Input> images = ListImages(folder);
        if (images.empty()) {
            std::fprintf(stderr, "no images or videos in %ls\n", folder.c_str());
            return 1;
        }
        inputs.insert(inputs.end(), images.begin(), images.end());
    }

    std::printf(
        "Per lookup: ReadFile calls, bytes requested and read, SetFilePointer seeks and\n"
        "position queries, GetFileSize calls; then lookups a second.\n\n");
    PrintHeader();
    SameRecordGroups groups;
    bool ok = true;
    for (const Input& input : inputs) {
        ok = BenchInput(input, trace, &groups) && ok;
    }
    PrintClaims(groups);
    return ok ? 0 : 1;
}
