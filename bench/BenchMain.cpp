// The benchmarks' entry: a headless Qt application (widgets paint offscreen) with the program's
// resources and a settings store of its own, then the runs.
#include "res/Resources.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    RegisterResources();
    // The views keep their column widths: in a store of the run's own, never the user's.
    QTemporaryDir settings;
    qputenv("REELMIX_REGISTRY", settings.filePath("registry.db").toUtf8());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
