#pragma once
// What every benchmark program shares: the peak memory figure and a main that runs
// the registered benchmarks inside a Qt application, off screen unless told otherwise.

#include <QByteArray>
#include <QtGlobal>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

inline double PeakRssMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// App is the Qt application class the measured code needs (QApplication, TApplication).
template <class App> int RunBenchmarksInApplication(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    App application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
