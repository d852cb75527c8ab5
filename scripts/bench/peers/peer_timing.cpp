#include "peer_timing.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// As position-bench compares: several rounds over all the files, a run of about 0.1 s of each
// file a round after a calibration, the median run reported.
constexpr int ROUNDS = 7;
constexpr double RUN_SECONDS = 0.1;
constexpr double CALIBRATION_SECONDS = 0.05;
constexpr const char* ONCE_OPTION = "--once";

double Seconds(Lookup lookup, const char* path, uint64_t repetitions) {
    const auto from = std::chrono::steady_clock::now();
    Position position;
    for (uint64_t i = 0; i < repetitions; ++i) {
        lookup(path, &position);
    }
    const std::chrono::duration<double> taken = std::chrono::steady_clock::now() - from;
    return taken.count();
}

uint64_t CalibrateRepetitions(Lookup lookup, const char* path) {
    uint64_t repetitions = 1;
    double seconds = Seconds(lookup, path, repetitions);
    while (seconds < CALIBRATION_SECONDS) {
        repetitions *= 2;
        seconds = Seconds(lookup, path, repetitions);
    }
    const double scaled = static_cast<double>(repetitions) * RUN_SECONDS / seconds;
    return std::max<uint64_t>(1, static_cast<uint64_t>(scaled));
}

struct Subject {
    const char* path = nullptr;
    long long size = 0;
    bool found = false;
    Position position;
    uint64_t repetitions = 0;
    std::vector<double> rates;
};

void TimeRounds(Lookup lookup, std::vector<Subject>& subjects) {
    for (Subject& subject : subjects) {
        subject.repetitions = CalibrateRepetitions(lookup, subject.path);
    }
    for (int round = 0; round < ROUNDS; ++round) {
        for (Subject& subject : subjects) {
            subject.rates.push_back(static_cast<double>(subject.repetitions) /
                                    Seconds(lookup, subject.path, subject.repetitions));
        }
    }
    for (Subject& subject : subjects) {
        std::sort(subject.rates.begin(), subject.rates.end());
    }
}

const char* FileName(const char* path) {
    const char* slash = std::strrchr(path, '/');
    return slash != nullptr ? slash + 1 : path;
}

void PrintRow(const Subject& subject) {
    const std::vector<double>& rates = subject.rates;
    const bool timed = !rates.empty();
    std::printf("%s\t%lld\t%d\t%.7f\t%.7f\t%llu\t%.1f\t%.1f\t%.1f\n", FileName(subject.path),
                subject.size, subject.found ? 1 : 0, subject.position.latitude,
                subject.position.longitude, static_cast<unsigned long long>(subject.repetitions),
                timed ? rates[rates.size() / 2] : 0, timed ? rates.front() : 0,
                timed ? rates.back() : 0);
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
