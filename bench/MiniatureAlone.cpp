// One photograph's miniature alone in its process, for the process's peak memory (bench/run
// reads it with /usr/bin/time -v):
//
//   dorvanel_bench_miniature_alone write FILE   writes the 6000 x 4000 photograph
//   dorvanel_bench_miniature_alone make FILE    makes its miniature
//   dorvanel_bench_miniature_alone empty FILE   does all that make does but the miniature
//
// make and empty print "<case> seconds=<time of the miniature alone>".

#include "BenchSupport.h"
#include "Photograph.h"

#include "component/Globals.h"
#include "dialogs/MakeMiniature.h"
#include "dialogs/PictureSurface.h"
#include "host/DefaultOskel.h"

#include <QCoreApplication>
#include <QFile>
#include <chrono>
#include <cstdio>
#include <cstring>

using namespace dorvanel;
using namespace dorvanel::bench;

namespace {

double secondsToMake(const QString& photograph, bool makesIt) {
    gOskel = std::make_shared<DefaultOskel>();
    PictureSurface surface(1800, 1400);
    Require(QFile::exists(photograph), "no photograph: run with write first");
    const auto start = std::chrono::steady_clock::now();
    if (makesIt) Require(MakeMiniature(photograph, surface) != QString(), "no miniature was made");
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

int usage() {
    std::fprintf(stderr, "usage: dorvanel_bench_miniature_alone write|make|empty FILE\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (argc != 3) return usage();
    const char* mode = argv[1];
    const QString photograph = QString::fromLocal8Bit(argv[2]);
    try {
        if (std::strcmp(mode, "write") == 0) {
            WritePhotograph(photograph);
            return 0;
        }
        if (std::strcmp(mode, "make") != 0 && std::strcmp(mode, "empty") != 0) return usage();
        std::printf("%s seconds=%.6f\n", mode, secondsToMake(photograph, std::strcmp(mode, "make") == 0));
        return 0;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "%s failed: %s\n", mode, failure.what());
        return 1;
    }
}
