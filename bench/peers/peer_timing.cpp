#include "peer_timing.h"

#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "bench/timing.h"

namespace {

constexpr const char* ONCE_OPTION = "--once";

struct Subject {
    const char* path = nullptr;
    long long size = 0;
    bool found = false;
    Position position;
    uint64_t repetitions = 0;
    std::vector<double> rates;
};

void TimeRounds(Lookup lookup, std::vector<Subject>& subjects) {
    Position position;
    for (Subject& subject : subjects) {
        subject.repetitions =
            CalibrateRepetitions([&] { lookup(subject.path, &position); }, COMPARISON_RUN_SECONDS);
    }
    for (int round = 0; round < COMPARISON_ROUNDS; ++round) {
        for (Subject& subject : subjects) {
            subject.rates.push_back(
                RunRate([&] { lookup(subject.path, &position); }, subject.repetitions));
        }
    }
}

const char* FileName(const char* path) {
    const char* slash = std::strrchr(path, '/');
    return slash != nullptr ? slash + 1 : path;
}

void PrintRow(const Subject& subject) {
    const Spread rates = SpreadOf(subject.rates);
    std::printf("%s\t%lld\t%d\t%.7f\t%.7f\t%llu\t%.1f\t%.1f\t%.1f\n", FileName(subject.path),
                subject.size, subject.found ? 1 : 0, subject.position.latitude,
                subject.position.longitude, static_cast<unsigned long long>(subject.repetitions),
                rates.median, rates.lowest, rates.highest);
}

}  // namespace

int RunPeer(int argc, char** argv, Lookup lookup) {
    const bool once = argc > 1 && std::strcmp(argv[1], ONCE_OPTION) == 0;
    const int first = once ? 2 : 1;
    if (argc <= first) {
        std::fprintf(stderr, "usage: %s [--once] FILE...\n", argv[0]);
        return 2;
    }
    std::vector<Subject> subjects(argc - first);
    for (int i = first; i < argc; ++i) {
        Subject& subject = subjects[i - first];
        struct stat status;
        if (stat(argv[i], &status) != 0) {
            std::fprintf(stderr, "%s cannot be read\n", argv[i]);
            return 1;
        }
        subject.path = argv[i];
        subject.size = static_cast<long long>(status.st_size);
        subject.found = lookup(argv[i], &subject.position);
    }
    if (!once) {
        TimeRounds(lookup, subjects);
    }
    std::printf(
        "file\tsize\tfound\tlatitude\tlongitude\trepetitions\tlookups_per_s\tslowest_per_s\t"
        "fastest_per_s\n");
    for (const Subject& subject : subjects) {
        PrintRow(subject);
    }
    return 0;
}
