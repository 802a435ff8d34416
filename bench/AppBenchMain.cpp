// The main block of the benchmarks that need the application object: offscreen unless the caller
// chose a platform, the application made before the first benchmark and shut down after the last.
#include "Forms.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    TApplication::Create(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    TApplication::Shutdown();
    return 0;
}
