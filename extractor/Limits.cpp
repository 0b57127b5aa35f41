#include "Limits.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <pthread.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <unistd.h>

namespace dorvanel::extractor {

namespace {

// Enough for the standard files, Qt's own and the fonts and plugins a parser may open.
constexpr rlim_t MaxOpenFiles = 32;
// Qt's image code spreads large pictures over a few threads; this stack is plenty for them.
constexpr size_t ThreadStackBytes = 1024 * 1024;

std::optional<qint64> positiveNumber(const char* text) {
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || value <= 0) return std::nullopt;
    return value;
}

void setLimit(int resource, rlim_t soft, rlim_t hard) {
    const rlimit limit{soft, hard};
    if (setrlimit(resource, &limit) != 0) std::perror("dorvanel-extract: setrlimit");
}

// The program's address space now, from /proc/self/statm (its first figure, in pages).
rlim_t addressSpace() {
    unsigned long pages = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%lu", &pages) != 1) pages = 0;
        std::fclose(statm);
    }
    return rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE));
}

rlim_t cpuSecondsUsed() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return rlim_t(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + 1);
}

// The memory limit counts address space, which threads take far more of than they use: each
// its stack (8 MiB by default) and its own heap arena (64 MiB reserved). Threads that could not
// start for want of it would leave Qt's image code waiting for them, so they get small stacks
// and share the one heap.
void keepThreadsSmall() {
    mallopt(M_ARENA_MAX, 1);
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, ThreadStackBytes);
    pthread_setattr_default_np(&attributes);
    pthread_attr_destroy(&attributes);
}

void setTimer(int milliseconds) {
    itimerval timer{};
    timer.it_value.tv_sec = milliseconds / 1000;
    timer.it_value.tv_usec = (milliseconds % 1000) * 1000;
    setitimer(ITIMER_REAL, &timer, nullptr);
}

}  // namespace

std::optional<Limits> parseLimits(int argc, char** argv) {
    Limits limits;
    for (int i = 1; i < argc; i += 2) {
        if (i + 1 >= argc) return std::nullopt;
        const auto value = positiveNumber(argv[i + 1]);
        if (!value) return std::nullopt;
        if (std::strcmp(argv[i], "--memory-bytes") == 0) limits.memoryBytes = *value;
        else if (std::strcmp(argv[i], "--milliseconds") == 0 && *value <= 24 * 3600 * 1000)
            limits.milliseconds = int(*value);
        else if (std::strcmp(argv[i], "--document-bytes") == 0) limits.documentBytes = *value;
        else return std::nullopt;
    }
    return limits;
}

void applyProcessLimits(const Limits& limits) {
    keepThreadsSmall();
    const rlim_t memory = addressSpace() + rlim_t(limits.memoryBytes);
    setLimit(RLIMIT_AS, memory, memory);
    // Writing past the file size limit fails with EFBIG instead of ending the program, so that a
    // library that tries to keep a cache file (fontconfig) goes on without it.
    std::signal(SIGXFSZ, SIG_IGN);
    setLimit(RLIMIT_FSIZE, 0, 0);
    setLimit(RLIMIT_NOFILE, MaxOpenFiles, MaxOpenFiles);
    setLimit(RLIMIT_CORE, 0, 0);
}

void startDocumentClock(const Limits& limits) {
    setTimer(limits.milliseconds);
    // Only the soft limit moves with each document; it may be raised again for the next one.
    rlimit cpu{};
    getrlimit(RLIMIT_CPU, &cpu);
    const rlim_t seconds = cpuSecondsUsed() + rlim_t(limits.milliseconds / 1000 + 1);
    setLimit(RLIMIT_CPU, cpu.rlim_max == RLIM_INFINITY ? seconds : qMin(seconds, cpu.rlim_max), cpu.rlim_max);
}

void stopDocumentClock() { setTimer(0); }

}  // namespace dorvanel::extractor
