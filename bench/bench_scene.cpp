// Scene loading and script dispatch costs.
#include <benchmark/benchmark.h>

#include "engine/Engine.h"
#include "platform/audio/SoftwareSoundLibrary.h"

static void BM_DispatchStatements(benchmark::State& state) {
    qa::platform::audio::SoftwareSoundLibrary silent(qa::platform::audio::OutputKind::Pull);
    qa::engine::Engine engine(silent);
    engine.registerCommands();
    for (auto _ : state) {
        engine.scripts.runScript("Hide a;Hide b;Change c x +1;Unknown d");
    }
}
BENCHMARK(BM_DispatchStatements);

BENCHMARK_MAIN();
