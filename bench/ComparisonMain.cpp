#include "BenchSupport.h"
#include "Comparisons.h"

#include <QCoreApplication>

// The Qt SQL drivers are plugins, which load only under an application object.
int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    dorvanel::bench::SilenceStatementLog();
    return dorvanel::bench::RunComparisons(argc, argv);
}
