// Measures the position reading on real files: the file calls of one lookup and the lookups a
// second. Usage: position-bench.exe FOLDER... [--trace]   (the table, position_table.cpp)
//                position-bench.exe --tsv [--once] FILE...
// The second, for bench.sh compare, times the command's reading from the path (open, read,
// close, as a peer does) beside the reader alone on the file opened once; --once makes one
// lookup a file and no timing, for strace.
#include <windows.h>

#include <cinttypes>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bench/iat_counters.h"
#include "bench/position_lookup.h"
#include "bench/position_table.h"
#include "bench/timing.h"
#include "common/owners.h"

namespace {

constexpr double WARM_UP_SECONDS = 1.0;

constexpr const wchar_t* TRACE_OPTION = L"--trace";
constexpr const wchar_t* TSV_OPTION = L"--tsv";
constexpr const wchar_t* ONCE_OPTION = L"--once";

struct Subject {
    uint64_t size = 0;
    UniqueFile file;
    Lookup command;     // from the path
    Lookup reader;      // on the file opened once
    FirstLookup first;  // the command's
    uint64_t commandRepetitions = 0;
    uint64_t readerRepetitions = 0;
    bool steady = true;  // every timed lookup of the command made the first one's reads
    std::vector<double> commandRates;
    std::vector<double> readerRates;
};

// Opens each file and counts the command's first lookup of it; false when a file is not an
// image or cannot be opened.
bool PrepareSubjects(int count, wchar_t** paths, std::vector<Subject>* subjects) {
    subjects->resize(count);
    for (int i = 0; i < count; ++i) {
        Subject& subject = (*subjects)[i];
        subject.command.input = subject.reader.input = InputAt(paths[i]);
        subject.file = OpenForReading(paths[i], &subject.size);
        if (subject.command.input.kind == FileKind::NONE || !subject.file) {
            std::fprintf(stderr, "%ls: not an image, or cannot be opened\n", paths[i]);
            return false;
        }
        subject.reader.file = subject.file.Get();
        subject.first = CountFirstLookup(subject.command, false);
    }
    return true;
}

void TimeRounds(std::vector<Subject>& subjects) {
    for (Subject& subject : subjects) {
        subject.commandRepetitions = CalibrateRepetitions(subject.command, COMPARISON_RUN_SECONDS);
        subject.readerRepetitions = CalibrateRepetitions(subject.reader, COMPARISON_RUN_SECONDS);
    }
    for (int round = 0; round < COMPARISON_ROUNDS; ++round) {
        for (Subject& subject : subjects) {
            ResetIoCounters();
            subject.commandRates.push_back(RunRate(subject.command, subject.commandRepetitions));
            subject.steady =
                subject.steady && MadeSameReads(subject.first.io, subject.commandRepetitions);
            subject.readerRates.push_back(RunRate(subject.reader, subject.readerRepetitions));
        }
    }
}

void PrintHeader() {
    std::printf(
        "file\tsize\tkind\toutcome\tstatus\treads\tbytes_requested\tbytes_read\tseeks\t"
        "position_queries\tsize_queries\trepetitions\tlookups_per_s\tslowest_per_s\t"
        "fastest_per_s\tsteady\treader_lookups_per_s\n");
}

void PrintRow(const Subject& subject) {
    const IoCounters& io = subject.first.io;
    const Spread command = SpreadOf(subject.commandRates);
    const Spread reader = SpreadOf(subject.readerRates);
    std::printf("%ls\t%" PRIu64 "\t%s\t%s\t0x%08lX\t%" PRIu64 "\t%" PRIu64 "\t%" PRIu64 "\t%" PRIu64
                "\t%" PRIu64 "\t%" PRIu64 "\t%" PRIu64 "\t%.1f\t%.1f\t%.1f\t%d\t%.1f\n",
                subject.command.input.name.c_str(), subject.size,
                KindName(subject.command.input.kind), OutcomeOf(subject.first.status),
                static_cast<unsigned long>(subject.first.status), io.reads, io.bytesRequested,
                io.bytesRead, io.seeks, io.positionQueries, io.sizeQueries,
                subject.commandRepetitions, command.median, command.lowest, command.highest,
                subject.steady ? 1 : 0, reader.median);
}

int RunComparison(int count, wchar_t** paths, bool once) {
    std::vector<Subject> subjects;
    if (count <= 0 || !PrepareSubjects(count, paths, &subjects)) {
        return 1;
    }
    if (!once) {
        WarmUp(subjects.front().command, WARM_UP_SECONDS);
        TimeRounds(subjects);
    }
    PrintHeader();
    bool ok = true;
    for (const Subject& subject : subjects) {
        PrintRow(subject);
        ok = ok && subject.first.io.reads > 0 && subject.steady;
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
        return RunComparison(argc - first, argv + first, once);
    }
    std::vector<std::wstring> folders;
    bool trace = false;
    for (int i = 1; i < argc; ++i) {
        if (wcscmp(argv[i], TRACE_OPTION) == 0) {
            trace = true;
        } else {
            folders.emplace_back(argv[i]);
        }
    }
    if (folders.empty()) {
        std::fprintf(stderr,
                     "usage: position-bench.exe FOLDER... [--trace]\n"
                     "       position-bench.exe --tsv [--once] FILE...\n");
        return 2;
    }
    return RunTable(folders, trace);
}
