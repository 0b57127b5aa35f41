#pragma once

#include <QtGlobal>
#include <optional>

namespace dorvanel::extractor {

// What one run of the program may take, as its command line gives them (the content extractor
// passes its own): --memory-bytes N --milliseconds N --document-bytes N.
struct Limits {
    qint64 memoryBytes = 512LL * 1024 * 1024;    // address space beyond what the started program holds
    int milliseconds = 20'000;                   // time for one document, once its bytes are in
    qint64 documentBytes = 256LL * 1024 * 1024;  // largest document it reads
};

// Empty when an argument is unknown or its value is not a positive number.
std::optional<Limits> parseLimits(int argc, char** argv);

// The limits of the whole run, set once Qt is loaded: the memory limit counts from there. The
// program writes no file and opens a few at most, and leaves no core behind.
void applyProcessLimits(const Limits& limits);

// One document's time: a timer on the clock and a CPU-time backstop, each of which ends the
// program (SIGALRM, SIGXCPU) when the parsers run past it.
void startDocumentClock(const Limits& limits);
void stopDocumentClock();

}  // namespace dorvanel::extractor
