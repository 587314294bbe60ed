// Scene loading and script dispatch costs.
#include <benchmark/benchmark.h>

#include "scene/ImageItem.h"
#include "scene/SceneState.h"
#include "script/CommandTable.h"
#include "script/Commands.h"
#include "script/ScriptRunner.h"

static void BM_DispatchStatements(benchmark::State& state) {
    qa::script::commandTable().clear();
    qa::script::Commands::registerAll();
    for (auto _ : state) {
        qa::script::ScriptRunner::runScript("Hide a;Hide b;Change c x +1;Unknown d");
    }
}
BENCHMARK(BM_DispatchStatements);

BENCHMARK_MAIN();
